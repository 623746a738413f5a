#include "catalog/table.h"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>

#include "catalog/database.h"
#include "catalog/filter.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/text_utils.h"

namespace kvf {
namespace {

TFieldValue Truncated(const TFieldDef& declared, TFieldValue value) {
  if (declared.IsText()) {
    if (auto* s = std::get_if<std::string>(&value)) {
      if (s->size() > static_cast<size_t>(declared.size) && Utf8Length(*s) > static_cast<size_t>(declared.size)) {
        size_t pos = 0;
        for (int i = 0; i < declared.size; ++i) NextCodePoint(*s, pos);
        s->resize(pos);
      }
    }
  }
  return value;
}

}  // namespace

TTable::TTable(std::string objectName, const TTableDef& def) : name_(std::move(objectName)), def_(def) {}

void TTable::SetDatabase(TDatabase* db) {
  if (Active()) Close();
  locates_.clear();
  db_ = db;
}

void TTable::Open() {
  if (Active()) return;
  if (!db_) throw EKvfError(fmt::format("База данных {} не подключена", def_.alias));
  if (!db_->TableExists(def_.sqlName))
    throw EKvfError(fmt::format("Таблица {} не найдена в {}", def_.fileName, db_->File().string()));
  const std::vector<std::string> columns = db_->TableColumns(def_.sqlName);
  auto has = [&](const std::string& name) {
    for (const std::string& c : columns)
      if (SameTextI(c, name)) return true;
    return false;
  };
  for (const TFieldDef& f : def_.declared)
    if (!has(f.name)) throw EKvfError(fmt::format("В таблице {} нет поля {}", def_.fileName, f.name));
  selectColumns_.clear();
  selectDeclared_.clear();
  declaredIndex_.clear();
  for (const TFieldDef& f : def_.stored) {
    if (!selectColumns_.empty()) selectColumns_ += ", ";
    selectColumns_ += has(f.name) ? QuoteIdent(f.name) : "NULL";
  }
  for (const TFieldDef& f : def_.declared) {
    if (!selectDeclared_.empty()) selectDeclared_ += ", ";
    selectDeclared_ += QuoteIdent(f.name);
    declaredIndex_.push_back(def_.StoredIndex(f.name));
  }
  state_ = TDataSetState::Browse;
  ChangeView();
}

void TTable::Close() {
  state_ = TDataSetState::Inactive;
  viewValid_ = false;
  pendingFirst_ = false;
  rowids_.clear();
  posOf_.clear();
  curRowid_ = -1;
  pos_ = -1;
  eof_ = bof_ = true;
  loadedRowid_ = -1;
  row_.clear();
  buffer_.clear();
}

void TTable::RequireActive() const {
  if (!Active()) throw EKvfError(fmt::format("{}: таблица {} не открыта", name_, def_.fileName));
}

void TTable::RequireEditable() const {
  RequireActive();
  if (!def_.editable) throw EKvfError(fmt::format("Таблица [{}] доступна только для чтения", def_.fileName));
}

std::string TTable::OrderBy() const {
  if (!orderBy_.empty()) return orderBy_;
  std::vector<std::string> fields = def_.primaryKey;
  bool ci = false;
  if (!indexName_.empty()) {
    const TIndexDef* ix = def_.FindIndex(indexName_);
    fields = ix->fields;
    ci = ix->caseInsensitive;
  }
  std::string order;
  for (const std::string& f : fields) {
    const TFieldDef* fd = def_.FindStored(f);
    order += QuoteIdent(f) + (ci && fd && fd->IsText() ? " COLLATE KVFNOCASE" : "") + ", ";
  }
  orderBy_ = " ORDER BY " + order + "rowid";
  return orderBy_;
}

const std::string& TTable::SelectRowids() const {
  if (selectRowids_.empty()) selectRowids_ = "SELECT rowid FROM " + QuoteIdent(def_.sqlName);
  return selectRowids_;
}

std::string TTable::ViewWhere(std::vector<TFieldValue>& params) const {
  if (!filtered_ || filter_.empty()) return {};
  if (translatedFilter_ != filter_ || translatedSql_.empty()) {
    auto it = translations_.find(filter_);
    if (it == translations_.end()) {
      if (translations_.size() >= 256) translations_.clear();
      TSqlCondition cond = TranslateFilter(filter_, def_);
      it = translations_.emplace(filter_, TTranslation{" WHERE " + cond.sql, std::move(cond.params)}).first;
    }
    translatedSql_ = it->second.sql;
    translatedParams_ = it->second.params;
    translatedFilter_ = filter_;
  }
  params.insert(params.end(), translatedParams_.begin(), translatedParams_.end());
  return translatedSql_;
}

void TTable::EnsureView() {
  if (viewValid_) return;
  std::vector<TFieldValue> params;
  const std::string sql = SelectRowids() + ViewWhere(params) + OrderBy();
  TStatement& s = db_->Prepare(sql);
  s.BindAll(params);
  rowids_.clear();
  posOf_.clear();
  while (s.Step()) rowids_.push_back(s.ColumnInt(0));
  viewValid_ = true;
}

void TTable::Settle() {
  if (!pendingFirst_ || !Active()) return;
  pendingFirst_ = false;
  StandOnFirst();
}

void TTable::StandOnFirst() {
  if (viewValid_) {
    MoveTo(0);
  } else {
    const int64_t rowid = FirstRowid({}, {});
    StandOn(rowid, rowid < 0 ? -1 : 0);
  }
  bof_ = true;
}

void TTable::ChangeView() {
  InvalidateView();
  pendingFirst_ = true;
}

void TTable::InvalidateView() {
  viewRowid_ = -1;
  viewValid_ = false;
  rowids_.clear();
  posOf_.clear();
  pos_ = -1;
  loadedRowid_ = -1;
}

int64_t TTable::FirstRowid(const std::string& extraWhere, const std::vector<TFieldValue>& extraParams) {
  std::vector<TFieldValue> params;
  std::string where = ViewWhere(params);
  if (!extraWhere.empty()) {
    where = where.empty() ? " WHERE " + extraWhere : where + " AND (" + extraWhere + ")";
    params.insert(params.end(), extraParams.begin(), extraParams.end());
  }
  TStatement& s = db_->Prepare(SelectRowids() + where + OrderBy() + " LIMIT 1");
  s.BindAll(params);
  return s.Step() ? s.ColumnInt(0) : -1;
}

void TTable::KnowPosition() {
  if (curRowid_ < 0) return;
  EnsureView();
  if (pos_ >= 0) return;
  if (posOf_.empty()) {
    posOf_.reserve(rowids_.size());
    for (size_t i = 0; i < rowids_.size(); ++i) posOf_.emplace(rowids_[i], static_cast<int>(i));
  }
  const auto it = posOf_.find(curRowid_);
  if (it != posOf_.end()) {
    pos_ = it->second;
  } else {  // the row left the view
    MoveTo(0);
  }
}

bool TTable::Position(int64_t rowid) {
  if (rowid < 0) return false;
  if (viewValid_) {
    if (posOf_.empty())
      for (size_t i = 0; i < rowids_.size(); ++i) posOf_.emplace(rowids_[i], static_cast<int>(i));
    const auto it = posOf_.find(rowid);
    if (it == posOf_.end()) return false;
    StandOn(rowid, it->second);
    return true;
  }
  StandOn(rowid, -1);
  return true;
}

void TTable::StandOn(int64_t rowid, int pos) {
  pendingFirst_ = false;
  curRowid_ = rowid;
  pos_ = pos;
  eof_ = bof_ = rowid < 0;
  Notify(TTableEvent::Scrolled, pos);
}

void TTable::MoveTo(int pos) {
  EnsureView();
  if (rowids_.empty() || pos < 0) {
    StandOn(-1, -1);
    return;
  }
  StandOn(rowids_[static_cast<size_t>(pos)], pos);
}

void TTable::First() {
  RequireActive();
  if (state_ != TDataSetState::Browse) Cancel();
  StandOnFirst();
}

void TTable::Last() {
  RequireActive();
  if (state_ != TDataSetState::Browse) Cancel();
  EnsureView();
  MoveTo(static_cast<int>(rowids_.size()) - 1);
  eof_ = true;
}

void TTable::Next() { Step(+1); }
void TTable::Prior() { Step(-1); }

void TTable::Step(int delta) {
  RequireActive();
  if (state_ != TDataSetState::Browse) Cancel();
  Settle();
  bool& edge = delta > 0 ? eof_ : bof_;
  if (curRowid_ < 0) {
    edge = true;
    return;
  }
  KnowPosition();
  const int target = pos_ + delta;
  if (target >= 0 && target < static_cast<int>(rowids_.size())) {
    MoveTo(target);
  } else {
    edge = true;
  }
}

int TTable::RecNo() {
  Settle();
  if (curRowid_ < 0) return -1;
  KnowPosition();
  return pos_;
}

bool TTable::IsEmpty() {
  RequireActive();
  EnsureView();
  Settle();
  return rowids_.empty();
}

int TTable::RecordCount() {
  RequireActive();
  EnsureView();
  Settle();
  return static_cast<int>(rowids_.size());
}

bool TTable::FindKey(const std::vector<TFieldValue>& key) {
  if (def_.primaryKey.empty()) throw EKvfError(fmt::format("У таблицы [{}] нет первичного ключа", def_.fileName));
  if (key.size() > def_.primaryKey.size()) throw EKvfError(fmt::format("Лишние значения ключа таблицы [{}]", def_.fileName));
  return Locate({def_.primaryKey.begin(), def_.primaryKey.begin() + static_cast<long>(key.size())}, key);
}

bool TTable::Locate(const std::vector<std::string>& fields, const std::vector<TFieldValue>& values,
                    bool caseInsensitive, bool partial) {
  RequireActive();
  if (state_ != TDataSetState::Browse) Cancel();
  if (fields.size() != values.size() || fields.empty())
    throw EKvfError(fmt::format("{}: неверный поиск по полям", name_));
  // The common case, an exact search on the whole table, keeps its statement.
  const bool plain = (!filtered_ || filter_.empty()) && !caseInsensitive && !partial;
  std::string key;
  if (plain) {
    bool blanks = false;
    for (size_t i = 0; i < fields.size(); ++i) {
      key += fields[i];
      key += '\x1f';
      blanks = blanks || IsBlank(values[i]) || (std::holds_alternative<std::string>(values[i]) &&
                                                 std::get<std::string>(values[i]).empty());
    }
    if (!blanks) {
      const auto it = locates_.find(key);
      if (it != locates_.end()) {
        TStatement& s = *it->second;
        s.Reset();
        for (size_t i = 0; i < values.size(); ++i) {
          const TFieldDef* f = def_.FindStored(fields[i]);
          s.Bind(static_cast<int>(i + 1), f && f->IsText() ? TFieldValue(ValueAsString(values[i])) : values[i]);
        }
        if (!s.Step()) return false;
        const int64_t rowid = s.ColumnInt(0);
        s.Reset();
        return Position(rowid);
      }
    } else {
      key.clear();
    }
  }
  std::vector<TFieldValue> params;
  std::string where;
  std::string cond;
  for (size_t i = 0; i < fields.size(); ++i) {
    const TFieldDef* f = def_.FindStored(fields[i]);
    if (!f) throw EKvfError(fmt::format("{}: поле '{}' не найдено", name_, fields[i]));
    const std::string column = QuoteIdent(f->name);
    const TFieldValue& v = values[i];
    if (!cond.empty()) cond += " AND ";
    if (IsBlank(v) || (f->IsText() && ValueAsString(v).empty())) {
      cond += fmt::format("({} IS NULL OR {} = '')", column, column);
    } else if (f->IsText() && (caseInsensitive || partial)) {
      const std::string lhs = caseInsensitive ? column + " COLLATE KVFNOCASE" : column;
      if (partial) {
        cond += fmt::format("substr({}, 1, ?) = ?{}", column, caseInsensitive ? " COLLATE KVFNOCASE" : "");
        params.push_back(static_cast<int64_t>(Utf8Length(ValueAsString(v))));
        params.push_back(ValueAsString(v));
      } else {
        cond += lhs + " = ?";
        params.push_back(ValueAsString(v));
      }
    } else if (f->IsText()) {
      cond += column + " = ?";
      params.push_back(ValueAsString(v));
    } else {
      cond += column + " = ?";
      params.push_back(v);
    }
  }
  (void)where;
  if (plain && !key.empty()) {
    locates_[key] = &db_->Prepare(SelectRowids() + " WHERE " + cond + OrderBy() + " LIMIT 1");
  }
  const int64_t rowid = FirstRowid(cond, params);
  if (rowid < 0) return false;
  return Position(rowid);
}

void TTable::Refresh() {
  RequireActive();
  const TBookmark keep = GetBookmark();
  InvalidateView();
  if (keep < 0 || !GotoBookmark(keep)) ChangeView();
  Notify(TTableEvent::DataChanged);
}

void TTable::SetFilter(std::string filter) {
  if (filter == filter_) return;
  if (Active() && filtered_ && !filter.empty()) TranslateFilter(filter, def_);  // fail before changing anything
  filter_ = std::move(filter);
  if (filtered_ && Active()) {
    ChangeView();
    Notify(TTableEvent::DataChanged);
  }
}

void TTable::SetFiltered(bool filtered) {
  if (filtered == filtered_) return;
  if (Active() && filtered && !filter_.empty()) TranslateFilter(filter_, def_);
  filtered_ = filtered;
  if (Active()) {
    ChangeView();
    Notify(TTableEvent::DataChanged);
  }
}

void TTable::SetIndexName(std::string name) {
  if (!name.empty() && !def_.FindIndex(name))
    throw EKvfError(fmt::format("Индекс '{}' не найден в таблице [{}]", name, def_.fileName));
  if (const TIndexDef* ix = def_.FindIndex(name)) name = ix->name;
  if (name == indexName_) return;
  const TBookmark keep = Active() ? GetBookmark() : -1;
  indexName_ = std::move(name);
  orderBy_.clear();
  locates_.clear();
  if (Active()) {
    InvalidateView();
    if (keep < 0 || !Position(keep)) ChangeView();
    Notify(TTableEvent::DataChanged);
  }
}

TBookmark TTable::GetBookmark() {
  if (!Active()) return -1;
  Settle();
  return curRowid_;
}

bool TTable::GotoBookmark(TBookmark bookmark) {
  RequireActive();
  if (bookmark < 0) return false;
  if (!viewValid_) {  // is the row still in the view?
    std::vector<TFieldValue> params{bookmark};
    if (FirstRowid("rowid = ?", params) < 0) return false;
  }
  return Position(bookmark);
}

void TTable::DisableControls() { ++disableCount_; }

void TTable::EnableControls() {
  if (disableCount_ > 0 && --disableCount_ == 0 && pendingChange_) {
    pendingChange_ = false;
    Notify(TTableEvent::DataChanged);
  }
}

std::vector<std::string> TTable::FieldNames() const {
  std::vector<std::string> names;
  for (const TFieldDef& f : def_.declared) names.push_back(f.name);
  for (const TLookupDef& l : def_.lookups) names.push_back(l.name);
  for (const TFieldDef& f : def_.calculated) names.push_back(f.name);
  return names;
}

bool TTable::HasField(std::string_view name) const {
  return def_.FindDeclared(name) || def_.FindLookup(name) || def_.FindCalculated(name);
}

void TTable::LoadRow() {
  const TBookmark rowid = GetBookmark();
  if (rowid == loadedRowid_) return;
  row_.assign(def_.stored.size(), std::monostate{});
  loadedRowid_ = rowid;
  if (rowid < 0) return;
  TStatement& s = db_->Prepare("SELECT " + selectDeclared_ + " FROM " + QuoteIdent(def_.sqlName) + " WHERE rowid = ?");
  s.Bind(1, rowid);
  if (s.Step())
    for (size_t i = 0; i < declaredIndex_.size(); ++i)
      row_[static_cast<size_t>(declaredIndex_[i])] = s.Column(static_cast<int>(i));
}

std::vector<TFieldValue> TTable::LoadFullRow(int64_t rowid) {
  std::vector<TFieldValue> row(def_.stored.size());
  TStatement& s = db_->Prepare("SELECT " + selectColumns_ + " FROM " + QuoteIdent(def_.sqlName) + " WHERE rowid = ?");
  s.Bind(1, rowid);
  if (s.Step())
    for (size_t i = 0; i < row.size(); ++i) row[i] = s.Column(static_cast<int>(i));
  return row;
}

TFieldValue TTable::Value(std::string_view name) {
  RequireActive();
  if (const TFieldDef* declared = def_.FindDeclared(name)) {
    const int index = def_.StoredIndex(declared->name);
    if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert)
      return Truncated(*declared, buffer_[static_cast<size_t>(index)]);
    LoadRow();
    return Truncated(*declared, row_[static_cast<size_t>(index)]);
  }
  if (const TLookupDef* lookup = def_.FindLookup(name)) return ReadLookup(*lookup, Value(lookup->keyField));
  if (def_.FindCalculated(name)) return std::monostate{};
  throw EKvfError(fmt::format("{}: поле '{}' не найдено", name_, std::string(name)));
}

