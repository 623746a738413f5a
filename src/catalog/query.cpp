#include "catalog/query.h"

#include <fmt/format.h>
#include <sqlite3.h>

#include "catalog/database.h"
#include "catalog/schema.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/text_utils.h"

namespace kvf {

std::string TQuery::Text() const {
  std::string text;
  for (size_t i = 0; i < SQL.size(); ++i) text += (i ? "\r\n" : "") + SQL[i];
  return text;
}

std::string TranslateLocalSql(std::string_view sql, std::vector<std::string>& aliases) {
  std::string out;
  size_t i = 0;
  while (i < sql.size()) {
    if (sql[i] == '"' && i + 1 < sql.size() && sql[i + 1] == ':') {
      const size_t close = sql.find('"', i + 1);
      const std::string_view ref = sql.substr(i + 2, close == std::string_view::npos ? sql.npos : close - i - 2);
      const size_t colon = ref.find(':');
      if (close != std::string_view::npos && colon != std::string_view::npos) {
        const std::string alias(ref.substr(0, colon));
        const std::string file(ref.substr(colon + 1));
        bool known = false;
        for (const std::string& a : aliases) known = known || SameTextI(a, alias);
        if (!known) aliases.push_back(alias);
        const TTableDef* def = FindTableDef(file);
        const std::string table = def ? def->sqlName : SplitFileName(file, false, true, false);
        const bool first = SameTextI(aliases.front(), alias);
        out += first ? QuoteIdent(table) : QuoteIdent(AnsiUpperCase(alias)) + "." + QuoteIdent(table);
        i = close + 1;
        continue;
      }
    }
    out += sql[i++];
  }
  return out;
}

void TQuery::Open(const TAliasResolver& aliases) {
  Close();
  std::vector<std::string> used;
  const std::string sql = TranslateLocalSql(Text(), used);
  if (used.empty()) throw EKvfError("В запросе не указана таблица");
  auto find = [&](const std::string& alias) -> TDatabase* {
    const auto it = aliases.find(AnsiUpperCase(alias));
    if (it == aliases.end() || !it->second) throw EKvfError(fmt::format("Псевдоним {} не подключен", alias));
    return it->second;
  };
  TDatabase* db = find(used.front());
  std::vector<std::string> attached;
  struct TDetach {
    TDatabase* db;
    std::vector<std::string>* names;
    ~TDetach() {
      for (const std::string& n : *names) {
        try {
          db->Exec("DETACH DATABASE " + QuoteIdent(n));
        } catch (...) {
          // a failed detach leaves an attachment that the next open replaces
        }
      }
    }
  } detach{db, &attached};
  for (size_t i = 1; i < used.size(); ++i) {
    const std::string schema = AnsiUpperCase(used[i]);
    TStatement& a = db->Prepare("ATTACH DATABASE ? AS " + QuoteIdent(schema));
    a.Bind(1, find(used[i])->File().string());
    a.Step();
    attached.push_back(schema);
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db->Handle(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(db->Handle());
    sqlite3_finalize(stmt);
    throw EKvfError(message);
  }
  TStatement s(db->Handle(), stmt);
  try {
    for (int c = 0; c < s.ColumnCount(); ++c) columns_.push_back(s.ColumnName(c));
    while (s.Step()) {
      std::vector<TFieldValue> row;
      for (int c = 0; c < s.ColumnCount(); ++c) row.push_back(s.Column(c));
      rows_.push_back(std::move(row));
    }
  } catch (...) {
    sqlite3_finalize(stmt);
    columns_.clear();
    rows_.clear();
    throw;
  }
  sqlite3_finalize(stmt);
  active_ = true;
  pos_ = 0;
}

void TQuery::Close() {
  active_ = false;
  columns_.clear();
  rows_.clear();
  pos_ = 0;
}

TFieldValue TQuery::Value(std::string_view field) const {
  for (size_t c = 0; c < columns_.size(); ++c) {
    if (SameTextI(columns_[c], field)) return Eof() ? TFieldValue{} : rows_[static_cast<size_t>(pos_)][c];
  }
  throw EKvfError(fmt::format("{}: поле '{}' не найдено", name_, std::string(field)));
}

}  // namespace kvf
