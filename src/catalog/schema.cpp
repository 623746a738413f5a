#include "catalog/schema.h"

#include <fmt/format.h>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/text_utils.h"

namespace kvf {
namespace {

// One table in a compact notation; field lists are "Name Type, ...".
struct TTableSpec {
  const char* fileName;
  const char* alias;
  const char* stored;
  const char* declared;  // "*": every stored field; otherwise a field list with declared types
  const char* primaryKey;
  const char* indexes;     // "Name=F1+F2/ci; ..."
  const char* lookups;     // "Name A10=KeyField>Table.Key.Result; ..."
  const char* calculated;  // field list
  bool editable;
};

constexpr const char* kCatalogStored =
    "ID A30, Group S, System A10, FrontColor A10, Article A20, ProdArticle A20, ProdArticle2 A20, "
    "ProdArticle3 A20, UseArticle S, GOST A40, Name A100, ShortName A50, Unit A10, AltUnit_1 A10, AltUnit_2 A10, "
    "Coef B6, AltCoef_1 B6, AltCoef_2 B6, Integer S, AltInteger_1 S, AltInteger_2 S, RoundedTotal S, MinLength I, "
    "MinWidth I, MinHeight I, MaxLength I, MaxWidth I, MaxHeight I, Thickness S, Weight B2, Volume B2, "
    "MinTrade B2, CutAvailable S, CalcPrinciple S, DustGrp S, Price $, PriceList I, PriceMethod S, PriceGrp S, "
    "CustomGrp S, Currency S, GetCustom S, GetNDS S, Use S, ScreenColor I, CommonUse S, Virtual S, "
    "SizeToSquare S, ArcPriceCoef B2, NotStdPriceCoef B2, CombinePriceCoef B2, IncludeToComp S, GarantGrp S, "
    "Laminating S, Reserve1 A30, Reserve2 A30, Mark A10, PrintGroup A20, SingleLam S, Export A255, SubSetID I, "
    "LamSqExt B8, LamSqInn B8, LamSqFull B8, AutoChange S, LenToSquare S, SinkDeltaW I, SinkDeltaL I";

constexpr const char* kFrnSetFields =
    "ID A30, Item A30, Key +, PropKey I, Number S, Side1No S, Side2No S, AngleNo S, FFBMin S, FFBMax S, "
    "FFHMin S, FFHMax S, FFL1No S, FFL1Min S, FFL1Max S, FFL2No S, FFL2Min S, FFL2Max S, FFL21No S, FFL21Min S, "
    "FFL21Max S, FFL22No S, FFL22Min S, FFL22Max S, FFANo S, FFAMin B2, FFAMax B2, FFR1No S, FFR1Min S, "
    "FFR1Max S, FFR1Type S, FFR2No S, FFR2Min S, FFR2Max S, FFR2Type S, Condition S, ScaleCondition S, "
    "ScaleStep S, ScaleStart S, ScaleNum S, ScaleScheme A50, ColorCondition S, DefineHandleHeight S, "
    "HandleSideNo S, StulpType S, Required S, UseLen S, LenFormula A100, MinLen S, UseIfArt A30, ItemSideNo I, ";

const std::string kFrnSetStored = std::string(kFrnSetFields) + "Note A100, AlertIfNoArt A100, AlertIfIgnore A100";
const std::string kFrnSetDeclared = std::string(kFrnSetFields) + "Note A50, AlertIfNoArt A100, AlertIfIgnore A100";

const std::string kReduceFields = [] {
  std::string s;
  for (int i = 1; i <= 10; ++i) s += fmt::format("Reduce_{} B2, ", i);
  return s;
}();
const std::string kPriceGrpStored = "Name A20, " + kReduceFields + "GroupID S";

const TTableSpec kSpecs[] = {
    {"COLORSET.DB", "KMDB_Catalog", "Color A10, Name A30", "*", "Color", "", "", "", false},
    {"Currency.DB", "KMDB_Catalog",
     "Name A5, Nominative A35, Genitive A35, GenitivePlural A35, Gender S, Dec S, ID S, Value B4, "
     "DecNominative A35, DecGenitive A35, DecGenitivePlural A35, DecGender S",
     "*", "", "IDIndex=ID", "", "", true},
    {"PriceGrp.DB", "KMDB_Catalog", kPriceGrpStored.c_str(), "*", "", "GroupIDIndex=GroupID", "", "", true},
    {"SysList.DB", "KMDB_Catalog",
     "ID A10, Group S, Name A50, ShortName A30, Use S, CommonGrp I, BaseColor A10", "*", "ID", "", "", "", false},
    {"SysColor.db", "KMDB_Catalog", "ID A10, System A10, Article A20", "*", "ID+System", "SysIndex=System+ID/ci",
     "ColorName A30=ID>COLORSET.Color.Name", "", false},
    {"SysProp.DB", "KMDB_Catalog",
     "ID I, GroupName A30, ValueName A50, Printable S, Use S, PrintName A100", "*", "", "IDIndex=ID", "", "", false},
    {"SysProf.DB", "KMDB_Catalog", "SchlSysID A10, FurnSysID A10, Name A50", "*", "", "SchlIndex=SchlSysID", "", "",
     false},
    {"FrnProp.db", "KMDB_Catalog", "ID I, PropKey I, Default S", "*", "", "PropIndex=PropKey+ID", "",
     "Selected L, NameLookup A80", false},
    {"ParamList.DB", "KMDB_Catalog",
     "ID I, Group S, Name A30, FalzLuft S, FalzSize S, FalzPos S, DornMass B1, OpenType S, StulpType S", "*", "ID",
     "", "", "", false},
    {"Material.db", "KMDB_Catalog", "ID I, Name A50", "*", "", "IDIndex=ID", "", "", false},
    {"Catalog.DB", "KMDB_Catalog", kCatalogStored,
     "Article A20, ProdArticle A20, ProdArticle2 A20, ProdArticle3 A20, Price $, Name A100, Unit A10, "
     "PriceGrp S, Currency S, ID A30, System A10, UseArticle S, Group S, MinTrade B2, Use S, CommonUse S, "
     "Integer S, Virtual S",
     "ID",
     "ProdArtIndex=ProdArticle/ci; ProdArt2Index=ProdArticle2/ci; SysIndex=System/ci; NameIndex=Name/ci; "
     "GrpIndex=Group/ci; ArtIndex=Article/ci",
     "CurrencyLookup A10=Currency>Currency.ID.Name; PriceGroupLookup A20=PriceGrp>PriceGrp.GroupID.Name", "",
     false},
    {"FrnComp.DB", "KMDB_Catalog",
     "ID A30, Group S, Name A100, Image S, MaxWeight S, ScrColor I, TFlugelAvailable S, Use S, SymmetricID A30, "
     "MultiSysID A30, SubGroup S, Kipp S, Direct S, HingeT A30, HingeB A30, HingeC A30, CommonGrp I, Note A100, "
     "PrintName A100, Printable S, PropKey I, Alert A255, DispHingeNum I, CompectImage S, Material I",
     "ID A30, Group S, Name A100, Image S, MaxWeight S, ScrColor I, TFlugelAvailable S, Use S, SymmetricID A30, "
     "MultiSysID A10, SubGroup S, Kipp S, Direct S, CommonGrp I, Note A50, PrintName A100, Printable S, "
     "PropKey I, Alert A255, DispHingeNum I, CompectImage S, Material I",
     "ID", "", "", "Selected L", false},
    {"FrnSide.DB", "KMDB_Catalog",
     "ID A30, Side S, MinSize S, MaxSize S, MinAngle B2, MaxAngle B2, MinRadius S, MaxRadius S, FullRadius S, "
     "HalfRadius S, EllipseRadius S, OpenMode S, RotSide S, Handled S, HandleDirect S, Banded S, Drived S",
     "*", "ID+Side", "", "", "Selected L", false},
    {"FrnItem.DB", "KMDB_Catalog",
     "ID A30, Name A70, HasDornMass S, HasProfSys S, CheckWeight S, HasColor S, HasFalzLuft S, HasFalzSize S, "
     "HasFalzPos S, CheckThickness S, CheckProfWidth S, CheckStulpType S, CheckDirect S, Virtual S, CommonGrp I",
     "*", "ID", "", "", "Selected L", false},
    {"FrnSet.DB", "KMDB_Catalog", kFrnSetStored.c_str(), kFrnSetDeclared.c_str(), "ID+Item+Key", "",
     "ItemLookup A70=Item>FrnItem.ID.Name",
     "Selected L, StulpTypeLookup A30, RadiusType1Lookup A30, RadiusType2Lookup A30", false},
    {"FrnArt.DB", "KMDB_Catalog",
     "ID A30, CatalogID A30, Key +, FalzLuft S, FalzSize S, FalzPos S, DornMassMin B2, DornMassMax B2, "
     "HandleMin S, HandleMax S, HandleHeight S, WeightMin B2, WeightMax B2, ThicknessMin S, ThicknessMax S, "
     "ProfWidthMin S, ProfWidthMax S, ProfSys A10, FFBMin S, FFBMax S, FFHMin S, FFHMax S, FFL1Min S, "
     "FFL1Max S, FFL2Min S, FFL2Max S, FFAMin B2, FFAMax B2, FFR1Min S, FFR1Max S, FFR2Min S, FFR2Max S, "
     "Color A10, StulpType S, Direct S",
     "*", "ID+CatalogID+Key", "", "", "Selected L, CatalogNameLookup A100", false},
    {"FrnSchl.DB", "KMDB_Catalog",
     "CatalogID A30, Item A30, Key +, Number S, StulpType S, PropKey I, ItemSideNo I, ItemComplectID A30", "*",
     "CatalogID+Key", "", "", "Selected L, NameLookup A50", false},
    {"FrnDop.DB", "KMDB_Catalog",
     "CatalogID A30, AccessoryID A30, Key +, Number S, PropKey I, StulpType S, ItemSideNo I, ItemComplectID A30",
     "*", "CatalogID+Key", "", "", "Selected L, NameLookup A50", false},
    {"FrnAbd.DB", "KMDB_Catalog",
     "CatalogID A30, Color A10, AccessoryID A30, Number S, ItemSideNo I, ItemComplectID A30", "*", "",
     "CatalogIndex=CatalogID", "", "Selected L, NameLookup A50", false},
    {"FrnItoI.DB", "KMDB_Catalog",
     "ID A30, Item A30, PropKey I, Number S, StulpType S, ColorCondition S, Required S, AlertIfNoArt A100, "
     "AlertIfIgnore A100, Note A100, ItemSideNo I",
     "*", "", "IDIndex=ID", "", "", false},
    {"OrderLst.DB", "KMDB_Registry",
     "No A30, RegDate D, Customer A40, Object A40, Address A80, Phone A40, Cost $, Currency S, OrderFile A255, "
     "Note A255",
     "*", "No", "Date=RegDate; CustName=Customer; ObjName=Object", "", "Selected L", true},
    {"Report.db", "KMDB_Report",
     "Name A100, FileName A100, Default S, Copies S, Group S, SubGroup S, Use S", "*", "", "", "", "", true},
};

std::vector<TFieldDef> ParseFields(std::string_view list) {
  std::vector<TFieldDef> fields;
  for (int i = 1, n = CountTokens(list, ","); i <= n; ++i) {
    const std::string item = GetToken(list, i, ",");
    if (item.empty()) continue;
    const std::string name = GetToken(item, 1, " ");
    const std::string type = GetToken(item, 2, " ");
    TFieldDef f;
    f.name = name;
    switch (type.at(0)) {
      case 'A': f.type = TFieldType::Alpha; f.size = std::stoi(type.substr(1)); break;
      case 'S': f.type = TFieldType::Short; break;
      case 'I': f.type = TFieldType::Long; break;
      case '+': f.type = TFieldType::AutoInc; break;
      case 'B': f.type = TFieldType::BCD; f.size = std::stoi(type.substr(1)); break;
      case '$': f.type = TFieldType::Money; break;
      case 'D': f.type = TFieldType::Date; break;
      case 'L': f.type = TFieldType::Logical; break;
      default: throw EKvfError("bad field type " + type);
    }
    fields.push_back(f);
  }
  return fields;
}

std::vector<std::string> SplitNames(std::string_view text, const char* separator) {
  std::vector<std::string> names;
  for (int i = 1, n = CountTokens(text, separator); i <= n; ++i) {
    std::string t = GetToken(text, i, separator);
    if (!t.empty()) names.push_back(t);
  }
  return names;
}

TTableDef Build(const TTableSpec& spec) {
  TTableDef def;
  def.fileName = spec.fileName;
  def.sqlName = SplitFileName(spec.fileName, false, true, false);
  def.alias = spec.alias;
  def.stored = ParseFields(spec.stored);
  def.declared = std::string_view(spec.declared) == "*" ? def.stored : ParseFields(spec.declared);
  def.calculated = ParseFields(spec.calculated);
  def.primaryKey = SplitNames(spec.primaryKey, "+");
  def.editable = spec.editable;
  for (const std::string& index : SplitNames(spec.indexes, ";")) {
    TIndexDef ix;
    ix.name = GetToken(index, 1, "=");
    std::string fields = GetToken(index, 2, "=");
    if (fields.size() > 3 && fields.substr(fields.size() - 3) == "/ci") {
      ix.caseInsensitive = true;
      fields.resize(fields.size() - 3);
    }
    ix.fields = SplitNames(fields, "+");
    def.indexes.push_back(ix);
  }
  for (const std::string& lookup : SplitNames(spec.lookups, ";")) {
    TLookupDef lk;
    const std::string head = GetToken(lookup, 1, "=");
    const std::string body = GetToken(lookup, 2, "=");
    lk.name = GetToken(head, 1, " ");
    lk.size = std::stoi(GetToken(head, 2, " ").substr(1));
    lk.keyField = GetToken(body, 1, ">");
    const std::string target = GetToken(body, 2, ">");
    lk.lookupTable = GetToken(target, 1, ".");
    lk.lookupKey = GetToken(target, 2, ".");
    lk.lookupResult = GetToken(target, 3, ".");
    def.lookups.push_back(lk);
  }
  def.BuildIndexes();
  return def;
}

template <typename T>
const T* FindByName(const std::vector<T>& items, std::string_view name) {
  for (const T& item : items)
    if (SameTextI(item.name, name)) return &item;
  return nullptr;
}

}  // namespace

namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

}  // namespace

