#include "catalog/lookups.h"

#include <cmath>
#include <fmt/format.h>

#include "catalog/filter.h"
#include "catalog/dm.h"
#include "core/error.h"
#include "core/setup.h"
#include "core/geometry.h"

namespace kvf {
namespace {

[[noreturn]] void MissingArticle(const std::string& id, const char* what) {
  throw EKvfError(fmt::format("В каталоге отсутствуют данные для [{}]!\r\n(Поиск [{}] через [Код])", id, what));
}

bool LocateInt(TTable& table, const char* field, int value) { return table.Locate({field}, {int64_t{value}}); }

}  // namespace

bool LocateArticle(const std::string& id) { return DM().T_Catalog.Locate({"ID"}, {id}); }

std::string GetProdArticle(const std::string& id, int mode, bool quiet) {
  if (!LocateArticle(id)) {
    if (quiet) return {};
    MissingArticle(id, "Артикул производителя");
  }
  TTable& t = DM().T_Catalog;
  switch (mode) {
    case 0: return t.AsInteger("UseArticle") == 2 ? t.AsString("ProdArticle2") : t.AsString("ProdArticle");
    case 1: return t.AsString("ProdArticle");
    case 2: return t.AsString("ProdArticle2");
    default: return {};
  }
}

TArticleData GetArticleData(const std::string& id, bool quiet) {
  if (!LocateArticle(id)) {
    if (quiet) return {};
    MissingArticle(id, "Артикул производителя");
  }
  TTable& t = DM().T_Catalog;
  return {t.AsString("ProdArticle"), t.AsString("ProdArticle2"), t.AsString("Name"), t.AsString("Unit")};
}

std::string GetArticleUnit(const std::string& id) {
  if (!LocateArticle(id)) MissingArticle(id, "Ед.изм");
  return DM().T_Catalog.AsString("Unit");
}

std::string GetArticleName(const std::string& id, bool quiet) {
  if (!LocateArticle(id)) {
    if (quiet) return {};
    MissingArticle(id, "Наименование");
  }
  return DM().T_Catalog.AsString("Name");
}

// The rate of a currency in the document's list; a currency the list lacks, or
// a negative rate, cannot price anything.
static float PricingRate(const TkvfSetup& setup, int currency) {
  const float rate = GetRate(setup.CurrentRates, currency);
  if (setup.CurrentRates && IndexOfCurrency(setup.CurrentRates, currency) < 0) {
    const std::string name = GetCurrencyName(currency);
    throw EKvfError(fmt::format("В списке курсов документа нет валюты [{}]!",
                                name.empty() ? std::to_string(currency) : fmt::format("{} ({})", name, currency)));
  }
  if (rate < 0 || !std::isfinite(rate))
    throw EKvfError(fmt::format("Неверный курс валюты [{}] в списке курсов документа: {}", currency, rate));
  return rate;
}

TMoney GetArticlePrice(const std::string& id, bool quiet) {
  const TkvfSetup& setup = Setup();
  const float rc = PricingRate(setup, setup.CurrentCurrency);
  if (!LocateArticle(id)) {
    if (quiet) return {};
    MissingArticle(id, "Наименование");
  }
  TTable& t = DM().T_Catalog;
  const TMoney price = t.AsMoney("Price");
  const int currency = static_cast<int>(t.AsInteger("Currency"));
  const int group = static_cast<int>(t.AsInteger("PriceGrp"));
  const float ra = PricingRate(setup, currency);
  if (rc == 0) throw EKvfError("Значение текущей валюты = 0!");
  TMoney converted = price * (static_cast<double>(ra) / static_cast<double>(rc));
  if (group != 0) {
    const double surcharge = GetPriceGroupSurcharge(group, 0);
    converted = converted * (1 + surcharge / 100);
  }
  return converted;
}

TFieldValue GetMaterialField(const std::string& id, const std::string& fieldName, bool quiet) {
  if (id.empty() || fieldName.empty()) return std::string();
  if (!LocateArticle(id)) {
    if (quiet) return std::string();
    throw EKvfError(fmt::format("В каталоге не найден материал с кодом [{}]!", id));
  }
  TTable& t = DM().T_Catalog;
  if (!t.Def().FindDeclared(fieldName)) return std::string();
  return t.Value(fieldName);
}

bool IsVirtualArticle(const std::string& id) {
  if (id.empty() || !LocateArticle(id)) return false;
  return DM().T_Catalog.AsInteger("Virtual") == 1;
}

std::string GetCurrencyName(int id) {
  TTable& t = DM().T_Currency;
  return LocateInt(t, "ID", id) ? t.AsString("Name") : std::string();
}

int GetCurrencyDecimals(int id) {
  TTable& t = DM().T_Currency;
  return LocateInt(t, "ID", id) ? static_cast<int>(t.AsInteger("Dec")) : 2;
}

void GetCurrencyWords(int id, TCurrencyWords& words) {
  TTable& t = DM().T_Currency;
  if (!LocateInt(t, "ID", id)) return;
  words.Nominative = t.AsString("Nominative");
  words.Genitive = t.AsString("Genitive");
  words.GenitivePlural = t.AsString("GenitivePlural");
  words.Gender = static_cast<int>(t.AsInteger("Gender"));
  words.Dec = static_cast<int>(t.AsInteger("Dec"));
}

float GetRate(const TkvfCurrencyRates* list, int id) {
  if (!list) return 0;
  for (const TkvfCurrencyItem& item : *list)
    if (item.FCurrencyID == id) return item.FRate;
  return -1;
}

int IndexOfCurrency(const TkvfCurrencyRates* list, int id) {
  if (!list) return -1;
  for (size_t i = 0; i < list->size(); ++i)
    if ((*list)[i].FCurrencyID == id) return static_cast<int>(i);
  return -1;
}

void LoadCurrencyRates(TkvfCurrencyRates& list) {
  list.clear();
  TTable& t = DM().T_Currency;
  for (t.First(); !t.Eof(); t.Next())
    list.push_back({static_cast<int32_t>(t.AsInteger("ID")), static_cast<float>(t.AsFloat("Value"))});
}

double GetPriceGroupSurcharge(int groupId, int column) {
  TTable& t = DM().T_PriceGrp;
  if (!LocateInt(t, "GroupID", groupId))
    throw EKvfError(fmt::format("В каталоге ценовых групп отсутствуют данные для группы [{}]!", groupId));
  return t.AsFloat(fmt::format("Reduce_{}", column + 1));
}

bool FindComplect(const std::string& id) { return DM().T_FrnComp.FindKey({id}); }

std::string GetComplectName(const std::string& id) {
  if (!FindComplect(id))
    throw EKvfError(fmt::format("В БД комплектов фурнитур отсутствуют\r\nданные для комплекта [{}]", id));
  return DM().T_FrnComp.AsString("Name");
}

std::pair<bool, std::string> FindComplectName(const std::string& id) {
  if (!FindComplect(id)) return {false, {}};
  return {true, DM().T_FrnComp.AsString("Name")};
}

int GetComplectGroup(const std::string& id) {
  return FindComplect(id) ? static_cast<int>(DM().T_FrnComp.AsInteger("Group")) : 0;
}

int GetComplectColor(const std::string& id) {
  return FindComplect(id) ? static_cast<int>(DM().T_FrnComp.AsInteger("ScrColor")) : 16777215;
}

int GetComplectImage(const std::string& id) {
  return FindComplect(id) ? static_cast<int>(DM().T_FrnComp.AsInteger("Image")) : 0;
}

std::pair<std::string, bool> GetComplectPrintName(const std::string& id) {
  if (!FindComplect(id)) return {{}, false};
  TTable& t = DM().T_FrnComp;
  return {t.AsString("PrintName"), t.AsInteger("Printable") == 1};
}

int GetSideHandleDirect(const std::string& id, int side) {
  TTable& t = DM().T_FrnSide;
  if (!t.Locate({"ID", "Side"}, {id, int64_t{side}})) return 0;
  return static_cast<int>(t.AsInteger("HandleDirect"));
}

bool CheckPropKey(int propKey, const std::vector<std::string>& selection, int group) {
  TTable& prop = DM().T_FrnProp;
  if (!prop.Locate({"PropKey"}, {int64_t{propKey}})) return true;
  const std::string groupText = std::to_string(group);
  for (const std::string& entry : selection) {
    if (entry.empty() || entry.substr(0, 1) != groupText.substr(0, 1)) continue;
    const int id = StrToIntOrZero(entry.size() > 2 ? entry.substr(2) : std::string());
    if (prop.Locate({"PropKey", "ID"}, {int64_t{propKey}, int64_t{id}})) continue;
    const int base = id / 10 * 10;
    TFilterScope scope(prop, fmt::format("PropKey = {} and ID >= {} and ID < {}", propKey, base, base + 10));
    if (!prop.IsEmpty()) return false;
  }
  return true;
}

bool ComplectFitsSides(const std::vector<TSideFit>* sides, const std::string& id) {
  if (!sides) return false;
  TTable& t = DM().T_FrnSide;
  TFilterScope scope(t, "ID=" + QuotedFilterValue(id));
  if (t.RecordCount() != static_cast<int>(sides->size())) return false;
  for (t.First(); !t.Eof(); t.Next()) {
    const int i = static_cast<int>(t.AsInteger("Side")) - 1;
    if (i < 0 || i >= static_cast<int>(sides->size())) return false;
    const TSideFit& side = (*sides)[static_cast<size_t>(i)];
    const int length = ScaleValue(side.chordLength, 10);
    const int radius = ScaleValue(side.radius, 10);
    const double angle = side.cornerAngle;
    if (length < t.AsInteger("MinSize") || length > t.AsInteger("MaxSize")) return false;
    if (angle < t.AsFloat("MinAngle") || angle > t.AsFloat("MaxAngle")) return false;
    if (radius < t.AsInteger("MinRadius") || radius > t.AsInteger("MaxRadius")) return false;
    if (side.halfCircle && t.AsInteger("FullRadius") == 0) return false;
    if (side.segmentArc && t.AsInteger("HalfRadius") == 0) return false;
    if (side.elliptic && t.AsInteger("EllipseRadius") == 0) return false;
  }
  return true;
}

std::string GetSystemName(const std::string& id) {
  TTable& t = DM().T_SysList;
  return t.Locate({"ID"}, {id}) ? t.AsString("Name") : std::string();
}

int GetSystemCommonGrp(const std::string& id, bool quiet) {
  TTable& t = DM().T_SysList;
  if (!t.Locate({"ID"}, {id})) {
    if (quiet) return 0;
    throw EKvfError(fmt::format("В БД отсутствуют данные для системы [{}]!", id));
  }
  return static_cast<int>(t.AsInteger("CommonGrp"));
}

std::string GetSystemBaseColor(const std::string& id) {
  TTable& t = DM().T_SysList;
  return t.FindKey({id}) ? t.AsString("BaseColor") : std::string();
}

std::string GetProfSysName(const std::string& schlSysId) {
  TTable& t = DM().T_SysProf;
  return t.Locate({"SchlSysID"}, {schlSysId}) ? t.AsString("Name") : std::string();
}

void GetFalzParams(int id, int& falzLuft, int& falzSize, int& falzPos, bool quiet) {
  falzLuft = falzSize = falzPos = 0;
  TTable& t = DM().T_FalzList;
  if (!LocateInt(t, "ID", id)) {
    if (quiet) return;
    throw EKvfError(fmt::format("В БД параметров фальца отсутствуют данные для кода [{}]!", id));
  }
  falzLuft = static_cast<int>(t.AsInteger("FalzLuft"));
  falzSize = static_cast<int>(t.AsInteger("FalzSize"));
  falzPos = static_cast<int>(t.AsInteger("FalzPos"));
}

void GetDornMass(int id, double& dornMass, bool quiet) {
  dornMass = 0;
  TTable& t = DM().T_DornList;
  if (!LocateInt(t, "ID", id)) {
    if (quiet) return;
    throw EKvfError(fmt::format("В БД параметров дорнмасса отсутствуют данные для кода [{}]!", id));
  }
  dornMass = t.AsFloat("DornMass");
}

void GetStulpType(int id, int& stulpType, bool quiet) {
  stulpType = 0;
  TTable& t = DM().T_StulpList;
  if (!LocateInt(t, "ID", id)) {
    if (quiet) return;
    throw EKvfError(fmt::format("В БД типов штульпа отсутствуют данные для кода [{}]!", id));
  }
  stulpType = static_cast<int>(t.AsInteger("StulpType"));
}

void GetOpenType(int id, int& openType, bool quiet) {
  openType = 0;
  TTable& t = DM().T_OpenList;
  if (!LocateInt(t, "ID", id)) {
    if (quiet) return;
    throw EKvfError(fmt::format("В БД типов открываний створок отсутствуют данные для кода [{}]!", id));
  }
  openType = static_cast<int>(t.AsInteger("OpenType"));
}

namespace {
std::string ListName(TTable& t, int id) { return LocateInt(t, "ID", id) ? t.AsString("Name") : std::string(); }
}  // namespace

std::string GetFalzName(int id) { return ListName(DM().T_FalzList, id); }
std::string GetDornName(int id) { return ListName(DM().T_DornList, id); }
std::string GetStulpName(int id) { return ListName(DM().T_StulpList, id); }
std::string GetOpenName(int id) { return ListName(DM().T_OpenList, id); }

std::string GetColorName(const std::string& color) {
  if (color.empty()) return {};
  TTable& t = DM().T_Color;
  return t.Locate({"Color"}, {color}) ? t.AsString("Name") : std::string();
}

}  // namespace kvf
