#include "orders/order_json.h"

#include <charconv>
#include <cstdlib>

#include "engine/furn_comp.h"
#include "orders/json_reader.h"
#include "orders/selection.h"
#include "core/error.h"
#include <fmt/format.h>

namespace kvf {

TJson FloatJson(float value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  double d = 0;
  std::from_chars(buf, r.ptr, d);
  if (d == static_cast<double>(static_cast<int64_t>(d)) && std::abs(d) < 1e15) return static_cast<int64_t>(d);
  return d;
}

TJson MoneyJson(const TMoney& value) { return value.ToString(); }

static TJson RatesToJson(const TkvfCurrencyRates& rates) {
  TJson a = TJson::array();
  for (const TkvfCurrencyItem& r : rates) a.push_back({{"FCurrencyID", r.FCurrencyID}, {"FRate", FloatJson(r.FRate)}});
  return a;
}

namespace {

TJson Lines(const std::vector<std::string>& lines) {
  TJson a = TJson::array();
  for (const std::string& l : lines) a.push_back(l);
  return a;
}

TJson ComplementToJson(const TkvfFurnComp& c) {
  TJson j;
  j["FFurnSys"] = c.FFurnSys;
  j["FProfSys"] = c.FProfSys;
  j["FColor"] = c.FColor;
  j["FComplect"] = c.FComplect;
  j["FHinge"] = c.FHinge;
  j["FHandle"] = c.FHandle;
  j["FUserHandleHeight"] = c.FUserHandleHeight;
  j["FUserDefineHeight"] = c.FUserDefineHeight;
  j["FLock"] = c.FLock;
  j["FCylinder"] = c.FCylinder;
  j["FDrive"] = c.FDrive;
  j["FLatch"] = c.FLatch;
  j["FComplectImage"] = c.FComplectImage;
  j["FHandleImage"] = c.FHandleImage;
  j["FHingeImage"] = c.FHingeImage;
  j["FDriveImage"] = c.FDriveImage;
  j["FSpareImage"] = c.FSpareImage;
  j["FHandleColor"] = c.FHandleColor;
  j["FHingeColor"] = c.FHingeColor;
  j["FDriveColor"] = c.FDriveColor;
  j["FSpareColor"] = c.FSpareColor;
  j["FProperties"] = Lines(c.FProperties);
  j["FAddComplects"] = Lines(c.FAddComplects);
  TJson items = TJson::array();
  for (const TkvfFurnItem& it : c.Items) {
    TJson i;
    i["FArticle"] = it.FArticle;
    i["FLength"] = FloatJson(it.FLength);
    i["FCount"] = it.FCount;
    i["FHistory"] = it.FHistory;
    i["FComment"] = it.FComment;
    i["FSideNo"] = it.FSideNo;
    i["FSpare1"] = it.FSpare1;
    i["FSpare2"] = it.FSpare2;
    i["FSpare3"] = it.FSpare3;
    i["FParentComplect"] = it.FParentComplect;
    items.push_back(std::move(i));
  }
  j["Items"] = std::move(items);
  return j;
}

}  // namespace

TJson SashToJson(const TkvfFlugel& sash) {
  TJson j;
  TJson points = TJson::array();
  for (const TkvfPoint& p : sash.FPoints) points.push_back({{"FX", p.FX}, {"FY", p.FY}});
  j["FPoints"] = std::move(points);
  TJson sides = TJson::array();
  for (const TkvfLine& s : sash.FSides) {
    TJson l;
    l["FRadius"] = FloatJson(s.FRadius);
    l["FRadius2"] = FloatJson(s.FRadius2);
    l["FCentre"] = {{"X", FloatJson(s.FCentre.X)}, {"Y", FloatJson(s.FCentre.Y)}};
    l["FOpenMark"] = s.FOpenMark;
    l["FApexSide"] = s.FApexSide;
    l["FHandled"] = s.FHandled;
    l["FHinged"] = s.FHinged;
    l["FDriven"] = s.FDriven;
    l["FHandleHeight"] = s.FHandleHeight;
    l["FHandleMark"] = {{"X", s.FHandleMark.X}, {"Y", s.FHandleMark.Y}};
    sides.push_back(std::move(l));
  }
  j["FSides"] = std::move(sides);
  j["FDornType"] = sash.FDornType;
  j["FComplement"] = sash.FComplement ? ComplementToJson(*sash.FComplement) : TJson(nullptr);
  TJson mats = TJson::array();
  for (const TkvfMatListItem& m : sash.FMatList) {
    TJson i;
    i["FArticle"] = m.FArticle;
    i["FNumber"] = FloatJson(m.FNumber);
    i["FBasePrice"] = MoneyJson(m.FBasePrice);
    i["FSpareFloat"] = FloatJson(m.FSpareFloat);
    i["FDiscount"] = MoneyJson(m.FDiscount);
    i["FPrice"] = MoneyJson(m.FPrice);
    i["FCost"] = MoneyJson(m.FCost);
    mats.push_back(std::move(i));
  }
  j["FMatList"] = std::move(mats);
  return j;
}

TJson PositionToJson(const TkvfConstruction& p) {
  TJson j;
  j["FIncluded"] = p.FIncluded;
  j["FPosNo"] = p.FPosNo;
  j["FName"] = p.FName;
  j["FNumber"] = p.FNumber;
  j["FObjectType"] = p.FObjectType;
  j["FFurnSys"] = p.FFurnSys;
  j["FProfSys"] = p.FProfSys;
  j["FFurnColor"] = p.FFurnColor;
  j["FFalzType"] = p.FFalzType;
  j["FStulpType"] = p.FStulpType;
  j["FFlugelType"] = p.FFlugelType;
  j["FProfWidth"] = FloatJson(p.FProfWidth);
  j["FProfThickness"] = FloatJson(p.FProfThickness);
  j["FPrice"] = MoneyJson(p.FPrice);
  j["FNote"] = Lines(p.FNote);
  j["FSashLayout"] = p.FSashLayout;
  j["FFlugel1"] = SashToJson(*p.FFlugel1);
  j["FFlugel2"] = SashToJson(*p.FFlugel2);
  return j;
}

TJson ParseJsonText(const std::string& text, const std::string& file) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonDepth)
        throw EKvfError(fmt::format("Неверный JSON {}: вложенность глубже {} уровней (байт {})", file, kMaxJsonDepth, i + 1));
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  try {
    return TJson::parse(text);
  } catch (const TJson::parse_error& e) {
    throw EKvfError(fmt::format("Неверный JSON {}: синтаксическая ошибка в байте {}", file, e.byte));
  }
}

