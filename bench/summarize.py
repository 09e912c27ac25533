#!/usr/bin/env python3
"""Turns the JSON output of tamrel_bench (--benchmark_out) into one markdown table: Tamrel beside
SQLite FTS5 for the build, the loaders and the queries of each corpus, with the ratio and the goal.

  summarize.py RESULTS.json [--goal-corpus syn1M] [--goal-corpus syn10M]

Goals: the build at least 5x faster than FTS5's (every corpus); resident memory after loading at
most 3x the word table on disk (every corpus); on each goal corpus (by default the 1,000,000- and
the 10,000,000-group ones) both tables loaded in under its load limit (1 s, 0.3 s), and for every
query kind p50 at least 5x faster than FTS5 and p95 under 5 ms; on syn10M also the build under
60 s with a peak under 1.5 GB.
"""

import argparse
import json
import sys

KINDS = [("en1", "one English word"), ("en2", "two English words"),
         ("zh1", "one Chinese word"), ("zhN", "several Chinese words")]
# Load limit (ms) of each goal corpus, and its build limits (ms, MB) where it has them.
LOAD_MS = {"syn1M": 1000, "syn10M": 300}
BUILD_LIMITS = {"syn10M": (60000, 1536)}
UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs = {}
    for b in data["benchmarks"]:
        if b.get("run_type", "iteration") != "iteration":
            continue
        parts = b["name"].split("/")
        key = tuple(p for p in parts if ":" not in p and p not in ("real_time", "manual_time"))
        b["time_ms"] = b["real_time"] * UNIT_MS[b.get("time_unit", "ns")]
        runs[key] = b
    return data.get("context", {}), runs


def build_ms(run):
    """The median build time of a run when it has one, else its mean."""
    if run is None:
        return None
    if run.get("median_seconds") is not None:
        return run["median_seconds"] * 1e3
    return run["time_ms"]


def ms(x):
    if x is None:
        return "–"
    if x >= 1000:
        return f"{x / 1000:.2f} s"
    if x >= 10:
        return f"{x:.0f} ms"
    if x >= 1:
        return f"{x:.2f} ms"
    return f"{x:.3f} ms"


def mb(x):
    return "–" if x is None else f"{x:.1f} MB"


def ratio(rival, ours):
    if rival is None or ours is None or ours <= 0:
        return None
    return rival / ours


def fmt_ratio(r):
    return "–" if r is None else (f"{r:.1f}×" if r >= 1 else f"{r:.2f}×")


def met(ok):
    return "–" if ok is None else ("yes" if ok else "**no**")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("results")
    ap.add_argument("--goal-corpus", action="append")
    a = ap.parse_args()
    context, runs = load(a.results)
    goals = a.goal_corpus or ["syn1M", "syn10M"]

    corpora = []
    for key in runs:
        if len(key) >= 2 and key[1] not in corpora:
            corpora.append(key[1])

    def get(*key):
        r = runs.get(key)
        return None if r is None or r.get("error_occurred") else r

    def counter(run, name):
        return None if run is None else run.get(name)

    rows = []
    failures = []
    for c in corpora:
        goal = c in goals
        ours, rival = get("build", c, "tamrel"), get("build", c, "fts5")
        t_ours = build_ms(ours)
        t_rival = build_ms(rival)
        r = ratio(t_rival, t_ours)
        ok = None if r is None else r >= 5
        rows.append((c, "build time, median (BuildCorpus vs insert + optimize)", ms(t_ours), ms(t_rival),
                     fmt_ratio(r), "≥ 5× faster", met(ok)))
        limits = BUILD_LIMITS.get(c) if goal else None
        if limits and t_ours is not None:
            rows.append((c, "build time, limit", ms(t_ours), "", "", f"< {limits[0] / 1000:.0f} s",
                         met(t_ours < limits[0])))
        peak = counter(ours, "peak_rss_mb")
        rows.append((c, "build peak RSS", mb(peak), mb(counter(rival, "peak_rss_mb")),
                     fmt_ratio(ratio(counter(rival, "peak_rss_mb"), peak)),
                     f"< {limits[1] / 1024:.1f} GB" if limits else "",
                     met(peak < limits[1]) if limits and peak is not None else ""))
        words, sentences = get("load", c, "words"), get("load", c, "sentences")
        resident = get("load", c, "resident")
        t_words = words and words["time_ms"]
        t_sents = sentences and sentences["time_ms"]
        rows.append((c, "LoadWordTable (warm, in process)", ms(t_words), "", "", "", ""))
        rows.append((c, "LoadSentenceTable (warm, in process)", ms(t_sents), "", "", "", ""))
        both = None if t_words is None or t_sents is None else t_words + t_sents
        fresh = resident and resident["time_ms"]
        worst = max([x for x in (both, fresh) if x is not None], default=None)
        limit = LOAD_MS.get(c, 1000)
        ok = (worst < limit) if goal and worst is not None else None
        rows.append((c, "both tables loaded (in process / fresh process)", f"{ms(both)} / {ms(fresh)}", "", "",
                     f"< {ms(limit)}" if goal else "", met(ok)))
        rss, table = counter(resident, "rss_mb"), counter(resident, "word_table_mb")
        per = counter(resident, "rss_per_word_table")
        ok = None if per is None else per <= 3
        rows.append((c, "resident after loading / word table on disk",
                     f"{mb(rss)} / {mb(table)} = {per:.2f}×" if per is not None else "–", "", "", "≤ 3×", met(ok)))
        for kind, label in KINDS:
            q_ours, q_rival = get("query", c, kind, "tamrel"), get("query", c, kind, "fts5")
            if q_ours is None and q_rival is None:
                continue
            for p in ("p50", "p95"):
                o, v = counter(q_ours, p + "_ms"), counter(q_rival, p + "_ms")
                r = ratio(v, o)
                if p == "p50":
                    target, ok = "≥ 5× faster", (None if r is None else r >= 5)
                else:
                    target, ok = "< 5 ms", (None if o is None else o < 5)
                if not goal:
                    target, ok = "", None
                rows.append((c, f"query {kind} ({label}) {p}", ms(o), ms(v), fmt_ratio(r), target, met(ok)))
        for row in rows:
            if row[0] == c and row[6] == "**no**":
                failures.append(f"{c}: {row[1]}")

    print(f"Tamrel against SQLite {context.get('sqlite', '?')} FTS5, {context.get('date', '')}, "
          f"{context.get('num_cpus', '?')} CPUs at {context.get('mhz_per_cpu', '?')} MHz. "
          f"Ratio = FTS5 / Tamrel (above 1: Tamrel is faster or smaller).")
    print()
    print("| corpus | measure | Tamrel | FTS5 | ratio | goal | met |")
    print("|---|---|---:|---:|---:|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    print()
    for c in corpora:
        for kind, _ in KINDS:
            for engine in ("tamrel", "fts5"):
                q = runs.get(("query", c, kind, engine))
                if q is not None and q.get("label"):
                    print(f"- {c} {kind} {engine}: {q['rows_per_query']:.1f} rows per query, "
                          f"max {ms(q['max_ms'])} ({q['label']})")
    if failures:
        print()
        print("Goals missed: " + "; ".join(failures) + ".")
    return 0


if __name__ == "__main__":
    sys.exit(main())
