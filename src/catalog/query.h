#pragma once
// TQuery: local SQL over the tables of the aliases. Table references written
// as ":ALIAS:Table.ext" in double quotes name the table of that alias; the
// query runs on the database of its first alias, the others attached. The
// result is read whole on Open and walked like a table.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/value.h"

namespace kvf {

class TDatabase;

class TQuery {
 public:
  using TAliasResolver = std::map<std::string, TDatabase*>;  // by upper-cased alias

  explicit TQuery(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }

  std::vector<std::string> SQL;  // the lines of the statement
  std::string Text() const;      // the lines joined with CR LF

  // Raises EKvfError with the database's text.
  void Open(const TAliasResolver& aliases);
  void Close();
  bool Active() const { return active_; }

  void First() { pos_ = 0; }
  void Next() { if (pos_ < static_cast<int>(rows_.size())) ++pos_; }
  bool Eof() const { return pos_ >= static_cast<int>(rows_.size()); }
  int RecordCount() const { return static_cast<int>(rows_.size()); }
  const std::vector<std::string>& FieldNames() const { return columns_; }
  TFieldValue Value(std::string_view field) const;  // unknown name raises EKvfError
  std::string AsString(std::string_view field) const { return ValueAsString(Value(field)); }
  int64_t AsInteger(std::string_view field) const { return ValueAsInteger(Value(field)); }

 private:
  std::string name_;
  bool active_ = false;
  std::vector<std::string> columns_;
  std::vector<std::vector<TFieldValue>> rows_;
  int pos_ = 0;
};

// Rewrites ":ALIAS:Table.ext" references to the tables' names; `aliases`
// receives the aliases named, in order of first use.
std::string TranslateLocalSql(std::string_view sql, std::vector<std::string>& aliases);

}  // namespace kvf