TBookmark TTable::BookmarkAt(int pos) {
  RequireActive();
  EnsureView();
  return pos >= 0 && pos < static_cast<int>(rowids_.size()) ? rowids_[static_cast<size_t>(pos)] : -1;
}

int TTable::ViewCount() {
  RequireActive();
  EnsureView();
  return static_cast<int>(rowids_.size());
}

TFieldValue TTable::ValueAt(int pos, std::string_view name) {
  RequireActive();
  EnsureView();
  if (pos < 0 || pos >= static_cast<int>(rowids_.size())) {
    if (!def_.FindDeclared(name) && !def_.FindLookup(name) && !def_.FindCalculated(name))
      throw EKvfError(fmt::format("{}: поле '{}' не найдено", name_, std::string(name)));
    return std::monostate{};
  }
  const int64_t rowid = rowids_[static_cast<size_t>(pos)];
  if (state_ == TDataSetState::Edit && rowid == editRowid_) return Value(name);
  if (rowid != viewRowid_) {
    viewRow_ = LoadFullRow(rowid);
    viewRowid_ = rowid;
  }
  if (const TFieldDef* declared = def_.FindDeclared(name))
    return Truncated(*declared, viewRow_[static_cast<size_t>(def_.StoredIndex(declared->name))]);
  if (const TLookupDef* lookup = def_.FindLookup(name)) {
    const TFieldDef* key = def_.FindDeclared(lookup->keyField);
    return key ? ReadLookup(*lookup, viewRow_[static_cast<size_t>(def_.StoredIndex(key->name))]) : TFieldValue{};
  }
  if (def_.FindCalculated(name)) return std::monostate{};
  throw EKvfError(fmt::format("{}: поле '{}' не найдено", name_, std::string(name)));
}

