#pragma once
// A catalog database in a temporary folder with every table created empty, and
// rows put in by field name; a TDM connected to it on request.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalog/database.h"
#include "catalog/dm.h"
#include "catalog/schema.h"
#include "catalog/schema_sql.h"
#include "support/temp_dir.h"

namespace kvf::test {

using TRow = std::vector<std::pair<std::string, TFieldValue>>;

class TCatalogFixture {
 public:
  TCatalogFixture() {
    db_ = std::make_unique<TDatabase>(dir_.path() / DatabaseFileOfAlias("KMDB_Catalog"), true);
    TDatabase::TTransaction tx(*db_);
    CreateAliasTables(*db_, "KMDB_Catalog");
    tx.Commit();
  }
  ~TCatalogFixture() {
    if (dm_ && HasDM() && &DM() == dm_.get()) SetDM(nullptr);
  }

  void Insert(const std::string& table, const TRow& row) {
    const TTableDef& def = TableDef(table);
    std::string names, marks;
    std::vector<TFieldValue> values;
    for (const auto& [name, value] : row) {
      names += (names.empty() ? "" : ", ") + QuoteIdent(name);
      marks += marks.empty() ? "?" : ", ?";
      values.push_back(value);
    }
    TDatabase& db = dm_ ? *dm_->DB_Catalog() : *db_;
    TStatement& s = db.Prepare("INSERT INTO " + QuoteIdent(def.sqlName) + " (" + names + ") VALUES (" + marks + ")");
    s.BindAll(values);
    s.Step();
  }
  void DropTable(const std::string& table) { (dm_ ? *dm_->DB_Catalog() : *db_).Exec("DROP TABLE " + QuoteIdent(TableDef(table).sqlName)); }

  // A data module on this catalog with the tables opened, installed as DM().
  TDM& OpenDM() {
    db_.reset();
    dm_ = std::make_unique<TDM>();
    dm_->ConnectDatabase("KMDB_Catalog", dir_.path());
    dm_->ConnectDatabase("KMDB_Registry", dir_.path() / "Registry");
    dm_->ConnectDatabase("KMDB_Report", dir_.path() / "Reports");
    dm_->OpenTables();
    SetDM(dm_.get());
    return *dm_;
  }
  const std::filesystem::path& Dir() const { return dir_.path(); }

 private:
  TTempDir dir_;
  std::unique_ptr<TDatabase> db_;
  std::unique_ptr<TDM> dm_;
};

}  // namespace kvf::test