TJson OrderToJson(const TkvfOrder& o) {
  TJson j;
  j["FHeader"] = o.FHeader;
  j["FVersion"] = o.FVersion;
  j["FReserved1"] = o.FReserved1;
  j["FReserved2"] = o.FReserved2;
  j["FCreated1"] = o.FCreated1;
  j["FCreated2"] = o.FCreated2;
  j["FReserved3"] = o.FReserved3;
  j["FOrderNo"] = o.FOrderNo;
  j["FAltOrderNo"] = o.FAltOrderNo;
  j["FCustomer"] = o.FCustomer;
  j["FObjectName"] = o.FObjectName;
  j["FAddress"] = o.FAddress;
  j["FPhones"] = o.FPhones;
  j["FRemark"] = o.FRemark;
  j["FRegDate"] = o.FRegDate;
  j["FRegDateChecked"] = o.FRegDateChecked;
  j["FProfSys"] = o.FProfSys;
  j["FInnerProfColor"] = o.FInnerProfColor;
  j["FOuterProfColor"] = o.FOuterProfColor;
  j["FFurnSys"] = o.FFurnSys;
  j["FFurnColor"] = o.FFurnColor;
  j["FHandle"] = o.FHandle;
  j["FLegacyText1"] = o.FLegacyText1;
  j["FLegacyText2"] = o.FLegacyText2;
  j["FMaterial"] = o.FMaterial;
  j["FFalzType"] = o.FFalzType;
  j["FDornType"] = o.FDornType;
  j["FStulpType"] = o.FStulpType;
  j["FFlugelType"] = o.FFlugelType;
  j["FPriceGroupNo"] = o.FPriceGroupNo;
  j["FNDSTax"] = FloatJson(o.FNDSTax);
  j["FTotalNDS"] = o.FTotalNDS;
  j["FShowIncludingNDS"] = o.FShowIncludingNDS;
  j["FCurrencyRates"] = RatesToJson(o.FCurrencyRates);
  j["FCurrencyID"] = o.FCurrencyID;
  j["FNote"] = Lines(o.FNote);
  TJson positions = TJson::array();
  for (const auto& p : o.Positions) positions.push_back(PositionToJson(*p));
  j["Positions"] = std::move(positions);
  return j;
}