TFieldValue TTable::ReadLookup(const TLookupDef& lookup, const TFieldValue& key) {
  if (IsBlank(key)) return std::monostate{};
  TStatement& s = db_->Prepare("SELECT " + QuoteIdent(lookup.lookupResult) + " FROM " + QuoteIdent(lookup.lookupTable) +
                               " WHERE " + QuoteIdent(lookup.lookupKey) + " = ? ORDER BY rowid LIMIT 1");
  s.Bind(1, key);
  TFieldValue v = s.Step() ? s.Column(0) : TFieldValue{};
  TFieldDef asText{lookup.name, TFieldType::Alpha, lookup.size};
  return Truncated(asText, v);
}

void TTable::Append() {
  RequireEditable();
  if (state_ != TDataSetState::Browse) Cancel();
  buffer_.assign(def_.stored.size(), std::monostate{});
  editRowid_ = -1;
  state_ = TDataSetState::Insert;
  Notify(TTableEvent::StateChanged);
}

void TTable::Insert() { Append(); }

void TTable::Edit() {
  RequireEditable();
  if (state_ != TDataSetState::Browse) return;
  if (GetBookmark() < 0) {
    Append();
    return;
  }
  buffer_ = LoadFullRow(GetBookmark());  // undeclared columns are written back as they are
  editRowid_ = GetBookmark();
  state_ = TDataSetState::Edit;
  Notify(TTableEvent::StateChanged);
}

