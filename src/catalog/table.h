#pragma once
// TTable: a table object of the data module. It stands on one row of a view of
// its table: the rows that pass its filter (when filtered), in the order of its
// current index (the primary key, or the stored order for tables without one).
// Only declared, lookup and calculated fields can be read by name. Writes are
// allowed on the tables the user maintains and are transactional: a failed
// post leaves the table as it was.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/schema.h"
#include "catalog/value.h"

namespace kvf {

class TDatabase;
class TStatement;

enum class TDataSetState { Inactive, Browse, Edit, Insert };
// What a table tells its listeners (the bound controls, a grid model):
// Scrolled — the cursor stands on another row (`row`, its position in the view,
// -1 when there is none or it is not known); DataChanged — the view's rows may
// all have changed (filter, index, a posted or deleted row); StateChanged — the
// table went into or out of editing; FieldChanged — `field` of the edited row
// `row` took a new value; RowChanged — the posted row `row` has new values and
// kept its place in the view.
enum class TTableEvent { Scrolled, DataChanged, StateChanged, FieldChanged, RowChanged };
struct TTableChange {
  TTableEvent kind = TTableEvent::DataChanged;
  int row = -1;
  std::string field;
};
using TBookmark = int64_t;

class TTable {
 public:
  TTable(std::string objectName, const TTableDef& def);
  TTable(const TTable&) = delete;
  TTable& operator=(const TTable&) = delete;

  const std::string& Name() const { return name_; }  // "T_Catalog"
  const TTableDef& Def() const { return def_; }
  const std::string& TableName() const { return def_.fileName; }

  // The connection of the table's alias (not owned); set before Open.
  void SetDatabase(TDatabase* db);
  TDatabase* Database() const { return db_; }
  // Raises EKvfError when there is no connection, the table is missing or lacks
  // a declared field.
  void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::Inactive; }
  TDataSetState State() const { return state_; }

  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() {
    Settle();
    return eof_;
  }
  bool Bof() {
    Settle();
    return bof_;
  }
  bool IsEmpty();
  int RecordCount();
  int RecNo();  // 0-based position in the view, -1 on none

  // Exact search on the primary key; stands on the row when found.
  bool FindKey(const std::vector<TFieldValue>& key);
  // The first row of the view (in its order) whose fields equal the values:
  // exact and case-sensitive unless told otherwise; `partial` matches a prefix.
  bool Locate(const std::vector<std::string>& fields, const std::vector<TFieldValue>& values,
              bool caseInsensitive = false, bool partial = false);

  // Reads the view anew (rows other programs changed), staying on the same row
  // where it is still in the view.
  void Refresh();
  void SetFilter(std::string filter);
  const std::string& Filter() const { return filter_; }
  void SetFiltered(bool filtered);
  bool Filtered() const { return filtered_; }
  // "" orders by the primary key; otherwise a secondary index of the table.
  void SetIndexName(std::string name);
  const std::string& IndexName() const { return indexName_; }

  TBookmark GetBookmark();
  bool GotoBookmark(TBookmark bookmark);  // false when the row is no longer in the view
  // While disabled (the calls nest), events are held back; the last
  // EnableControls sends one DataChanged in their place.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // Fields: declared stored fields, then lookup and calculated fields.
  std::vector<std::string> FieldNames() const;
  bool HasField(std::string_view name) const;
  // The value of the current row; blank when the view is empty. An undeclared
  // name raises EKvfError.
  TFieldValue Value(std::string_view name);
  std::string AsString(std::string_view name) { return ValueAsString(Value(name)); }
  int64_t AsInteger(std::string_view name) { return ValueAsInteger(Value(name)); }
  double AsFloat(std::string_view name) { return ValueAsFloat(Value(name)); }
  TMoney AsMoney(std::string_view name) { return ValueAsMoney(Value(name)); }
  bool IsNull(std::string_view name) { return IsBlank(Value(name)); }

