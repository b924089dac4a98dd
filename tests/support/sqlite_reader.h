// Reading a sample database directly in a test, with SQLite alone.
#ifndef ORBE_TESTS_SUPPORT_SQLITE_READER_H_
#define ORBE_TESTS_SUPPORT_SQLITE_READER_H_

#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace orbe_test {

// A database read by the tests on their own, to compare with what the
// module shows; read only.
class SqliteReader {
 public:
  explicit SqliteReader(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
  }
  ~SqliteReader() { sqlite3_close(db_); }
  SqliteReader(const SqliteReader&) = delete;
  SqliteReader& operator=(const SqliteReader&) = delete;

  // Every row's columns as texts (GBK as stored).
  std::vector<std::vector<std::string>> Rows(const std::string& sql) const {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const unsigned char* text = sqlite3_column_text(statement, i);
        row.push_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
  }
  // The first row; empty when none.
  std::vector<std::string> Row(const std::string& sql) const {
    std::vector<std::vector<std::string>> rows = Rows(sql);
    return rows.empty() ? std::vector<std::string>() : std::move(rows.front());
  }
  std::string Text(const std::string& sql) const {
    const std::vector<std::string> row = Row(sql);
    return row.empty() ? std::string() : row[0];
  }
  long long Number(const std::string& sql) const { return std::atoll(Text(sql).c_str()); }
  // The first column of every row.
  std::vector<std::string> Column(const std::string& sql) const {
    std::vector<std::string> values;
    for (const auto& row : Rows(sql)) values.push_back(row.empty() ? std::string() : row[0]);
    return values;
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_SQLITE_READER_H_
