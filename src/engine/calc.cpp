#include "engine/calc.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <fmt/format.h>

#include "catalog/filter.h"
#include "catalog/dm.h"
#include "catalog/row_chooser.h"
#include "catalog/lookups.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/setup.h"
#include "core/text_utils.h"
#include "engine/furn_comp.h"
#include "engine/order.h"

namespace kvf {
namespace {

constexpr const char* kM1 =
    "В БД наборов фурнитуры в комплекте [{}]\r\nсодержится элемент фурнитуры [{}],\r\nдля которого определена "
    "ссылка на артикул смежной штульповой створки.\r\nКомплект для смежной створки еще не определен. Установите "
    "сначала комплект на соседнюю створку!";
constexpr const char* kLengthHead =
    "В БД наборов фурнитуры в комплекте [{}]\r\nсодержится элемент фурнитуры [{}],\r\nдля которого определены "
    "условия установки, зависящие от\r\n";
constexpr const char* kCalcHead =
    "В БД наборов фурнитуры в комплекте [{}]\r\nсодержится элемент фурнитуры [{}],\r\nкоторый использует принцип "
    "расчета, зависящий от\r\n";

std::string M(const char* head, const char* tail, const std::string& n, const std::string& e) {
  return fmt::format(fmt::runtime(std::string(head) + tail), n, e);
}

[[noreturn]] void Fail(const std::string& message) { throw EKvfError(message); }

bool ValidSide(const TkvfFlugel* sash, int n) { return sash && n >= 1 && n <= static_cast<int>(sash->FSides.size()); }
bool ValidCorner(const TkvfFlugel* sash, int n) { return sash && n >= 1 && n <= static_cast<int>(sash->FPoints.size()); }
const TkvfLine& Side(const TkvfFlugel* sash, int n) { return sash->FSides[static_cast<size_t>(n - 1)]; }

int I(TTable& t, const char* field) { return static_cast<int>(t.AsInteger(field)); }

// Range test of the rows: skip when max > 0 and max < v, or min > v.
bool OutOfRange(double min, double max, double v) { return (max > 0 && max < v) || min > v; }

int CheckedMul(int64_t a, int64_t b) {
  const int64_t r = a * b;
  if (r > INT32_MAX || r < INT32_MIN) throw EKvfError("Целочисленное переполнение при расчете количества");
  return static_cast<int>(r);
}

std::string ColorByCondition(int condition, const TCalcContext& ctx) {
  switch (condition) {
    case 1: return ctx.outerColor;
    case 2: return ctx.innerColor;
    case 3: return ctx.params.OpenType == 1 ? ctx.outerColor : ctx.innerColor;
    default: return ctx.compColor;
  }
}

bool AstragalPasses(int bits, int astragalType) {
  if (bits == 0 || (bits & 1) != 0) return true;
  return astragalType >= 0 && astragalType < 31 && (bits & (1 << astragalType)) != 0;
}

// Strike-plate and accessory filter of a visited line.
std::string CompanionFilter(const TkvfFurnItem& line, int astragalType) {
  return fmt::format(
      "CatalogID = {} and (StulpType={} or StulpType={}) and (ItemSideNo={} or ItemSideNo={}) and "
      "(ItemComplectID={} or ItemComplectID='{}')",
      QuotedFilterValue(line.FArticle), astragalType, 0, line.FSideNo, 0, QuotedFilterValue(line.FParentComplect), "");
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
  const long double scale = std::pow(10.0L, decimals);
  long double scaled = std::fabs(static_cast<long double>(value)) * scale;
  scaled = std::floor(scaled + 0.5L);
  const long double rounded = (value < 0 ? -scaled : scaled) / scale;
  std::string text = fmt::format("{:.{}f}", static_cast<double>(rounded), decimals);
  if (text.rfind("-0", 0) == 0 && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

int CountScaleSteps(const std::string& scheme, double value) {
  int count = 0;
  for (int i = 1, n = CountTokens(scheme, ";"); i <= n; ++i) {
    const std::string token = GetToken(scheme, i, ";");
    char* end = nullptr;
    errno = 0;
    const long t = std::strtol(token.c_str(), &end, 10);
    if (token.empty() || *end != '\0' || errno == ERANGE) continue;
    if (t != -1 && t <= value) ++count;
  }
  return count;
}

bool CalcComplement(TkvfFurnComp* comp) {
  if (!comp) return false;
  TCalcContext ctx;
  ctx.comp = comp;
  ctx.sash = comp->FFlugel;
  ctx.position = ctx.sash->FConstruction;
  ctx.order = ctx.position ? ctx.position->FOrder : nullptr;
  if (ctx.position && ctx.position->FSashLayout != 2) ctx.neighbour = ctx.sash->GetPartner();
  ctx.params.ProfWidth = ctx.position ? ctx.position->FProfWidth : 0;
  ctx.params.ProfThickness = ctx.position ? ctx.position->FProfThickness : 0;
  if (ctx.position) {
    GetFalzParams(ctx.position->FFalzType, ctx.params.FalzLuft, ctx.params.FalzSize, ctx.params.FalzPos, false);
    double dorn = 0;
    GetDornMass(ctx.sash->FDornType, dorn, false);
    ctx.params.DornMass = static_cast<float>(dorn);
    int openType = 0;
    GetOpenType(ctx.position->FFlugelType, openType, false);
    ctx.params.OpenType = static_cast<uint8_t>(openType);
  }
  if (!(ctx.params.DornMass > 0)) Fail("Не определена величина 'Дормасс'!");
  if (ctx.params.FalzLuft < 1 || ctx.params.FalzSize < 1 || ctx.params.FalzPos < 1)
    Fail(fmt::format("В документации не установлены\r\nпараметры фальца {}/{}-{}!", ctx.params.FalzLuft,
                     ctx.params.FalzSize, ctx.params.FalzPos));
  TTable& frnComp = DM().T_FrnComp;
  if (!frnComp.Locate({"ID"}, {comp->FComplect}))
    Fail(fmt::format("Комплект фурнитуры [{}] не найден в документации!", comp->FComplect));
  ctx.direction = I(frnComp, "Direct");
  if (ctx.position && ctx.position->FSashLayout != 2) {
    GetStulpType(ctx.position->FStulpType, ctx.astragalType, false);
  } else {
    ctx.astragalType = 6;
  }
  int w = 0, h = 0;
  ctx.sash->GetSashSize(w, h);
  ctx.ffb = ScaleValue(w, 10);
  ctx.ffh = ScaleValue(h, 10);
  if (ctx.order) {
    ctx.outerColor = ctx.order->FOuterProfColor;
    ctx.innerColor = ctx.order->FInnerProfColor;
  }
  ctx.compColor = comp->FColor;

  bool first = true;
  for (int slot = 0; slot < 7; ++slot) {
    const std::string id = comp->Slot(slot);
    if (id.empty()) continue;
    ExpandComplect(ctx, id, slot, first && slot == 0 ? comp->FUserDefineHeight : false);
    first = false;
  }
  const std::vector<std::string> additional = comp->FAddComplects;
  for (const std::string& id : additional) {
    if (id.empty()) continue;
    ExpandComplect(ctx, id, 0, false);
  }
  StrikePlatePass(ctx);
  ColorAccessoryPass(ctx);
  AccessoryPass(ctx);
  std::erase_if(comp->Items, [](const TkvfFurnItem& it) { return it.FCount == 0; });
  std::stable_sort(comp->Items.begin(), comp->Items.end(), [](const TkvfFurnItem& a, const TkvfFurnItem& b) {
    return CompareCp1251(a.FArticle, b.FArticle) < 0;
  });
  return true;
}

void ExpandComplect(TCalcContext& ctx, const std::string& complect, int slot, bool userDefineHeight) {
  TTable& frnComp = DM().T_FrnComp;
  if (!frnComp.Locate({"ID"}, {complect}))
    Fail(fmt::format("Комплект фурнитуры [{}] не найден в документации!", complect));
  const std::string n = frnComp.AsString("Name");
  if (ctx.params.OpenType == 2 && frnComp.AsInteger("TFlugelAvailable") == 0)
    Fail(fmt::format("Не допускается установка комплекта [{}] на T-образную створку!", complect));
  TkvfFlugel* sash = ctx.sash;
  TkvfFurnComp* comp = ctx.comp;
  TTable& set = DM().T_FrnSet;
  TFilterScope filter(set, "ID = " + QuotedFilterValue(complect));
  for (set.First(); !set.Eof(); set.Next()) {
    const std::string e = set.AsString("ItemLookup");
    const std::string item = set.AsString("Item");
    if (item.empty())
      Fail(fmt::format("В БД наборов фурнитуры в комплекте\r\n[{}] содержится пустой элемент!", n));
    if (!CheckPropKey(I(set, "PropKey"), comp->FProperties, slot)) continue;
    const std::string useIfArt = set.AsString("UseIfArt");
    if (!useIfArt.empty()) {
      if (!ctx.neighbour || !ctx.neighbour->FComplement) Fail(fmt::format(kM1, n, e));
      if (ctx.neighbour->FComplement->FindArticle(useIfArt) < 0) continue;
    }
    if (OutOfRange(I(set, "FFBMin"), I(set, "FFBMax"), ctx.ffb)) continue;
    if (OutOfRange(I(set, "FFHMin"), I(set, "FFHMax"), ctx.ffh)) continue;

    struct TSideCondition {
      const char *no, *min, *max, *lastLine;
    };
    bool skip = false;
    for (const TSideCondition& c : {TSideCondition{"FFL1No", "FFL1Min", "FFL1Max", "Номер 1-ой расчетной стороны в условиях определен неверно!"},
                                    TSideCondition{"FFL2No", "FFL2Min", "FFL2Max", "Номер 2-ой расчетной стороны в условиях определен неверно!"}}) {
      const int min = I(set, c.min), max = I(set, c.max);
      if (skip || (min == 0 && max == 0)) continue;
      const int no = I(set, c.no);
      if (!ValidSide(sash, no)) Fail(M(kLengthHead, "длины стороны, на которую он устанавливается.\r\n", n, e) + c.lastLine);
      if (OutOfRange(min, max, Side(sash, no).GetLength())) skip = true;
    }
    if (skip) continue;

    struct TRadiusCondition {
      const char *no, *min, *max, *type, *lastLine;
    };
    for (const TRadiusCondition& c :
         {TRadiusCondition{"FFR1No", "FFR1Min", "FFR1Max", "FFR1Type", "Номер 1-ой расчетной стороны в условиях определен неверно!"},
          TRadiusCondition{"FFR2No", "FFR2Min", "FFR2Max", "FFR2Type", "Номер 2-ой расчетной стороны в условиях определен неверно!"}}) {
      const int min = I(set, c.min), max = I(set, c.max), type = I(set, c.type);
      if (skip || (min == 0 && max == 0 && type < 2)) continue;
      const int no = I(set, c.no);
      if (!ValidSide(sash, no)) Fail(M(kLengthHead, "радиуса стороны, на которую он устанавливается.\r\n", n, e) + c.lastLine);
      const TkvfLine& s = Side(sash, no);
      if (OutOfRange(min, max, ScaleValue(s.FRadius, 10))) {
        skip = true;
        continue;
      }
      if (type != 0 && (type & 1) == 0) {
        const bool passes = (s.IsHalfCircle() && (type & 2)) || (s.IsSegmentArc() && (type & 4)) ||
                            (s.IsElliptic() && (type & 8));
        if (!passes) skip = true;
      }
    }
    if (skip) continue;

    const double aMin = set.AsFloat("FFAMin"), aMax = set.AsFloat("FFAMax");
    if (aMin != 0 || aMax != 0) {
      const int no = I(set, "FFANo");
      if (!ValidCorner(sash, no))
        Fail(M(kLengthHead, "параметров угла, на который он устанавливается.\r\nНомер расчетного угла в условиях определен неверно!", n, e));
      if (OutOfRange(aMin, aMax, sash->GetCornerAngle(no - 1))) continue;
    }
    if (!AstragalPasses(I(set, "StulpType"), ctx.astragalType)) continue;

    for (const auto& [noField, minField, maxField] :
         {std::tuple{"FFL21No", "FFL21Min", "FFL21Max"}, std::tuple{"FFL22No", "FFL22Min", "FFL22Max"}}) {
      const int min = I(set, minField), max = I(set, maxField);
      if (skip || (min == 0 && max == 0)) continue;
      if (!ctx.neighbour)
        Fail(M(kLengthHead, "длины стороны смежной створки.\r\nСмежная створка не установлена. Установите сначала створку.", n, e));
      const int no = I(set, noField);
      if (!ValidSide(ctx.neighbour, no))
        Fail(M(kLengthHead, "длины стороны смежной створки.\r\nНомер стороны смежной створки в условиях определен неверно!", n, e));
      if (OutOfRange(min, max, Side(ctx.neighbour, no).GetLength())) skip = true;
    }
    if (skip) continue;

    double length = 0, L1 = 0, L2 = 0, R1 = 0, R2 = 0, A = 0;
    const int condition = I(set, "Condition");
    const std::string m9 = M(kCalcHead, "параметров стороны, на которую он устанавливается.\r\nНомер 1-ой расчетной стороны определен неверно!", n, e);
    const std::string m10 = M(kCalcHead, "параметров стороны, на которую он устанавливается.\r\nНомер 2-ой расчетной стороны определен неверно!", n, e);
    if (condition == 4 || condition == 6 || condition == 8 || condition == 10) {
      const int no = I(set, "Side1No");
      if (!ValidSide(sash, no)) Fail(m9);
      L1 = Side(sash, no).GetLength();
      R1 = ScaleValue(Side(sash, no).FRadius, 10);
    }
    if (condition == 5 || condition == 6 || condition == 9 || condition == 10) {
      const int no = I(set, "Side2No");
      if (!ValidSide(sash, no)) Fail(m10);
      L2 = Side(sash, no).GetLength();
      R2 = ScaleValue(Side(sash, no).FRadius, 10);
    }
    if (condition == 7) {
      const int no = I(set, "AngleNo");
      if (!ValidCorner(sash, no))
        Fail(M(kCalcHead, "угла, на котором он устанавливается.\r\nНомер расчетного угла определен неверно!", n, e));
      A = sash->GetCornerAngle(no - 1);
    }
    const std::string color = ColorByCondition(I(set, "ColorCondition"), ctx);

    int count = 0;
    const int scaleCondition = I(set, "ScaleCondition");
    const int number = I(set, "Number");
    if (scaleCondition >= 1 && scaleCondition <= 4) {
      double v = 0;
      if (scaleCondition == 1) v = ctx.ffb;
      else if (scaleCondition == 2) v = ctx.ffh;
      else {
        const int no = I(set, scaleCondition == 3 ? "Side1No" : "Side2No");
        if (!ValidSide(sash, no)) Fail(scaleCondition == 3 ? m9 : m10);
        v = Side(sash, no).GetLength();
      }
      const std::string scheme = set.AsString("ScaleScheme");
      const int scaleNum = I(set, "ScaleNum");
      if (!scheme.empty()) {
        count = CheckedMul(CountScaleSteps(scheme, v), scaleNum) + number;
      } else {
        const int step = I(set, "ScaleStep");
        const int start = I(set, "ScaleStart");
        if (step < 1)
          Fail(fmt::format("В БД наборов фурнитуры в комплекте [{}]\r\nсодержится элемент фурнитуры [{}],\r\nимеющий "
                           "масштабирование и шаг равный нулю!", n, e));
        if (start > v) {
          count = number;
        } else {
          const int64_t d = scaleCondition <= 2 ? static_cast<int64_t>(v) - start : CascadeRound(v - start);
          count = CheckedMul(d / step + number + 1, scaleNum);
        }
      }
    } else {
      count = number;
    }

    const std::string formula = set.AsString("LenFormula");
    if (set.AsInteger("UseLen") == 1 && !formula.empty()) {
      length = sash->EvalFormula(formula);
      const int minLen = I(set, "MinLen");
      if (minLen > length)
        Fail(fmt::format("В БД наборов фурнитуры в комплекте [{}]\r\nсодержится элемент фурнитуры [{}],\r\nимеющий "
                         "недопустимое расчетное значение длины {} (Мин. допустимая длина = {})!\r\n(Одна из "
                         "возможных причин - установлена недопустимая высота ручки при расчете тяги)",
                         n, e, FormatFixed(length, 1), minLen));
    }
    TTable& frnItem = DM().T_FrnItem;
    const bool isVirtual = frnItem.Locate({"ID"}, {item}) && frnItem.AsInteger("Virtual") == 1;
    const int itemSideNo = I(set, "ItemSideNo");
    if (!isVirtual) {
      TPickRequest req;
      req.element = item;
      req.caption = n;
      req.profSys = comp->FProfSys;
      req.required = set.AsInteger("Required") == 1;
      req.alert = set.AsString("AlertIfNoArt");
      req.direction = ctx.direction;
      req.astragalType = ctx.astragalType;
      req.defineHandleHeight = set.AsInteger("DefineHandleHeight") == 1;
      req.profWidth = ctx.profWidth;
      req.color = color;
      req.weight = ctx.weight;
      req.params = ctx.params;
      req.A = A;
      req.R2 = R2;
      req.R1 = R1;
      req.L2 = L2;
      req.L1 = L1;
      req.ffh = ctx.ffh;
      req.ffb = ctx.ffb;
      req.kind = condition;
      const TPickResult found = PickArticle(req);
      if (found.found) {
        if (!userDefineHeight && found.handleHeight != 0) {
          int i = I(set, "HandleSideNo") - 1;
          if (i < 0 || i >= static_cast<int>(sash->FSides.size())) i = sash->FirstHandleSide();
          if (i >= 0 && i < static_cast<int>(sash->FSides.size()))
            sash->FSides[static_cast<size_t>(i)].SetHandle(found.handleHeight, GetSideHandleDirect(complect, i + 1));
        }
        comp->AddItem(found.article, complect, itemSideNo, count, set.AsString("Note"), static_cast<float>(length),
                      Setup().DebugMode,
                      fmt::format("Комплект:{} -> Элемент:{} -> Артикул:{}", complect, item, found.article));
      }
    }
    ExpandComposite(ctx, item, complect, count, slot, itemSideNo);
  }
}

TPickResult PickArticle(const TPickRequest& r) {
  TPickResult result;
  TTable& art = DM().T_FrnArt;
  if (!art.Locate({"ID"}, {r.element})) return result;
  TTable& item = DM().T_FrnItem;
  if (!item.Locate({"ID"}, {r.element}))
    Fail(fmt::format("Элемент фурнитуры [{}] не найден в документации!", r.element));
  const std::string name = item.AsString("Name");
  auto flag = [&](const char* field) { return item.AsInteger(field) == 1; };
  const bool hasDornMass = flag("HasDornMass"), hasFalzLuft = flag("HasFalzLuft"), hasFalzSize = flag("HasFalzSize"),
             hasFalzPos = flag("HasFalzPos"), hasProfSys = flag("HasProfSys"), hasColor = flag("HasColor"),
             checkWeight = flag("CheckWeight"), checkThickness = flag("CheckThickness"),
             checkProfWidth = flag("CheckProfWidth"), checkStulpType = flag("CheckStulpType"),
             checkDirect = flag("CheckDirect");

  std::string f;
  auto part = [&](const std::string& firstForm, const std::string& laterForm) { f += f.empty() ? firstForm : laterForm; };
  const std::string ffb = std::to_string(r.ffb), ffh = std::to_string(r.ffh);
  const std::string l1 = FormatFixed(r.L1, 0), l2 = FormatFixed(r.L2, 0), a = FormatFixed(r.A, 2),
                    r1 = FormatFixed(r.R1, 0), r2 = FormatFixed(r.R2, 0);
  switch (r.kind) {
    case 1: f = "FFBMin <= " + ffb + " and FFBMax >= " + ffb + " "; break;
    case 2: f = "FFHMin <= " + ffh + " and FFHMax >= " + ffh + " "; break;
    case 3: f = "FFBMin <= " + ffb + " and FFBMax >= " + ffb + " and FFHMin <= " + ffh + " and FFHMax >= " + ffh + " "; break;
    case 4: f = "FFL1Min <= " + l1 + " and FFL1Max >= " + l1 + " "; break;
    case 5: f = "FFL2Min <= " + l2 + " and FFL2Max >= " + l2 + " "; break;
    case 6: f = "FFL1Min <= " + l1 + " and FFL1Max >= " + l1 + " and FFL2Min <= " + l2 + " and FFL2Max >= " + l2 + " "; break;
    case 7: f = "FFAMin <= " + a + " and FFAMax >= " + a + " "; break;
    case 8: f = "FFR1Min <= " + r1 + " and FFR1Max >= " + r1 + " "; break;
    case 9: f = "FFR2Min <= " + r2 + " and FFR2Max >= " + r2 + " "; break;
    case 10: f = "FFR1Min <= " + r1 + " and FFR1Max >= " + r1 + " and FFR2Min <= " + r2 + " and FFR2Max >= " + r2 + " "; break;
    default: break;
  }
  if (hasFalzLuft) part(fmt::format("FalzLuft = {} ", r.params.FalzLuft), fmt::format("and FalzLuft = {} ", r.params.FalzLuft));
  if (hasFalzSize) part(fmt::format("FalzSize = {} ", r.params.FalzSize), fmt::format("and FalzSize = {} ", r.params.FalzSize));
  if (hasFalzPos) part(fmt::format("FalzPos = {} ", r.params.FalzPos), fmt::format("and FalzPos = {} ", r.params.FalzPos));
  if (checkWeight) {
    const std::string w = FormatFixed(r.weight, 2);
    part("WeightMin <= " + w + " and  WeightMax >= " + w + " ", "and WeightMin <= " + w + " and  WeightMax >= " + w + " ");
  }
  if (hasDornMass) {
    const std::string d = FormatFixed(r.params.DornMass, 2);
    part("DornMassMin <= " + d + " and DornMassMax >= " + d + " ", "and DornMassMin <= " + d + " and DornMassMax >= " + d + " ");
  }
  if (checkThickness) {
    const std::string t = FormatFixed(r.params.ProfThickness, 0);
    part("ThicknessMin <= " + t + " and ThicknessMax >= " + t + " ", " and ThicknessMin <= " + t + " and ThicknessMax >= " + t + " ");
  }
  if (checkProfWidth) {
    const std::string w = FormatFixed(r.profWidth, 0);
    part("ProfWidthMin <= " + w + " and ProfWidthMax >= " + w + " ", " and ProfWidthMin <= " + w + " and ProfWidthMax >= " + w + " ");
  }
  if (hasProfSys) {
    if (r.profSys.empty())
      Fail(fmt::format("Для комплекта фурнитуры [{}]\r\nне указана система ответных планок!", r.caption));
    part("ProfSys = " + QuotedFilterValue(r.profSys) + " ", "and ProfSys = " + QuotedFilterValue(r.profSys) + " ");
  }
  if (checkStulpType) part(fmt::format("StulpType = {} ", r.astragalType), fmt::format("and StulpType = {} ", r.astragalType));
  if (checkDirect)
    part(fmt::format("(Direct = {} or Direct = {}) ", 3, r.direction), fmt::format("and (Direct = {} or Direct = {}) ", 3, r.direction));
  part("ID=" + QuotedFilterValue(r.element) + " ", "and ID=" + QuotedFilterValue(r.element) + " ");
  const std::string b = f;
  std::string c;
  if (hasColor) {
    c = b.empty() ? "Color = '' " : b + "and Color = '' ";
    f = b.empty() ? "Color = " + QuotedFilterValue(r.color) + " " : b + "and Color = " + QuotedFilterValue(r.color) + " ";
  }
  {
    TFilterScope filter(art, f);
    if (art.IsEmpty() && hasColor) {
      art.SetFilter(c);
    }
    if (!art.IsEmpty()) {
      result.found = true;
      art.First();
      if (art.RecordCount() > 1)
        ChooseRow(art, {"Список артикулов",
                        "В документации присутствует несколько альтернативных вариантов. Выберите нужный элемент.",
                        "CatalogID", {"CatalogID", "CatalogNameLookup"}});
      result.article = art.AsString("CatalogID");
      result.handleHeight = static_cast<int>(art.AsInteger("HandleHeight"));
    }
  }
  if (!result.found) {
    result.handleHeight = 0;
    if (r.required) {
      if (!r.alert.empty()) Fail(r.alert);
      Fail(fmt::format("В БД артикулов фурнитуры не найден подходящий\r\nартикул для элемента фурнитуры [{}]!\r\n\r\nИскомый "
                       "запрос:\r\n{}", name, f));
    }
    return result;
  }
  if (result.article.empty())
    Fail(fmt::format("В БД артикулов фурнитуры найден пустой\r\nартикул для элемента фурнитуры [{}]!", name));
  if (!r.defineHandleHeight) {
    result.handleHeight = 0;
  } else if (result.handleHeight == 0) {
    double v = 0;
    switch (r.kind) {
      case 1: v = r.ffb; break;
      case 2: v = r.ffh; break;
      case 4:
      case 6: v = r.L1; break;
      case 5: v = r.L2; break;
      default: v = 0; break;
    }
    result.handleHeight = CascadeRound(v / 2);
  }
  return result;
}

void ExpandComposite(TCalcContext& ctx, const std::string& element, const std::string& parentComplect, int count,
                     int slot, int sideNo) {
  TTable& itoi = DM().T_FrnItoI;
  if (!itoi.Locate({"ID"}, {element})) return;
  TTable& item = DM().T_FrnItem;
  if (!item.Locate({"ID"}, {element})) Fail(fmt::format("Элемент фурнитуры [{}] не найден в документации!", element));
  const std::string n = item.AsString("Name");
  TFilterScope filter(itoi, "ID = " + QuotedFilterValue(element));
  for (itoi.First(); !itoi.Eof(); itoi.Next()) {
    const std::string sub = itoi.AsString("Item");
    if (sub.empty()) Fail(fmt::format("В составе составного элемента [{}] содержится пустой элемент!", n));
    const int s = itoi.AsInteger("ItemSideNo") != 0 ? static_cast<int>(itoi.AsInteger("ItemSideNo")) : sideNo;
    if (!CheckPropKey(static_cast<int>(itoi.AsInteger("PropKey")), ctx.comp->FProperties, slot)) continue;
    if (!AstragalPasses(static_cast<int>(itoi.AsInteger("StulpType")), ctx.astragalType)) continue;
    TPickRequest req;
    req.element = sub;
    req.caption = n;
    req.profSys = ctx.comp->FProfSys;
    req.required = itoi.AsInteger("Required") == 1;
    req.alert = itoi.AsString("AlertIfNoArt");
    req.direction = ctx.direction;
    req.astragalType = ctx.astragalType;
    req.profWidth = ctx.profWidth;
    req.color = ColorByCondition(static_cast<int>(itoi.AsInteger("ColorCondition")), ctx);
    req.weight = ctx.weight;
    req.params = ctx.params;
    const int number = static_cast<int>(itoi.AsInteger("Number"));
    const std::string note = itoi.AsString("Note");
    const TPickResult found = PickArticle(req);
    if (found.found)
      ctx.comp->AddItem(found.article, parentComplect, s, CheckedMul(count, number), note, 0, Setup().DebugMode,
                        fmt::format("Комплект:{} -> Элемент:{} -> Элемент:{} -> Артикул:{}", parentComplect, element,
                                    sub, found.article));
  }
}

void StrikePlatePass(TCalcContext& ctx) {
  TkvfFurnComp& comp = *ctx.comp;
  TTable& schl = DM().T_FrnSchl;
  TTable& frnItem = DM().T_FrnItem;
  schl.DisableControls();
  struct TEnable {
    TTable& t;
    ~TEnable() { t.EnableControls(); }
  } enable{schl};
  const size_t n = comp.Items.size();
  for (size_t i = 0; i < n; ++i) {
    const TkvfFurnItem line = comp.Items[i];
    if (!schl.Locate({"CatalogID"}, {line.FArticle})) continue;
    struct TRow {
      std::string item;
      int number;
    };
    std::vector<TRow> rows;
    {
      TFilterScope filter(schl, CompanionFilter(line, ctx.astragalType));
      for (schl.First(); !schl.Eof(); schl.Next()) {
        if (!CheckPropKey(static_cast<int>(schl.AsInteger("PropKey")), comp.FProperties, 0)) continue;
        rows.push_back({schl.AsString("Item"), static_cast<int>(schl.AsInteger("Number"))});
      }
    }
    for (const TRow& row : rows) {
      if (frnItem.Locate({"ID"}, {row.item})) {
        const int g = static_cast<int>(frnItem.AsInteger("CommonGrp"));
        if (g != 0) {
          int k = g;
          const std::string sys = comp.FFurnSys;
          char* end = nullptr;
          errno = 0;
          const long parsed = std::strtol(sys.c_str(), &end, 10);
          if (!sys.empty() && *end == '\0' && errno != ERANGE && parsed >= INT_MIN && parsed <= INT_MAX)
            k = static_cast<int>(parsed);
          if (g % 100 != 0 ? g != k : (k / 100) * 100 != g) continue;
        }
      }
      TPickRequest req;
      req.element = row.item;
      req.caption = "Подбор ответных планок";
      req.profSys = comp.FProfSys;
      req.required = true;
      req.direction = ctx.direction;
      req.astragalType = ctx.astragalType;
      req.profWidth = 0;
      req.weight = 0;
      req.params = ctx.params;
      const TPickResult found = PickArticle(req);
      if (found.found)
        comp.AddItem(found.article, line.FParentComplect, line.FSideNo, CheckedMul(row.number, line.FCount),
                     line.FComment, 0, Setup().DebugMode,
                     fmt::format("{} -> Элемент:{} -> Артикул:{}", line.FHistory, row.item, found.article));
    }
  }
}

void ColorAccessoryPass(TCalcContext& ctx) {
  TkvfFurnComp& comp = *ctx.comp;
  TTable& abd = DM().T_FrnAbd;
  abd.DisableControls();
  struct TEnable {
    TTable& t;
    ~TEnable() { t.EnableControls(); }
  } enable{abd};
  const size_t n = comp.Items.size();
  for (size_t i = 0; i < n; ++i) {
    const TkvfFurnItem line = comp.Items[i];
    if (!abd.Locate({"CatalogID"}, {line.FArticle})) continue;
    std::vector<std::pair<std::string, int>> rows;
    {
      TFilterScope filter(abd, fmt::format("CatalogID = {} and Color={} and (ItemSideNo={} or ItemSideNo={})",
                                           QuotedFilterValue(line.FArticle), QuotedFilterValue(comp.FColor),
                                           line.FSideNo, 0));
      if (abd.IsEmpty())
        abd.SetFilter(fmt::format("CatalogID = {} and Color='' and (ItemSideNo={} or ItemSideNo={})",
                                  QuotedFilterValue(line.FArticle), line.FSideNo, 0));
      for (abd.First(); !abd.Eof(); abd.Next())
        rows.emplace_back(abd.AsString("AccessoryID"), static_cast<int>(abd.AsInteger("Number")));
    }
    for (const auto& [accessory, number] : rows)
      comp.AddItem(accessory, line.FParentComplect, line.FSideNo, CheckedMul(number, line.FCount), line.FComment, 0,
                   Setup().DebugMode, fmt::format("{} -> Артикул:{}", line.FHistory, accessory));
  }
}

void AccessoryPass(TCalcContext& ctx) {
  TkvfFurnComp& comp = *ctx.comp;
  TTable& dop = DM().T_FrnDop;
  dop.DisableControls();
  struct TEnable {
    TTable& t;
    ~TEnable() { t.EnableControls(); }
  } enable{dop};
  const size_t n = comp.Items.size();
  for (size_t i = 0; i < n; ++i) {
    const TkvfFurnItem line = comp.Items[i];
    if (!dop.Locate({"CatalogID"}, {line.FArticle})) continue;
    std::vector<std::pair<std::string, int>> rows;
    {
      TFilterScope filter(dop, CompanionFilter(line, ctx.astragalType));
      for (dop.First(); !dop.Eof(); dop.Next()) {
        if (!CheckPropKey(static_cast<int>(dop.AsInteger("PropKey")), comp.FProperties, 0)) continue;
        rows.emplace_back(dop.AsString("AccessoryID"), static_cast<int>(dop.AsInteger("Number")));
      }
    }
    for (const auto& [accessory, number] : rows)
      comp.AddItem(accessory, line.FParentComplect, line.FSideNo, CheckedMul(number, line.FCount), line.FComment, 0,
                   Setup().DebugMode, fmt::format("{} -> Артикул:{}", line.FHistory, accessory));
  }
}

}  // namespace kvf
