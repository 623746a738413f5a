#include "catalog/schema_sql.h"

#include "catalog/database.h"
#include "core/cp1251.h"

namespace kvf {

std::string CreateTableSql(const TTableDef& def) {
  std::string sql = "CREATE TABLE " + QuoteIdent(def.sqlName) + " (";
  for (size_t i = 0; i < def.stored.size(); ++i) {
    const TFieldDef& f = def.stored[i];
    const char* type = f.IsText() ? "TEXT" : f.IsInteger() ? "INTEGER" : "REAL";
    sql += (i ? ", " : "") + QuoteIdent(f.name) + " " + type;
  }
  return sql + ")";
}

void CreateTable(TDatabase& db, const TTableDef& def) {
  db.Exec(CreateTableSql(def));
  auto columns = [](const std::vector<std::string>& fields) {
    std::string list;
    for (const std::string& f : fields) list += (list.empty() ? "" : ", ") + QuoteIdent(f);
    return list;
  };
  if (!def.primaryKey.empty())
    db.Exec("CREATE UNIQUE INDEX " + QuoteIdent(def.sqlName + "_PK") + " ON " + QuoteIdent(def.sqlName) + " (" +
            columns(def.primaryKey) + ")");
  for (const TIndexDef& ix : def.indexes)
    db.Exec("CREATE INDEX " + QuoteIdent(def.sqlName + "_" + ix.name) + " ON " + QuoteIdent(def.sqlName) + " (" +
            columns(ix.fields) + ")");
}

void CreateAliasTables(TDatabase& db, const std::string& alias) {
  for (const TTableDef& def : AllTableDefs())
    if (SameTextI(def.alias, alias)) CreateTable(db, def);
}

}  // namespace kvf
