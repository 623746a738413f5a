#include "catalog/database.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/file_io.h"

namespace kvf {
namespace {

// SQLite's reason, in the words of the system where a system call failed.
std::string Reason(sqlite3* db) {
  if (!db) return "нет соединения";
  const int code = sqlite3_extended_errcode(db) & 0xff;
  const int sys = sqlite3_system_errno(db);
  if (sys != 0 && (code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN || code == SQLITE_READONLY))
    return SystemErrorText(sys);
  switch (code) {
    case SQLITE_IOERR:
      switch (sqlite3_extended_errcode(db)) {
        case SQLITE_IOERR_WRITE: return "ошибка записи на диск (нет места или превышен допустимый размер файла)";
        case SQLITE_IOERR_READ:
        case SQLITE_IOERR_SHORT_READ: return "ошибка чтения с диска";
        default: return "ошибка ввода-вывода";
      }
    case SQLITE_FULL: return "нет места на диске";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return "файл базы данных поврежден";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "база данных занята другой программой";
    case SQLITE_READONLY: return "база данных доступна только для чтения";
    case SQLITE_CANTOPEN: return "файл базы данных не открывается";
    default: return sqlite3_errmsg(db);
  }
}

[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
  throw EKvfError(fmt::format("{}: {}", what, Reason(db)));
}

// Case-insensitive order of the Windows-1251 upper-cased bytes (indexes marked
// case-insensitive).
int CompareNoCase(void*, int n1, const void* s1, int n2, const void* s2) {
  const std::string a = Utf8ToCp1251(AnsiUpperCase(std::string_view(static_cast<const char*>(s1), n1)));
  const std::string b = Utf8ToCp1251(AnsiUpperCase(std::string_view(static_cast<const char*>(s2), n2)));
  const int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

std::string QuoteIdent(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void TStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

void TStatement::Bind(int index, const TFieldValue& value) {
  int rc = SQLITE_OK;
  if (std::holds_alternative<std::monostate>(value)) rc = sqlite3_bind_null(stmt_, index);
  else if (const auto* i = std::get_if<int64_t>(&value)) rc = sqlite3_bind_int64(stmt_, index, *i);
  else if (const auto* d = std::get_if<double>(&value)) rc = sqlite3_bind_double(stmt_, index, *d);
  else {
    const std::string& s = std::get<std::string>(value);
    rc = sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  }
  if (rc != SQLITE_OK) Fail(db_, "Ошибка параметра запроса");
}

void TStatement::BindAll(const std::vector<TFieldValue>& values) {
  for (size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i + 1), values[i]);
}

bool TStatement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  const std::string message = Reason(db_);
  sqlite3_reset(stmt_);
  throw EKvfError(message);
}

int TStatement::ColumnCount() const { return sqlite3_column_count(stmt_); }

TFieldValue TStatement::Column(int index) const {
  switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER: return static_cast<int64_t>(sqlite3_column_int64(stmt_, index));
    case SQLITE_FLOAT: return sqlite3_column_double(stmt_, index);
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
      return std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, index)));
    }
    default: return std::monostate{};
  }
}

int64_t TStatement::ColumnInt(int index) const { return sqlite3_column_int64(stmt_, index); }

std::string TStatement::ColumnName(int index) const { return sqlite3_column_name(stmt_, index); }

TDatabase::TDatabase(std::filesystem::path file, bool create, bool readOnly) : file_(std::move(file)) {
  const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | (create ? SQLITE_OPEN_CREATE : 0) |
                    SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(file_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? Reason(db_) : "нет памяти";
    sqlite3_close(db_);
    db_ = nullptr;
    throw EKvfError(fmt::format("Не удается открыть базу данных {}: {}", file_.string(), message));
  }
  sqlite3_busy_timeout(db_, 5000);
  sqlite3_create_collation(db_, "KVFNOCASE", SQLITE_UTF8, nullptr, CompareNoCase);
}

TDatabase::~TDatabase() {
  cache_.clear();
  for (sqlite3_stmt* s : owned_) sqlite3_finalize(s);
  sqlite3_close(db_);
}

void TDatabase::Exec(std::string_view sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const int code = sqlite3_errcode(db_);
    const std::string message =
        code == SQLITE_ERROR && error ? std::string(error) : Reason(db_);  // an SQL mistake keeps its text
    sqlite3_free(error);
    throw EKvfError(message);
  }
}

TStatement& TDatabase::Prepare(const std::string& sql) {
  const auto it = cache_.find(sql);
  if (it != cache_.end()) {
    it->second->Reset();
    return *it->second;
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    Fail(db_, "Ошибка SQL");
  }
  owned_.push_back(stmt);
  auto& entry = cache_[sql];
  entry = std::make_unique<TStatement>(db_, stmt);
  return *entry;
}

bool TDatabase::TableExists(std::string_view name) {
  TStatement& s = Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE");
  s.Bind(1, std::string(name));
  return s.Step();
}

std::vector<std::string> TDatabase::TableColumns(std::string_view name) {
  std::vector<std::string> columns;
  TStatement& s = Prepare("SELECT name FROM pragma_table_info(?)");
  s.Bind(1, std::string(name));
  while (s.Step()) columns.push_back(ValueAsString(s.Column(0)));
  return columns;
}

int64_t TDatabase::LastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }

TDatabase::TTransaction::TTransaction(TDatabase& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

TDatabase::TTransaction::~TTransaction() {
  if (!done_) {
    try {
      db_.Exec("ROLLBACK");
    } catch (...) {
      // the connection is already out of the transaction
    }
  }
}

void TDatabase::TTransaction::Commit() {
  db_.Exec("COMMIT");
  done_ = true;
}

}  // namespace kvf
