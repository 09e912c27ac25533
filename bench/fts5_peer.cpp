#include "bench/fts5_peer.h"

#include <chrono>
#include <fstream>
#include <iostream>

namespace tamrel::bench {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool Exec(sqlite3* db, const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  std::cerr << "sqlite: " << sql << ": " << (message != nullptr ? message : "error") << '\n';
  sqlite3_free(message);
  return false;
}

bool Fail(sqlite3* db, const char* what) {
  std::cerr << "sqlite: " << what << ": " << sqlite3_errmsg(db) << '\n';
  return false;
}

// Reads one line without its LF; a line missing at the end of the file reads as empty, as the
// reference script's readline does.
bool ReadLine(std::ifstream& in, std::string& line) {
  if (!std::getline(in, line)) {
    line.clear();
    return false;
  }
  return true;
}

bool InsertAll(sqlite3* db, const std::filesystem::path& sentences, int64_t& rows) {
  std::ifstream in(sentences, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << sentences << '\n';
    return false;
  }
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, "INSERT INTO s(rowid, chinese, pinyin, english) VALUES (?,?,?,?)", -1, &raw, nullptr) !=
      SQLITE_OK) {
    return Fail(db, "prepare insert");
  }
  const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> insert(raw, sqlite3_finalize);
  if (!Exec(db, "BEGIN")) return false;
  std::string zh, py, en;
  rows = 0;
  while (ReadLine(in, zh)) {
    ReadLine(in, py);
    ReadLine(in, en);
    sqlite3_bind_int64(raw, 1, rows + 1);
    sqlite3_bind_text(raw, 2, zh.data(), static_cast<int>(zh.size()), SQLITE_STATIC);
    sqlite3_bind_text(raw, 3, py.data(), static_cast<int>(py.size()), SQLITE_STATIC);
    sqlite3_bind_text(raw, 4, en.data(), static_cast<int>(en.size()), SQLITE_STATIC);
    if (sqlite3_step(raw) != SQLITE_DONE) return Fail(db, "insert");
    sqlite3_reset(raw);
    ++rows;
  }
  return Exec(db, "COMMIT");
}

}  // namespace

int BuildFts5(const std::filesystem::path& sentences, const std::filesystem::path& database, Fts5BuildTimes& times) {
  std::error_code ignored;
  for (const char* suffix : {"", "-journal", "-wal"}) {
    std::filesystem::path p = database;
    p += suffix;
    std::filesystem::remove(p, ignored);
  }
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open(database.c_str(), &raw);
  const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close);
  if (opened != SQLITE_OK) return Fail(raw, "open"), -1;
  if (!Exec(raw, "PRAGMA journal_mode=OFF") || !Exec(raw, "PRAGMA synchronous=OFF") ||
      !Exec(raw,
            "CREATE VIRTUAL TABLE s USING fts5(chinese, pinyin, english, "
            "tokenize='unicode61 remove_diacritics 0')")) {
    return -1;
  }
  auto start = Clock::now();
  if (!InsertAll(raw, sentences, times.rows)) return -1;
  times.insertSeconds = SecondsSince(start);
  start = Clock::now();
  if (!Exec(raw, "BEGIN") || !Exec(raw, "INSERT INTO s(s) VALUES ('optimize')") || !Exec(raw, "COMMIT")) return -1;
  times.optimizeSeconds = SecondsSince(start);
  return Exec(raw, "VACUUM") ? 0 : -1;
}

Fts5Query MakeFts5Query(const BenchQuery& query) {
  const std::string column = query.kind.rfind("en", 0) == 0 ? "english" : "chinese";
  std::vector<std::string> terms;
  size_t p = 0;
  while (true) {  // split at every single space, as Python's str.split(" ")
    const size_t space = query.text.find(' ', p);
    std::string term = "\"";
    for (char c : query.text.substr(p, space == std::string::npos ? space : space - p)) {
      term += c;
      if (c == '"') term += '"';
    }
    terms.push_back(term + "\"");
    if (space == std::string::npos) break;
    p = space + 1;
  }
  Fts5Query q;
  q.ranked = terms.size() > 1;
  if (!q.ranked) {
    q.match = column + " : " + terms[0];
    return q;
  }
  q.match = column + " : (";
  for (size_t i = 0; i < terms.size(); ++i) q.match += (i > 0 ? " OR " : "") + terms[i];
  q.match += ")";
  return q;
}

int Fts5Searcher::Open(const std::filesystem::path& database) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(database.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  db_.reset(raw);
  if (opened != SQLITE_OK) return Fail(raw, "open"), -1;
  const auto prepare = [&](const char* sql, Statement& out) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(raw, sql, -1, &statement, nullptr) != SQLITE_OK) return Fail(raw, sql);
    out.reset(statement);
    return true;
  };
  if (!prepare("SELECT rowid, chinese, pinyin, english FROM s WHERE s MATCH ? LIMIT 20", first_) ||
      !prepare("SELECT rowid, chinese, pinyin, english FROM s WHERE s MATCH ? ORDER BY rank LIMIT 20", ranked_)) {
    return -1;
  }
  return 0;
}

int Fts5Searcher::Run(const Fts5Query& query) {
  return RunStatement(query.ranked ? ranked_.get() : first_.get(), query.match);
}

int Fts5Searcher::RunStatement(sqlite3_stmt* statement, const std::string& match) {
  if (statement == nullptr) return -1;
  sqlite3_reset(statement);
  sqlite3_bind_text(statement, 1, match.data(), static_cast<int>(match.size()), SQLITE_STATIC);
  int rows = 0;
  int status;
  while ((status = sqlite3_step(statement)) == SQLITE_ROW) {
    sink_ += static_cast<uint64_t>(sqlite3_column_int64(statement, 0));
    for (int column = 1; column <= 3; ++column) {
      const unsigned char* text = sqlite3_column_text(statement, column);
      const int bytes = sqlite3_column_bytes(statement, column);
      if (text != nullptr && bytes > 0) sink_ += text[bytes - 1];
    }
    ++rows;
  }
  sqlite3_reset(statement);
  return status == SQLITE_DONE ? rows : (Fail(db_.get(), "query"), -1);
}

}  // namespace tamrel::bench
