#pragma once
// Catalog lookups: one question about the catalog each, on the shared table
// objects of DM(). They move the current row of the table they search. With
// `quiet` a missing row gives the empty result instead of the error.
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "catalog/value.h"
#include "core/currency_rates.h"
#include "core/money.h"
#include "core/text_utils.h"

namespace kvf {

// Articles (Catalog.DB)
bool LocateArticle(const std::string& id);
std::string GetProdArticle(const std::string& id, int mode, bool quiet);
struct TArticleData {
  std::string prodArticle, prodArticle2, name, unit;
};
TArticleData GetArticleData(const std::string& id, bool quiet);
std::string GetArticleUnit(const std::string& id);
std::string GetArticleName(const std::string& id, bool quiet);
// In the current currency (Setup().CurrentCurrency, CurrentRates) with the
// surcharge of the article's price group (column 1).
TMoney GetArticlePrice(const std::string& id, bool quiet);
TFieldValue GetMaterialField(const std::string& id, const std::string& fieldName, bool quiet);
bool IsVirtualArticle(const std::string& id);

// Currencies (Currency.DB) and rate lists
std::string GetCurrencyName(int id);
int GetCurrencyDecimals(int id);
void GetCurrencyWords(int id, TCurrencyWords& words);
float GetRate(const TkvfCurrencyRates* list, int id);  // -1 not listed, 0 no list
int IndexOfCurrency(const TkvfCurrencyRates* list, int id);
void LoadCurrencyRates(TkvfCurrencyRates& list);

// Price groups (PriceGrp.DB): Reduce_<column + 1> of the group.
double GetPriceGroupSurcharge(int groupId, int column);

// Complects (FrnComp.DB, FrnSide.DB)
bool FindComplect(const std::string& id);
std::string GetComplectName(const std::string& id);
std::pair<bool, std::string> FindComplectName(const std::string& id);
int GetComplectGroup(const std::string& id);
int GetComplectColor(const std::string& id);
int GetComplectImage(const std::string& id);
std::pair<std::string, bool> GetComplectPrintName(const std::string& id);
int GetSideHandleDirect(const std::string& id, int side);
// `selection` holds "group=ID" texts; the entries of `group` are checked.
bool CheckPropKey(int propKey, const std::vector<std::string>& selection, int group);

// One side of a sash as the complect's side rows see it.
struct TSideFit {
  double chordLength = 0;  // tenths of a millimetre
  double radius = 0;       // tenths of a millimetre, 0 for a straight side
  double cornerAngle = 0;  // degrees
  bool halfCircle = false, segmentArc = false, elliptic = false;
};
// Whether the complect's FrnSide rows accept the sides; false for no sash (null).
bool ComplectFitsSides(const std::vector<TSideFit>* sides, const std::string& id);

// Systems (SysList.DB, SysProf.DB)
std::string GetSystemName(const std::string& id);
int GetSystemCommonGrp(const std::string& id, bool quiet);
std::string GetSystemBaseColor(const std::string& id);
std::string GetProfSysName(const std::string& schlSysId);

// Installation parameter lists (ParamList.DB); the targets are zeroed first.
void GetFalzParams(int id, int& falzLuft, int& falzSize, int& falzPos, bool quiet);
void GetDornMass(int id, double& dornMass, bool quiet);
void GetStulpType(int id, int& stulpType, bool quiet);
void GetOpenType(int id, int& openType, bool quiet);
std::string GetFalzName(int id);
std::string GetDornName(int id);
std::string GetStulpName(int id);
std::string GetOpenName(int id);

// Colours (COLORSET.DB)
std::string GetColorName(const std::string& color);

}  // namespace kvf