void TTable::SetValue(std::string_view name, const TFieldValue& value) {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert)
    throw EKvfError(fmt::format("{}: таблица не в режиме редактирования", name_));
  const TFieldDef* f = def_.FindDeclared(name);
  if (!f) throw EKvfError(fmt::format("{}: поле '{}' не найдено", name_, std::string(name)));
  const TFieldDef& stored = def_.stored[static_cast<size_t>(def_.StoredIndex(f->name))];
  TFieldValue v = value;
  if (const auto* s = std::get_if<std::string>(&v); s && s->empty()) v = std::monostate{};
  if (!IsBlank(v)) {
    if (stored.IsText()) {
      v = ValueAsString(v);
      const size_t len = Utf8Length(std::get<std::string>(v));
      if (len > static_cast<size_t>(stored.size))
        throw EKvfError(fmt::format("Значение поля '{}' длиннее {} символов", f->name, stored.size));
    } else if (const auto* s = std::get_if<std::string>(&v)) {
      double d = 0;
      if (!ParseRealText(*s, d))
        throw EKvfError(fmt::format("'{}' не является правильным значением поля '{}'", *s, f->name));
      v = stored.IsInteger() ? TFieldValue(static_cast<int64_t>(std::llround(d))) : TFieldValue(d);
    } else if (stored.IsInteger()) {
      v = ValueAsInteger(v);
    } else {
      v = ValueAsFloat(v);
    }
    if (stored.type == TFieldType::Short) {
      const int64_t i = ValueAsInteger(v);
      if (i < -32768 || i > 32767) throw EKvfError(fmt::format("Значение {} поля '{}' вне диапазона", i, f->name));
    } else if (stored.type == TFieldType::Long || stored.type == TFieldType::AutoInc) {
      const int64_t i = ValueAsInteger(v);
      if (i < INT32_MIN || i > INT32_MAX) throw EKvfError(fmt::format("Значение {} поля '{}' вне диапазона", i, f->name));
    }
  }
  buffer_[static_cast<size_t>(def_.StoredIndex(f->name))] = v;
  Notify(TTableEvent::FieldChanged, state_ == TDataSetState::Edit ? pos_ : -1, f->name);
}

