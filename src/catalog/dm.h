#pragma once
// TDM: the catalog data module. It holds the connections of the three aliases
// and one shared table object per table; every part of the system reaches the
// tables through it and the lookups.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalog/database.h"
#include "catalog/query.h"
#include "catalog/table.h"

namespace kvf {

class TDM {
 public:
  TDM();
  ~TDM();
  TDM(const TDM&) = delete;
  TDM& operator=(const TDM&) = delete;

  // Points the alias at the folder's database file and opens it. The catalog
  // must exist; the registry and the report list are created when missing.
  // Raises EKvfError.
  void ConnectDatabase(const std::string& alias, const std::filesystem::path& folder);
  void DisconnectAll();
  TDatabase* DB_Catalog() const { return catalog_.get(); }
  TDatabase* DB_Registry() const { return registry_.get(); }
  TDatabase* DB_Report() const { return report_.get(); }
  TQuery::TAliasResolver Aliases() const;

  // Opens the catalog tables in their fixed order; each failure is reported by
  // OpenDataSet and the next table is still opened. Without a catalog
  // connection one error says so. Returns the number of tables opened.
  int OpenTables();
  // Open or close with the messages of the data module; true on success.
  bool OpenDataSet(TTable& table);
  bool OpenDataSet(TQuery& query);
  bool CloseDataSet(TTable& table);
  bool CloseDataSet(TQuery& query);

  // The catalog objects in the order OpenTables opens them.
  std::vector<TTable*> CatalogTables();
  // The table object of that name ("T_Catalog"); null when none.
  TTable* FindTableObject(std::string_view objectName);

  TTable T_Color, T_Currency, T_PriceGrp, T_SysList, T_SysColor, T_SysProp, T_SysProf, T_Catalog, T_Material,
      T_FalzList, T_DornList, T_StulpList, T_OpenList, T_FrnComp, T_FrnSide, T_FrnItem, T_FrnSet, T_FrnArt,
      T_FrnSchl, T_FrnDop, T_FrnAbd, T_FrnProp, T_FrnItoI, T_OrderList;

 private:
  std::unique_ptr<TDatabase> catalog_, registry_, report_;
};

// The process-wide data module (set by start-up or a test; not owned).
void SetDM(TDM* dm);
TDM& DM();  // raises EKvfError when none is set
bool HasDM();

// Suspends the bound controls of a table and removes its filter when the
// scope ends, also on failure.
class TFilterScope {
 public:
  TFilterScope(TTable& table, std::string filter);
  ~TFilterScope();
  TFilterScope(const TFilterScope&) = delete;
  TFilterScope& operator=(const TFilterScope&) = delete;

 private:
  TTable& table_;
};

}  // namespace kvf
