#pragma once
// The layouts of every table the system reads: stored structure, the declared
// fields the system may read (with their declared lengths), lookup and
// calculated fields, keys and indexes.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kvf {

// A n text, S 16-bit, I 32-bit, + auto-increment, B k exact decimal, $ money, D date, L logical.
enum class TFieldType { Alpha, Short, Long, AutoInc, BCD, Money, Date, Logical };

// Hash and equality of field names without regard to ASCII case, usable with
// string_view keys (no upper-cased copy per lookup).
struct TNameHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const noexcept;
};
struct TNameEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept;
};
using TNameIndex = std::unordered_map<std::string, int, TNameHash, TNameEqual>;

struct TFieldDef {
  std::string name;
  TFieldType type = TFieldType::Alpha;
  int size = 0;  // A: maximal length in characters; B: digits after the point
  bool IsText() const { return type == TFieldType::Alpha; }
  bool IsInteger() const {
    return type == TFieldType::Short || type == TFieldType::Long || type == TFieldType::AutoInc ||
           type == TFieldType::Logical;
  }
};

struct TIndexDef {
  std::string name;
  std::vector<std::string> fields;
  bool caseInsensitive = false;
};

// A field whose value is looked up in another table of the same database.
struct TLookupDef {
  std::string name;
  int size = 0;
  std::string keyField;      // field of this table
  std::string lookupTable;   // SQL name of the other table
  std::string lookupKey;     // its key field
  std::string lookupResult;  // its field that gives the value
};

struct TTableDef {
  std::string fileName;  // "Catalog.DB": the name used in messages and in local SQL
  std::string sqlName;   // "Catalog": the table in the database
  std::string alias;     // "KMDB_Catalog", "KMDB_Registry", "KMDB_Report"
  std::vector<TFieldDef> stored;    // stored structure, in stored order
  std::vector<TFieldDef> declared;  // what may be read by name
  std::vector<TLookupDef> lookups;
  std::vector<TFieldDef> calculated;  // declared, never stored, always blank
  std::vector<std::string> primaryKey;
  std::vector<TIndexDef> indexes;
  bool editable = false;  // maintained by the user: writes are allowed

  // Names to positions in `stored`, `declared`; built with the layout.
  TNameIndex storedIndex, declaredIndex;
  void BuildIndexes();

  const TFieldDef* FindStored(std::string_view name) const;
  const TFieldDef* FindDeclared(std::string_view name) const;
  const TLookupDef* FindLookup(std::string_view name) const;
  const TFieldDef* FindCalculated(std::string_view name) const;
  int StoredIndex(std::string_view name) const;  // -1 when not stored
  const TIndexDef* FindIndex(std::string_view name) const;
};

// Every table: the catalog tables in the order start-up opens them, then
// OrderLst.DB and Report.db.
const std::vector<TTableDef>& AllTableDefs();
// By file name ("Catalog.DB", "catalog.db") or SQL name ("Catalog"), ignoring case.
const TTableDef* FindTableDef(std::string_view name);
const TTableDef& TableDef(std::string_view name);  // raises EKvfError when unknown

// Database file of each alias folder.
std::string DatabaseFileOfAlias(std::string_view alias);

}  // namespace kvf