void TTable::Post() {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert) return;
  RequireEditable();
  int64_t rowid = editRowid_;
  const int editedPos = state_ == TDataSetState::Edit ? RecNo() : -1;
  try {
    TDatabase::TTransaction tx(*db_);
    std::vector<TFieldValue> values = buffer_;
    for (size_t i = 0; i < def_.stored.size(); ++i) {
      if (def_.stored[i].type == TFieldType::AutoInc && IsBlank(values[i])) {
        TStatement& m = db_->Prepare("SELECT COALESCE(MAX(" + QuoteIdent(def_.stored[i].name) + "), 0) + 1 FROM " +
                                     QuoteIdent(def_.sqlName));
        m.Step();
        values[i] = m.ColumnInt(0);
      }
    }
    std::string sql;
    if (state_ == TDataSetState::Insert) {
      std::string names, marks;
      for (size_t i = 0; i < def_.stored.size(); ++i) {
        names += (i ? ", " : "") + QuoteIdent(def_.stored[i].name);
        marks += i ? ", ?" : "?";
      }
      sql = "INSERT INTO " + QuoteIdent(def_.sqlName) + " (" + names + ") VALUES (" + marks + ")";
    } else {
      std::string sets;
      for (size_t i = 0; i < def_.stored.size(); ++i) sets += (i ? ", " : "") + QuoteIdent(def_.stored[i].name) + " = ?";
      sql = "UPDATE " + QuoteIdent(def_.sqlName) + " SET " + sets + " WHERE rowid = ?";
      values.push_back(rowid);
    }
    TStatement& s = db_->Prepare(sql);
    s.BindAll(values);
    s.Step();
    if (state_ == TDataSetState::Insert) rowid = db_->LastInsertRowid();
    tx.Commit();
  } catch (const EKvfError& e) {
    const std::string text = e.what();
    if (text.find("UNIQUE") != std::string::npos)
      throw EKvfError(fmt::format("Нарушение ключа в таблице [{}]", def_.fileName));
    throw EKvfError(fmt::format("Ошибка записи в таблицу [{}]\r\n({})", def_.fileName, text));
  }
  state_ = TDataSetState::Browse;
  buffer_.clear();
  InvalidateView();
  if (!Position(rowid)) First();
  Notify(TTableEvent::StateChanged);
  if (editedPos >= 0 && GetBookmark() == rowid && RecNo() == editedPos)
    Notify(TTableEvent::RowChanged, editedPos);  // a grid repaints one row
  else
    Notify(TTableEvent::DataChanged);
}