namespace {

void ComplementFromJson(const TJson& j, TkvfFurnComp& c, const std::string& where) {
  TJsonReader r(j, where);
  r.Take("FFurnSys", c.FFurnSys);
  r.Take("FProfSys", c.FProfSys);
  r.Take("FColor", c.FColor);
  r.Take("FComplect", c.FComplect);
  r.Take("FHinge", c.FHinge);
  r.Take("FHandle", c.FHandle);
  r.Take("FUserHandleHeight", c.FUserHandleHeight);
  r.Take("FUserDefineHeight", c.FUserDefineHeight);
  r.Take("FLock", c.FLock);
  r.Take("FCylinder", c.FCylinder);
  r.Take("FDrive", c.FDrive);
  r.Take("FLatch", c.FLatch);
  r.Take("FComplectImage", c.FComplectImage);
  r.Take("FHandleImage", c.FHandleImage);
  r.Take("FHingeImage", c.FHingeImage);
  r.Take("FDriveImage", c.FDriveImage);
  r.Take("FSpareImage", c.FSpareImage);
  r.Take("FHandleColor", c.FHandleColor);
  r.Take("FHingeColor", c.FHingeColor);
  r.Take("FDriveColor", c.FDriveColor);
  r.Take("FSpareColor", c.FSpareColor);
  r.TakeLines("FProperties", c.FProperties);
  r.TakeLines("FAddComplects", c.FAddComplects);
  if (const TJson* items = r.Array("Items")) {
    c.Items.clear();
    for (size_t k = 0; k < items->size(); ++k) {
      TkvfFurnItem i;
      TJsonReader ir((*items)[k], fmt::format("{} Items[{}]", where, k));
      ir.Take("FArticle", i.FArticle);
      ir.Take("FLength", i.FLength);
      ir.Take("FCount", i.FCount);
      ir.Take("FHistory", i.FHistory);
      ir.Take("FComment", i.FComment);
      ir.Take("FSideNo", i.FSideNo);
      ir.Take("FSpare1", i.FSpare1);
      ir.Take("FSpare2", i.FSpare2);
      ir.Take("FSpare3", i.FSpare3);
      ir.Take("FParentComplect", i.FParentComplect);
      ir.Finish();
      c.Items.push_back(std::move(i));
    }
  }
  r.Finish();
}

// A point-like member {"X": .., "Y": ..} (or FX/FY).
template <typename X, typename Y>
void PairFromJson(const TJson& j, const std::string& where, const char* x, const char* y, X& tx, Y& ty) {
  TJsonReader r(j, where);
  r.Take(x, tx);
  r.Take(y, ty);
  r.Finish();
}

void SashFromJson(const TJson& j, TkvfFlugel& sash, const std::string& where) {
  TJsonReader r(j, where);
  if (const TJson* points = r.Array("FPoints")) {
    sash.FPoints.clear();
    for (size_t k = 0; k < points->size(); ++k) {
      TkvfPoint p;
      PairFromJson((*points)[k], fmt::format("{} FPoints[{}]", where, k), "FX", "FY", p.FX, p.FY);
      sash.FPoints.push_back(p);
    }
  }
  if (const TJson* sides = r.Array("FSides")) {
    sash.FSides.clear();
    for (size_t k = 0; k < sides->size(); ++k) {
      TkvfLine l;
      const std::string at = fmt::format("{} FSides[{}]", where, k);
      TJsonReader sr((*sides)[k], at);
      sr.Take("FRadius", l.FRadius);
      sr.Take("FRadius2", l.FRadius2);
      if (const TJson* c = sr.Object("FCentre")) PairFromJson(*c, at + " FCentre", "X", "Y", l.FCentre.X, l.FCentre.Y);
      sr.Take("FOpenMark", l.FOpenMark);
      sr.Take("FApexSide", l.FApexSide);
      sr.Take("FHandled", l.FHandled);
      sr.Take("FHinged", l.FHinged);
      sr.Take("FDriven", l.FDriven);
      sr.Take("FHandleHeight", l.FHandleHeight);
      if (const TJson* m = sr.Object("FHandleMark"))
        PairFromJson(*m, at + " FHandleMark", "X", "Y", l.FHandleMark.X, l.FHandleMark.Y);
      sr.Finish();
      sash.FSides.push_back(l);
    }
  }
  if (sash.FSides.size() != sash.FPoints.size())
    throw EKvfError(fmt::format("{}: число сторон ({}) не равно числу точек ({})", where, sash.FSides.size(),
                                sash.FPoints.size()));
  sash.LinkSides();
  r.Take("FDornType", sash.FDornType);
  r.Known("FComplement");
  if (j.contains("FComplement")) {
    if (j.at("FComplement").is_null()) {
      sash.FComplement.reset();
    } else {
      if (!sash.FComplement) sash.FComplement = std::make_unique<TkvfFurnComp>(&sash);
      ComplementFromJson(j.at("FComplement"), *sash.FComplement, where + " FComplement");
    }
  }
  if (const TJson* mats = r.Array("FMatList")) {
    sash.FMatList.clear();
    for (size_t k = 0; k < mats->size(); ++k) {
      TkvfMatListItem m;
      TJsonReader mr((*mats)[k], fmt::format("{} FMatList[{}]", where, k));
      mr.Take("FArticle", m.FArticle);
      mr.Take("FNumber", m.FNumber);
      mr.TakeMoney("FBasePrice", m.FBasePrice);
      mr.Take("FSpareFloat", m.FSpareFloat);
      mr.TakeMoney("FDiscount", m.FDiscount);
      mr.TakeMoney("FPrice", m.FPrice);
      mr.TakeMoney("FCost", m.FCost);
      mr.Finish();
      sash.FMatList.push_back(std::move(m));
    }
  }
  r.Finish();
}

void RatesFromJson(TJsonReader& r, TkvfCurrencyRates& rates) {
  if (const TJson* list = r.Array("FCurrencyRates")) {
    rates.clear();
    for (size_t k = 0; k < list->size(); ++k) {
      TkvfCurrencyItem item;
      PairFromJson((*list)[k], fmt::format("{} FCurrencyRates[{}]", r.Where(), k), "FCurrencyID", "FRate",
                   item.FCurrencyID, item.FRate);
      rates.push_back(item);
    }
  }
}

}  // namespace