  // The rows of the current view by position, for a grid: neither moves the
  // cursor nor sends an event. ValueAt of a position outside the view is blank;
  // the edited row reads its edit buffer.
  int ViewCount();
  TFieldValue ValueAt(int pos, std::string_view name);
  TBookmark BookmarkAt(int pos);  // -1 outside the view
  // The tables the user maintains (rates, price groups, the registry) take edits.
  bool Editable() const { return def_.editable; }

  void Append();
  void Insert();
  void Edit();
  // Checks the value against the field's type and length; raises EKvfError.
  void SetValue(std::string_view name, const TFieldValue& value);
  void Post();
  void Cancel();
  void Delete();

  // A listener may add or remove listeners (itself too) while it is being told;
  // one removed is not called again, one added hears the next event.
  using TListener = std::function<void(const TTableChange&)>;
  int AddListener(TListener listener);
  void RemoveListener(int id);

 private:
  void RequireActive() const;
  // Stands on the first row when a filter or index change left that pending.
  void Settle();
  void ChangeView();  // the view is built again and the table goes to its first row
  void RequireEditable() const;
  void EnsureView();
  void InvalidateView();  // the view is built again when it is walked
  void KnowPosition();    // the position of the current row in the view
  void Step(int delta);   // Next (+1) or Prior (-1)
  void StandOnFirst();    // the first row, without building the whole view
  void MoveTo(int pos);
  void StandOn(int64_t rowid, int pos);
  bool Position(int64_t rowid);
  // The first row of the view without building it (LIMIT 1).
  int64_t FirstRowid(const std::string& extraWhere, const std::vector<TFieldValue>& extraParams);
  void LoadRow();  // the declared fields of the current row
  std::vector<TFieldValue> LoadFullRow(int64_t rowid);
  std::string OrderBy() const;
  std::string ViewWhere(std::vector<TFieldValue>& params) const;
  const std::string& SelectRowids() const;
  TFieldValue ReadLookup(const TLookupDef& lookup, const TFieldValue& key);
  void Notify(TTableEvent event, int row = -1, std::string field = {});

  std::string name_;
  const TTableDef& def_;
  TDatabase* db_ = nullptr;
  TDataSetState state_ = TDataSetState::Inactive;
  std::string selectColumns_;      // every stored column, NULL for the ones the file lacks
  std::string selectDeclared_;     // the declared ones only: what reading needs
  std::vector<int> declaredIndex_;  // their positions among the stored columns

  std::string filter_;
  bool filtered_ = false;
  std::string indexName_;

  bool viewValid_ = false;
  bool pendingFirst_ = false;
  mutable std::string translatedFilter_;  // the filter text `translated_` belongs to
  mutable std::string translatedSql_;
  mutable std::vector<TFieldValue> translatedParams_;
  // Filters recur (the same complect, element, article): their translations are kept.
  struct TTranslation {
    std::string sql;
    std::vector<TFieldValue> params;
  };
  mutable std::unordered_map<std::string, TTranslation> translations_;
  // Statements of exact locates on the unfiltered table, by field list.
  std::unordered_map<std::string, TStatement*> locates_;
  mutable std::string orderBy_, selectRowids_;
  std::vector<int64_t> rowids_;
  std::unordered_map<int64_t, int> posOf_;
  int64_t curRowid_ = -1;  // the current row, -1 on none
  int pos_ = -1;           // its position in the view, -1 while not known
  bool eof_ = true, bof_ = true;

  int64_t loadedRowid_ = -1;
  std::vector<TFieldValue> row_;     // stored values of the current row
  std::vector<TFieldValue> buffer_;  // edit or insert buffer
  int64_t editRowid_ = -1;

  int disableCount_ = 0;
  bool pendingChange_ = false;
  std::vector<std::pair<int, std::shared_ptr<TListener>>> listeners_;
  int64_t viewRowid_ = -1;             // the row ValueAt read last
  std::vector<TFieldValue> viewRow_;
  int nextListener_ = 1;
};

}  // namespace kvf