void TTable::Cancel() {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert) return;
  state_ = TDataSetState::Browse;
  buffer_.clear();
  Notify(TTableEvent::StateChanged);
}

void TTable::Delete() {
  RequireEditable();
  if (state_ == TDataSetState::Insert) {
    Cancel();
    return;
  }
  Cancel();
  const TBookmark rowid = GetBookmark();
  if (rowid < 0) throw EKvfError(fmt::format("Таблица [{}] пуста", def_.fileName));
  const int keepPos = RecNo();
  {
    TDatabase::TTransaction tx(*db_);
    TStatement& s = db_->Prepare("DELETE FROM " + QuoteIdent(def_.sqlName) + " WHERE rowid = ?");
    s.Bind(1, rowid);
    s.Step();
    tx.Commit();
  }
  InvalidateView();
  EnsureView();
  MoveTo(std::min(keepPos, static_cast<int>(rowids_.size()) - 1));
  Notify(TTableEvent::DataChanged);
}

int TTable::AddListener(TListener listener) {
  listeners_.emplace_back(nextListener_, std::make_shared<TListener>(std::move(listener)));
  return nextListener_++;
}

void TTable::RemoveListener(int id) {
  std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void TTable::Notify(TTableEvent event, int row, std::string field) {
  if (event == TTableEvent::DataChanged) viewRowid_ = -1;
  if (listeners_.empty()) return;
  if (ControlsDisabled()) {
    pendingChange_ = true;
    return;
  }
  const TTableChange change{event, row, std::move(field)};
  // A copy of the list, each entry kept alive by its own reference: listeners may
  // change the list, and a listener removed meanwhile is skipped.
  const auto snapshot = listeners_;
  for (const auto& [id, listener] : snapshot) {
    const bool registered =
        std::any_of(listeners_.begin(), listeners_.end(), [id = id](const auto& l) { return l.first == id; });
    if (registered) (*listener)(change);
  }
}

}  // namespace kvf