void PositionFromJson(const TJson& j, TkvfConstruction& p) {
  const std::string where =
      "позиция " + (j.is_object() && j.contains("FPosNo") && j.at("FPosNo").is_string() ? j.at("FPosNo").get<std::string>()
                                                                                          : std::string("?"));
  TJsonReader r(j, where);
  r.Take("FIncluded", p.FIncluded);
  r.Take("FPosNo", p.FPosNo);
  r.Take("FName", p.FName);
  r.Take("FNumber", p.FNumber);
  r.TakeByte("FObjectType", p.FObjectType);
  r.Take("FFurnSys", p.FFurnSys);
  r.Take("FProfSys", p.FProfSys);
  r.Take("FFurnColor", p.FFurnColor);
  r.Take("FFalzType", p.FFalzType);
  r.Take("FStulpType", p.FStulpType);
  r.Take("FFlugelType", p.FFlugelType);
  r.Take("FProfWidth", p.FProfWidth);
  r.Take("FProfThickness", p.FProfThickness);
  r.TakeMoney("FPrice", p.FPrice);
  r.TakeLines("FNote", p.FNote);
  r.TakeByte("FSashLayout", p.FSashLayout);
  if (const TJson* s = r.Object("FFlugel1")) SashFromJson(*s, *p.FFlugel1, where + " FFlugel1");
  if (const TJson* s = r.Object("FFlugel2")) SashFromJson(*s, *p.FFlugel2, where + " FFlugel2");
  r.Known("error");  // what kvf calc adds to a position that failed
  r.Finish();
}

void OrderFromJson(const TJson& j, TkvfOrder& o) {
  TJsonReader r(j, "заказ");
  r.Take("FHeader", o.FHeader);
  r.Take("FVersion", o.FVersion);
  r.Take("FReserved1", o.FReserved1);
  r.Take("FReserved2", o.FReserved2);
  r.Take("FCreated1", o.FCreated1);
  r.Take("FCreated2", o.FCreated2);
  r.Take("FReserved3", o.FReserved3);
  r.Take("FOrderNo", o.FOrderNo);
  r.Take("FAltOrderNo", o.FAltOrderNo);
  r.Take("FCustomer", o.FCustomer);
  r.Take("FObjectName", o.FObjectName);
  r.Take("FAddress", o.FAddress);
  r.Take("FPhones", o.FPhones);
  r.Take("FRemark", o.FRemark);
  r.Take("FRegDate", o.FRegDate);
  r.Take("FRegDateChecked", o.FRegDateChecked);
  r.Take("FProfSys", o.FProfSys);
  r.Take("FInnerProfColor", o.FInnerProfColor);
  r.Take("FOuterProfColor", o.FOuterProfColor);
  r.Take("FFurnSys", o.FFurnSys);
  r.Take("FFurnColor", o.FFurnColor);
  r.Take("FHandle", o.FHandle);
  r.Take("FLegacyText1", o.FLegacyText1);
  r.Take("FLegacyText2", o.FLegacyText2);
  r.Take("FMaterial", o.FMaterial);
  r.Take("FFalzType", o.FFalzType);
  r.Take("FDornType", o.FDornType);
  r.Take("FStulpType", o.FStulpType);
  r.Take("FFlugelType", o.FFlugelType);
  r.Take("FPriceGroupNo", o.FPriceGroupNo);
  r.Take("FNDSTax", o.FNDSTax);
  r.Take("FTotalNDS", o.FTotalNDS);
  r.Take("FShowIncludingNDS", o.FShowIncludingNDS);
  RatesFromJson(r, o.FCurrencyRates);
  r.Take("FCurrencyID", o.FCurrencyID);
  r.TakeLines("FNote", o.FNote);
  if (const TJson* positions = r.Array("Positions")) {
    o.Positions.clear();
    for (const TJson& pj : *positions) {
      auto p = o.NewPosition();
      PositionFromJson(pj, *p);
      o.Positions.push_back(std::move(p));
    }
  }
  r.Known("savedFile");  // what kvf calc --save adds
  r.Finish();
}

