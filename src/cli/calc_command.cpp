// kvf calc: builds positions as the new-position and fittings dialogs do,
// calculates their fittings and prints the Order JSON.
#include <cmath>
#include <cstdio>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "catalog/lookups.h"
#include "cli/catalog_access.h"
#include "cli/command.h"
#include "cli/document_io.h"
#include "cli/sketch_output.h"
#include "core/text_utils.h"
#include <filesystem>
#include "core/datetime.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/prompts.h"
#include "core/setup.h"
#include "core/spec_stream.h"
#include "engine/order.h"
#include "orders/json_reader.h"
#include "orders/order_json.h"

namespace kvf::cli {
namespace {

TkvfSashChoice ReadSashChoice(const TJson& j, const std::string& where) {
  TJsonReader r(j, where);
  TkvfSashChoice c;
  r.Take("FComplect", c.FComplect);
  r.Take("FHandle", c.FHandle);
  r.Take("FHinge", c.FHinge);
  r.Take("FLock", c.FLock);
  r.Take("FCylinder", c.FCylinder);
  r.Take("FDrive", c.FDrive);
  r.Take("FLatch", c.FLatch);
  r.Take("FUserDefineHeight", c.FUserDefineHeight);
  r.Take("FUserHandleHeight", c.FUserHandleHeight);
  r.Take("FDornType", c.FDornType);
  r.TakeLines("FProperties", c.FProperties);
  r.TakeLines("FAddComplects", c.FAddComplects);
  r.Finish();
  return c;
}

void ReadOrder(const TJson& j, TkvfOrder& order) {
  TJsonReader r(j, "заказ");
  order.FCreated1 = order.FCreated2 = Now();
  order.FRegDate = Today();
  const TkvfSetup& setup = Setup();
  order.FCurrencyID = setup.CurCurrency;
  order.FNDSTax = setup.NDSTax;
  order.FTotalNDS = setup.TotalNDS;
  order.FShowIncludingNDS = setup.ShowIncludingNDS;
  order.FPriceGroupNo = setup.PriceGrpNo;
  order.FMaterial = setup.DefMaterial;
  LoadCurrencyRates(order.FCurrencyRates);
  if (IndexOfCurrency(&order.FCurrencyRates, order.FCurrencyID) < 0 && !order.FCurrencyRates.empty())
    order.FCurrencyID = order.FCurrencyRates.front().FCurrencyID;
  r.Take("FOrderNo", order.FOrderNo);
  r.Take("FAltOrderNo", order.FAltOrderNo);
  r.Take("FCustomer", order.FCustomer);
  r.Take("FObjectName", order.FObjectName);
  r.Take("FAddress", order.FAddress);
  r.Take("FPhones", order.FPhones);
  r.Take("FRemark", order.FRemark);
  r.Take("FRegDate", order.FRegDate);
  r.Take("FProfSys", order.FProfSys);
  r.Take("FInnerProfColor", order.FInnerProfColor);
  r.Take("FOuterProfColor", order.FOuterProfColor);
  r.Take("FFurnSys", order.FFurnSys);
  r.Take("FFurnColor", order.FFurnColor);
  r.Take("FHandle", order.FHandle);
  r.Take("FMaterial", order.FMaterial);
  r.Take("FFalzType", order.FFalzType);
  r.Take("FDornType", order.FDornType);
  r.Take("FStulpType", order.FStulpType);
  r.Take("FFlugelType", order.FFlugelType);
  r.Take("FPriceGroupNo", order.FPriceGroupNo);
  r.Take("FNDSTax", order.FNDSTax);
  r.Take("FCurrencyID", order.FCurrencyID);
  r.TakeLines("FNote", order.FNote);
  r.Finish();
  if (!order.FCurrencyRates.empty() && IndexOfCurrency(&order.FCurrencyRates, order.FCurrencyID) < 0)
    throw EKvfError(fmt::format("заказ: FCurrencyID: валюты {} нет в таблице валют каталога", order.FCurrencyID));
}

[[noreturn]] void BadOutline(const std::string& where, const std::string& text) {
  throw EKvfError(fmt::format("{} outline: {}", where, text));
}

// The figure and sizes as the new-position dialog takes them: a value the
// dialog would not allow is refused, one it would fill in is filled in.
TOutlineParams ReadOutline(const TJson& j, const std::string& where, int& dornType) {
  TJsonReader o(j, where + " outline");
  TOutlineParams params;
  o.Take("figure", params.Figure);
  o.Take("B", params.B);
  o.Take("H", params.H);
  const bool hasX = o.Has("X"), hasY = o.Has("Y");
  o.Take("X", params.X);
  o.Take("Y", params.Y);
  float radius = 0;
  o.Take("R", radius);
  o.Take("dornType", dornType);
  o.Finish();
  const int f = params.Figure;
  if (f < 0 || f > 7) BadOutline(where, fmt::format("figure {} вне 0..7", f));
  if (params.B <= 0 || params.H <= 0) BadOutline(where, "B и H должны быть больше нуля");
  constexpr int kMaxSize = 100000;  // mm: the outline is kept in tenths of a millimetre in 32 bits
  for (const double v : {double(params.B), double(params.H), double(params.X), double(params.Y), double(radius)})
    if (std::fabs(v) > kMaxSize) BadOutline(where, fmt::format("B, H, X, Y и R не больше {} мм", kMaxSize));
  if (radius != 0 && f != 7) BadOutline(where, fmt::format("R задается только для арки (figure 7), а не для figure {}", f));
  if (radius < 0) BadOutline(where, "R не может быть меньше нуля");
  if (f == 1 || f == 2) {
    if (!hasX) params.X = params.B / 2;
    if (!hasY) params.Y = params.B - params.X;
    if (params.X <= 0 || params.Y <= 0) BadOutline(where, "X и Y (ширины створок) должны быть больше нуля");
    if (params.X + params.Y != params.B)
      BadOutline(where, fmt::format("X + Y ({} + {}) должно быть равно B ({})", params.X, params.Y, params.B));
  } else {
    if (hasY && params.Y != 0) BadOutline(where, fmt::format("Y задается только для figure 1 и 2, а не для figure {}", f));
    if (f == 3 || f == 4) {
      if (!hasX) params.X = params.H / 2;
      if (params.X <= 0 || params.X > params.H) BadOutline(where, "X (высота низкой стороны) должна быть от 1 до H");
    } else if (f == 7) {
      if (params.X < 0 || params.X > params.H) BadOutline(where, "X (высота подъема арки) должна быть от 0 до H");
    } else if (hasX && params.X != 0) {
      BadOutline(where, fmt::format("X задается только для figure 1, 2, 3, 4 и 7, а не для figure {}", f));
    }
  }
  params.R1 = params.R2 = radius;
  return params;
}

// The position as the new-position dialog leaves it.
std::unique_ptr<TkvfConstruction> NewPosition(TkvfOrder& order, TJsonReader& r, const std::string& where) {
  auto p = order.NewPosition();
  p->FPosNo = fmt::format("{:03}", order.Positions.size() + 1);
  r.Take("FPosNo", p->FPosNo);
  r.Take("FName", p->FName);
  r.Take("FNumber", p->FNumber);
  if (p->FNumber <= 0) throw EKvfError(fmt::format("{}: FNumber (количество) должно быть больше нуля", where));
  r.TakeByte("FObjectType", p->FObjectType);
  if (p->FObjectType > 1)
    throw EKvfError(fmt::format("{}: FObjectType {}: 0 — окно, 1 — дверь с порогом", where, p->FObjectType));
  r.TakeLines("FNote", p->FNote);
  p->FProfSys = order.FProfSys;
  p->FFurnSys = order.FFurnSys;
  p->FFurnColor = order.FFurnColor;
  p->FFalzType = order.FFalzType;
  p->FStulpType = order.FStulpType;
  p->FFlugelType = order.FFlugelType;
  const TJson* outline = r.Object("outline");
  if (!outline) throw EKvfError(fmt::format("{}: нет outline (фигура и размеры)", where));
  int dornType = order.FDornType;
  const TOutlineParams params = ReadOutline(*outline, where, dornType);
  p->FSashLayout = params.Figure == 1 ? 1 : params.Figure == 2 ? 0 : 2;
  p->BuildOutlines(params, dornType);
  return p;
}

TkvfFittingsChoice ReadChoice(const TJson& j, const std::string& where, const TkvfConstruction& p) {
  TJsonReader r(j, where);
  TkvfFittingsChoice c;
  r.Take("FFurnSys", c.FFurnSys);
  r.Take("FProfSys", c.FProfSys);
  r.Take("FFurnColor", c.FFurnColor);
  r.Take("FFalzType", c.FFalzType);
  r.Take("FStulpType", c.FStulpType);
  r.Take("FFlugelType", c.FFlugelType);
  r.Take("FProfWidth", c.FProfWidth);
  r.Take("FProfThickness", c.FProfThickness);
  if (const TJson* sash = r.Object("sash1")) c.sash1 = ReadSashChoice(*sash, where + " sash1");
  if (const TJson* sash = r.Object("sash2")) {
    if (p.FSashLayout == 2)
      throw EKvfError(fmt::format("{}: sash2 только для двухстворчатых фигур 1 и 2", where));
    c.sash2 = ReadSashChoice(*sash, where + " sash2");
  }
  r.Finish();
  return c;
}

}  // namespace

int RunCalc(const std::vector<std::string>& argv) {
  const TArgs args(argv, {"catalog", "config", "out", "sketch-dir"}, {"debug", "force"});
  args.ExpectPositional(1, 1, "kvf calc REQUEST.json [--catalog DIR | --config NAME] [--debug]");
  const TJson request = ParseJsonText(ReadWholeFile(args.Positional()[0]), args.Positional()[0]);
  TOpenedCatalog catalog = OpenCatalog(args);
  TkvfOrder order;
  std::vector<std::string> errors;
  TJsonReader top(request, "запрос");
  bool debug = false;
  top.Take("debug", debug);
  Setup().DebugMode = args.Flag("debug") || debug;
  const TJson* orderJson = top.Object("order");
  const TJson* positions = top.Array("positions");
  top.Finish();
  ReadOrder(orderJson ? *orderJson : TJson::object(), order);
  Setup().CurrentCurrency = order.FCurrencyID;
  Setup().CurrentNDS = order.FNDSTax;
  Setup().CurrentRates = &order.FCurrencyRates;
  if (!positions || positions->empty()) throw EKvfError("запрос: positions: нет ни одной позиции");
  for (const TJson& pj : *positions) {
    const std::string where = fmt::format("позиция {}", order.Positions.size() + 1);
    TJsonReader r(pj, where);
    auto position = NewPosition(order, r, where);
    const TJson* fittings = r.Object("fittings");
    r.Finish();
    const TkvfFittingsChoice choice =
        fittings ? ReadChoice(*fittings, where + " fittings", *position) : TkvfFittingsChoice{};
    TSpecStream backup;
    position->SaveBackup(backup);
    try {
      if (fittings) position->SetFittings(choice);
      errors.emplace_back();
    } catch (const EKvfError& e) {
      position->RestoreBackup(backup);
      errors.emplace_back(e.what());
    }
    order.Positions.push_back(std::move(position));
  }
  TJson out = OrderToJson(order);
  bool failed = false;
  for (size_t i = 0; i < errors.size(); ++i) {
    if (errors[i].empty()) continue;
    failed = true;
    out["Positions"][i]["error"] = errors[i];
    std::fprintf(stderr, "Позиция %s: %s\n", order.Positions[i]->FPosNo.c_str(), ConsoleText(errors[i]).c_str());
  }
  Setup().CurrentRates = nullptr;
  if (const auto dir = args.Value("sketch-dir")) {
    std::filesystem::create_directories(*dir);
    for (const auto& p : order.Positions) {
      std::string name = p->FPosNo;
      SafeFileName(name);
      WriteSketchPng(*p, TSketchRequest{}, (std::filesystem::path(*dir) / (name + ".png")).string());
    }
  }
  if (const auto file = args.Value("out")) {
    CheckOverwrite(*file, args);
    if (!order.SaveToFile(*file)) failed = true;
  }
  std::printf("%s\n", out.dump(2, ' ', false, TJson::error_handler_t::replace).c_str());
  return failed ? 1 : 0;
}

}  // namespace kvf::cli
