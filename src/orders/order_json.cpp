#include "orders/order_json.h"

#include <charconv>
#include <cstdlib>

#include "engine/furn_comp.h"

namespace kvf {

TJson FloatJson(float value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  *r.ptr = '\0';
  const double d = std::strtod(buf, nullptr);
  if (d == static_cast<double>(static_cast<int64_t>(d)) && std::abs(d) < 1e15) return static_cast<int64_t>(d);
  return d;
}

TJson MoneyJson(const TMoney& value) { return value.ToString(); }

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
  TJson rates = TJson::array();
  for (const TkvfCurrencyItem& r : o.FCurrencyRates)
    rates.push_back({{"FCurrencyID", r.FCurrencyID}, {"FRate", FloatJson(r.FRate)}});
  j["FCurrencyRates"] = std::move(rates);
  j["FCurrencyID"] = o.FCurrencyID;
  j["FNote"] = Lines(o.FNote);
  TJson positions = TJson::array();
  for (const auto& p : o.Positions) positions.push_back(PositionToJson(*p));
  j["Positions"] = std::move(positions);
  return j;
}

}  // namespace kvf