TJson SelectionToJson(const TkvfOrderSelection& s) {
  TJson j;
  j["FHeader"] = s.FHeader;
  j["FVersion"] = s.FVersion;
  j["FReserved1"] = s.FReserved1;
  j["FReserved2"] = s.FReserved2;
  j["FCreated1"] = s.FCreated1;
  j["FCreated2"] = s.FCreated2;
  j["FReserved3"] = s.FReserved3;
  j["FSelectionNo"] = s.FSelectionNo;
  j["FSelDate"] = s.FSelDate;
  j["FSelName"] = s.FSelName;
  j["FCurrencyRates"] = RatesToJson(s.FCurrencyRates);
  j["FCurrencyID"] = s.FCurrencyID;
  j["FPriceGroupNo"] = s.FPriceGroupNo;
  j["FNDSTax"] = FloatJson(s.FNDSTax);
  j["FRoundMode"] = s.FRoundMode;
  j["FNote"] = Lines(s.FNote);
  TJson items = TJson::array();
  for (const auto& i : s.Items)
    items.push_back({{"FIncluded", i->FIncluded}, {"FOrderNo", i->FOrderNo}, {"FPosNo", i->FPosNo},
                     {"FWidth", FloatJson(i->FWidth)}, {"FHeight", FloatJson(i->FHeight)}, {"FNumber", i->FNumber},
                     {"FName", i->FName}, {"FOrderFile", i->FOrderFile}});
  j["Items"] = std::move(items);
  return j;
}

void SelectionFromJson(const TJson& j, TkvfOrderSelection& s) {
  TJsonReader r(j, "выборка");
  r.Take("FHeader", s.FHeader);
  r.Take("FVersion", s.FVersion);
  r.Take("FReserved1", s.FReserved1);
  r.Take("FReserved2", s.FReserved2);
  r.Take("FCreated1", s.FCreated1);
  r.Take("FCreated2", s.FCreated2);
  r.Take("FReserved3", s.FReserved3);
  r.Take("FSelectionNo", s.FSelectionNo);
  r.Take("FSelDate", s.FSelDate);
  r.Take("FSelName", s.FSelName);
  RatesFromJson(r, s.FCurrencyRates);
  r.Take("FCurrencyID", s.FCurrencyID);
  r.Take("FPriceGroupNo", s.FPriceGroupNo);
  r.Take("FNDSTax", s.FNDSTax);
  r.TakeByte("FRoundMode", s.FRoundMode);
  r.TakeLines("FNote", s.FNote);
  if (const TJson* items = r.Array("Items")) {
    s.Items.clear();
    for (size_t k = 0; k < items->size(); ++k) {
      TkvfOrderSelectionItem& i = s.AddItem();
      TJsonReader ir((*items)[k], fmt::format("выборка Items[{}]", k));
      ir.Take("FIncluded", i.FIncluded);
      ir.Take("FOrderNo", i.FOrderNo);
      ir.Take("FPosNo", i.FPosNo);
      ir.Take("FWidth", i.FWidth);
      ir.Take("FHeight", i.FHeight);
      ir.Take("FNumber", i.FNumber);
      ir.Take("FName", i.FName);
      ir.Take("FOrderFile", i.FOrderFile);
      ir.Finish();
    }
  }
  r.Finish();
}

}  // namespace kvf
