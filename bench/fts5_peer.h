// The rival: SQLite FTS5 over the same sentence file, with the table, pragmas and queries of
// shared/bench/peer_fts5.py. One row per sentence group (rowid = group number + 1), columns
// chinese, pinyin and english, tokenizer unicode61 keeping diacritics. A one-word query takes the
// first 20 matching rows in rowid order; a several-word query the OR of its words ranked by bm25.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/query_set.h"

namespace tamrel::bench {

struct Fts5BuildTimes {
  double insertSeconds = 0;    // reading the sentence file and inserting, one transaction
  double optimizeSeconds = 0;  // merging the index into one segment
  int64_t rows = 0;
};

// Creates `database` afresh (removing what is there) and fills it from `sentences`: the inserts in
// one transaction, then 'optimize', the two timed phases; then an untimed VACUUM, as the
// reference script does. 0 on success; -1 on a file or SQLite error (message on stderr).
int BuildFts5(const std::filesystem::path& sentences, const std::filesystem::path& database, Fts5BuildTimes& times);

// One query as FTS5 runs it: the MATCH string restricted to the column of the query's language.
struct Fts5Query {
  bool ranked = false;  // several words: ORDER BY rank
  std::string match;    // e.g. english : ("know" OR "and")
};

Fts5Query MakeFts5Query(const BenchQuery& query);

// An open database with the two query statements prepared once, as a warm server would hold them.
class Fts5Searcher {
 public:
  // 0 on success; -1 when the database cannot be opened or the statements cannot be prepared.
  int Open(const std::filesystem::path& database);

  // Runs `query` and fetches every row (rowid and the three texts). The number of rows, or -1 on
  // an SQLite error.
  int Run(const Fts5Query& query);

 private:
  struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
  };
  struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

  int RunStatement(sqlite3_stmt* statement, const std::string& match);

  // Declared first so that it is destroyed last, after its statements.
  std::unique_ptr<sqlite3, CloseDatabase> db_;
  Statement first_;    // one word: LIMIT 20 in rowid order
  Statement ranked_;   // several words: ORDER BY rank LIMIT 20
  uint64_t sink_ = 0;  // touched by every fetched text so that fetching is not optimised away
};

}  // namespace tamrel::bench
