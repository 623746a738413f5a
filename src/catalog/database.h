#pragma once
// One SQLite database: the tables of one alias folder. Statements are prepared
// once and cached by their text. Every failure is an EKvfError with SQLite's text.
#include <filesystem>
#include <map>
#include <unordered_map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kvf {

class TStatement {
 public:
  TStatement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  void Reset();  // clears bindings and rewinds
  void Bind(int index, const TFieldValue& value);  // 1-based
  void BindAll(const std::vector<TFieldValue>& values);
  bool Step();  // true while a row is there
  int ColumnCount() const;
  TFieldValue Column(int index) const;  // 0-based
  int64_t ColumnInt(int index) const;
  std::string ColumnName(int index) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_;
};

class TDatabase {
 public:
  // Opens (or, with `create`, creates) the database file. Raises EKvfError.
  TDatabase(std::filesystem::path file, bool create, bool readOnly = false);
  ~TDatabase();
  TDatabase(const TDatabase&) = delete;
  TDatabase& operator=(const TDatabase&) = delete;

  const std::filesystem::path& File() const { return file_; }
  sqlite3* Handle() const { return db_; }

  void Exec(std::string_view sql);
  // A cached prepared statement, reset and ready to bind.
  TStatement& Prepare(const std::string& sql);
  bool TableExists(std::string_view name);
  std::vector<std::string> TableColumns(std::string_view name);
  int64_t LastInsertRowid() const;

  // BEGIN ... COMMIT; the destructor of an uncommitted transaction rolls back.
  class TTransaction {
   public:
    explicit TTransaction(TDatabase& db);
    ~TTransaction();
    void Commit();

   private:
    TDatabase& db_;
    bool done_ = false;
  };

 private:
  std::filesystem::path file_;
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<TStatement>> cache_;
  std::vector<sqlite3_stmt*> owned_;
};

// Double-quotes an identifier for SQL.
std::string QuoteIdent(std::string_view name);

}  // namespace kvf
