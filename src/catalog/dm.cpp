#include "catalog/dm.h"

#include <fmt/format.h>

#include "catalog/schema_sql.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/prompts.h"

namespace kvf {
namespace {

TDM* g_dm = nullptr;

}  // namespace

TDM::TDM()
    : T_Color("T_Color", TableDef("COLORSET.DB")),
      T_Currency("T_Currency", TableDef("Currency.DB")),
      T_PriceGrp("T_PriceGrp", TableDef("PriceGrp.DB")),
      T_SysList("T_SysList", TableDef("SysList.DB")),
      T_SysColor("T_SysColor", TableDef("SysColor.db")),
      T_SysProp("T_SysProp", TableDef("SysProp.DB")),
      T_SysProf("T_SysProf", TableDef("SysProf.DB")),
      T_Catalog("T_Catalog", TableDef("Catalog.DB")),
      T_Material("T_Material", TableDef("Material.db")),
      T_FalzList("T_FalzList", TableDef("ParamList.DB")),
      T_DornList("T_DornList", TableDef("ParamList.DB")),
      T_StulpList("T_StulpList", TableDef("ParamList.DB")),
      T_OpenList("T_OpenList", TableDef("ParamList.DB")),
      T_FrnComp("T_FrnComp", TableDef("FrnComp.DB")),
      T_FrnSide("T_FrnSide", TableDef("FrnSide.DB")),
      T_FrnItem("T_FrnItem", TableDef("FrnItem.DB")),
      T_FrnSet("T_FrnSet", TableDef("FrnSet.DB")),
      T_FrnArt("T_FrnArt", TableDef("FrnArt.DB")),
      T_FrnSchl("T_FrnSchl", TableDef("FrnSchl.DB")),
      T_FrnDop("T_FrnDop", TableDef("FrnDop.DB")),
      T_FrnAbd("T_FrnAbd", TableDef("FrnAbd.DB")),
      T_FrnProp("T_FrnProp", TableDef("FrnProp.db")),
      T_FrnItoI("T_FrnItoI", TableDef("FrnItoI.DB")),
      T_OrderList("T_OrderList", TableDef("OrderLst.DB")) {
  const std::pair<TTable*, const char*> fixed[] = {{&T_FalzList, "ID >= 100 and ID <= 199"},
                                                   {&T_DornList, "ID >= 200 and ID <= 299"},
                                                   {&T_StulpList, "ID >= 300 and ID <= 399"},
                                                   {&T_OpenList, "ID >= 400 and ID <= 499"},
                                                   {&T_Material, "ID <> 0"}};
  for (const auto& [table, filter] : fixed) {
    table->SetFilter(filter);
    table->SetFiltered(true);
  }
}

TDM::~TDM() {
  if (g_dm == this) g_dm = nullptr;
}

void TDM::ConnectDatabase(const std::string& alias, const std::filesystem::path& folder) {
  std::unique_ptr<TDatabase>* slot = SameTextI(alias, "KMDB_Catalog")    ? &catalog_
                                     : SameTextI(alias, "KMDB_Registry") ? &registry_
                                     : SameTextI(alias, "KMDB_Report")   ? &report_
                                                                         : nullptr;
  if (!slot) throw EKvfError(fmt::format("Неизвестный псевдоним {}", alias));
  for (TTable* t : CatalogTables())
    if (t->Database() == slot->get()) t->SetDatabase(nullptr);
  if (T_OrderList.Database() == slot->get()) T_OrderList.SetDatabase(nullptr);
  slot->reset();
  const std::filesystem::path file = folder / DatabaseFileOfAlias(alias);
  const bool userOwned = slot != &catalog_;
  std::error_code ec;
  const bool exists = std::filesystem::exists(file, ec);
  if (!exists && !userOwned) throw EKvfError(fmt::format("Каталог фурнитуры не найден: {}", file.string()));
  if (!exists) std::filesystem::create_directories(folder, ec);
  *slot = std::make_unique<TDatabase>(file, userOwned);
  if (!exists) {
    TDatabase::TTransaction tx(**slot);
    CreateAliasTables(**slot, SameTextI(alias, "KMDB_Registry") ? "KMDB_Registry" : "KMDB_Report");
    tx.Commit();
  }
  if (slot == &catalog_)
    for (TTable* t : CatalogTables()) t->SetDatabase(catalog_.get());
  if (slot == &registry_) T_OrderList.SetDatabase(registry_.get());
}

void TDM::DisconnectAll() {
  for (TTable* t : CatalogTables()) t->SetDatabase(nullptr);
  T_OrderList.SetDatabase(nullptr);
  catalog_.reset();
  registry_.reset();
  report_.reset();
}

TQuery::TAliasResolver TDM::Aliases() const {
  return {{"KMDB_CATALOG", catalog_.get()}, {"KMDB_REGISTRY", registry_.get()}, {"KMDB_REPORT", report_.get()}};
}

std::vector<TTable*> TDM::CatalogTables() {
  return {&T_Color,    &T_Currency, &T_PriceGrp,  &T_SysList, &T_SysColor, &T_SysProp, &T_SysProf, &T_Catalog,
          &T_Material, &T_FalzList, &T_DornList,  &T_StulpList, &T_OpenList, &T_FrnComp, &T_FrnSide, &T_FrnItem,
          &T_FrnSet,   &T_FrnArt,   &T_FrnSchl,   &T_FrnDop,  &T_FrnAbd,   &T_FrnProp, &T_FrnItoI};
}

TTable* TDM::FindTableObject(std::string_view objectName) {
  for (TTable* t : CatalogTables())
    if (SameTextI(t->Name(), objectName)) return t;
  if (SameTextI(T_OrderList.Name(), objectName)) return &T_OrderList;
  return nullptr;
}

int TDM::OpenTables() {
  if (!catalog_) {
    ShowError("Каталог фурнитуры не подключен: таблицы каталога не открыты");
    return 0;
  }
  int opened = 0;
  for (TTable* t : CatalogTables()) opened += OpenDataSet(*t) ? 1 : 0;
  return opened;
}

bool TDM::OpenDataSet(TTable& table) {
  try {
    table.Open();
    return true;
  } catch (const std::exception& e) {
    ShowError(fmt::format("Ошибка открытия файла [{}]\r\n({})", table.TableName(), e.what()));
    return false;
  }
}

bool TDM::OpenDataSet(TQuery& query) {
  try {
    query.Open(Aliases());
    return true;
  } catch (const std::exception& e) {
    ShowError(fmt::format("Ошибка открытия SQL-запроса:\r\n({})\r\nSQL:\r\n({})", e.what(), query.Text()));
    return false;
  }
}

bool TDM::CloseDataSet(TTable& table) {
  try {
    table.Close();
    return true;
  } catch (const std::exception& e) {
    ShowError(fmt::format("Ошибка закрытия файла [{}]\r\n({})", table.TableName(), e.what()));
    return false;
  }
}

bool TDM::CloseDataSet(TQuery& query) {
  try {
    query.Close();
    return true;
  } catch (const std::exception& e) {
    ShowError(fmt::format("Ошибка закрытия SQL-запроса:\r\n({})\r\nSQL:\r\n({})", e.what(), query.Text()));
    return false;
  }
}

void SetDM(TDM* dm) { g_dm = dm; }
bool HasDM() { return g_dm != nullptr; }
TDM& DM() {
  if (!g_dm) throw EKvfError("Модуль данных каталога не создан");
  return *g_dm;
}

TFilterScope::TFilterScope(TTable& table, std::string filter) : table_(table) {
  table_.DisableControls();
  try {
    table_.SetFilter(std::move(filter));
    table_.SetFiltered(true);
  } catch (...) {
    table_.SetFiltered(false);
    table_.EnableControls();
    throw;
  }
}

TFilterScope::~TFilterScope() {
  try {
    table_.SetFiltered(false);
    table_.SetFilter({});
  } catch (...) {
    // removing a filter cannot fail on a valid table; nothing to restore
  }
  table_.EnableControls();
}

}  // namespace kvf