size_t TNameHash::operator()(std::string_view s) const noexcept {
  size_t h = 1469598103934665603ULL;
  for (char c : s) h = (h ^ static_cast<unsigned char>(AsciiUpper(c))) * 1099511628211ULL;
  return h;
}

bool TNameEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

void TTableDef::BuildIndexes() {
  storedIndex.clear();
  declaredIndex.clear();
  for (size_t i = 0; i < stored.size(); ++i) storedIndex.emplace(stored[i].name, static_cast<int>(i));
  for (size_t i = 0; i < declared.size(); ++i) declaredIndex.emplace(declared[i].name, static_cast<int>(i));
}

const TFieldDef* TTableDef::FindStored(std::string_view name) const {
  const auto it = storedIndex.find(name);
  return it == storedIndex.end() ? nullptr : &stored[static_cast<size_t>(it->second)];
}

const TFieldDef* TTableDef::FindDeclared(std::string_view name) const {
  const auto it = declaredIndex.find(name);
  return it == declaredIndex.end() ? nullptr : &declared[static_cast<size_t>(it->second)];
}
const TLookupDef* TTableDef::FindLookup(std::string_view name) const { return FindByName(lookups, name); }
const TFieldDef* TTableDef::FindCalculated(std::string_view name) const { return FindByName(calculated, name); }
const TIndexDef* TTableDef::FindIndex(std::string_view name) const { return FindByName(indexes, name); }

int TTableDef::StoredIndex(std::string_view name) const {
  const auto it = storedIndex.find(name);
  return it == storedIndex.end() ? -1 : it->second;
}

const std::vector<TTableDef>& AllTableDefs() {
  static const std::vector<TTableDef> defs = [] {
    std::vector<TTableDef> all;
    for (const TTableSpec& spec : kSpecs) all.push_back(Build(spec));
    return all;
  }();
  return defs;
}

const TTableDef* FindTableDef(std::string_view name) {
  for (const TTableDef& def : AllTableDefs())
    if (SameTextI(def.fileName, name) || SameTextI(def.sqlName, name)) return &def;
  return nullptr;
}

const TTableDef& TableDef(std::string_view name) {
  if (const TTableDef* def = FindTableDef(name)) return *def;
  throw EKvfError(fmt::format("Неизвестная таблица [{}]", std::string(name)));
}

std::string DatabaseFileOfAlias(std::string_view alias) {
  if (SameTextI(alias, "KMDB_Registry")) return "kvfregistry.sqlite";
  if (SameTextI(alias, "KMDB_Report")) return "kvfreport.sqlite";
  return "kvfcatalog.sqlite";
}

}  // namespace kvf
