// kvf calc: builds positions as the new-position and fittings dialogs do,
// calculates their fittings and prints the Order JSON.
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
  const TJsonReader r(j, where);
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
  return c;
}

void ReadOrder(const TJson& j, TkvfOrder& order) {
  const TJsonReader r(j, "заказ");
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
}

// The position as the new-position dialog leaves it.
std::unique_ptr<TkvfConstruction> NewPosition(TkvfOrder& order, const TJson& j, const std::string& where) {
  const TJsonReader r(j, where);
  auto p = order.NewPosition();
  p->FPosNo = fmt::format("{:03}", order.Positions.size() + 1);
  r.Take("FPosNo", p->FPosNo);
  r.Take("FName", p->FName);
  r.Take("FNumber", p->FNumber);
  int objectType = 0;
  r.Take("FObjectType", objectType);
  p->FObjectType = static_cast<uint8_t>(objectType);
  r.TakeLines("FNote", p->FNote);
  p->FProfSys = order.FProfSys;
  p->FFurnSys = order.FFurnSys;
  p->FFurnColor = order.FFurnColor;
  p->FFalzType = order.FFalzType;
  p->FStulpType = order.FStulpType;
  p->FFlugelType = order.FFlugelType;
  const TJson outline = j.value("outline", TJson::object());
  const TJsonReader o(outline, where + " outline");
  TOutlineParams params;
  o.Take("figure", params.Figure);
  o.Take("B", params.B);
  o.Take("H", params.H);
  o.Take("X", params.X);
  o.Take("Y", params.Y);
  float radius = 0;
  o.Take("R", radius);
  params.R1 = params.R2 = radius;
  int dornType = order.FDornType;
  o.Take("dornType", dornType);
  if (params.B <= 0 || params.H <= 0) throw EKvfError("Размеры позиции должны быть больше нуля");
  p->FSashLayout = params.Figure == 1 ? 1 : params.Figure == 2 ? 0 : 2;
  p->BuildOutlines(params, dornType);
  return p;
}

TkvfFittingsChoice ReadChoice(const TJson& j, const std::string& where) {
  const TJsonReader r(j, where);
  TkvfFittingsChoice c;
  r.Take("FFurnSys", c.FFurnSys);
  r.Take("FProfSys", c.FProfSys);
  r.Take("FFurnColor", c.FFurnColor);
  r.Take("FFalzType", c.FFalzType);
  r.Take("FStulpType", c.FStulpType);
  r.Take("FFlugelType", c.FFlugelType);
  r.Take("FProfWidth", c.FProfWidth);
  r.Take("FProfThickness", c.FProfThickness);
  if (const TJson* sash = r.Child("sash1")) c.sash1 = ReadSashChoice(*sash, where + " sash1");
  if (const TJson* sash = r.Child("sash2")) c.sash2 = ReadSashChoice(*sash, where + " sash2");
  return c;
}

}  // namespace

int RunCalc(const std::vector<std::string>& argv) {
  const TArgs args(argv, {"catalog", "config", "out", "sketch-dir"}, {"debug", "force"});
  args.ExpectPositional(1, 1, "kvf calc REQUEST.json [--catalog DIR | --config NAME] [--debug]");
  const TJson request = ParseJsonText(ReadWholeFile(args.Positional()[0]), args.Positional()[0]);
  TOpenedCatalog catalog = OpenCatalog(args);
  Setup().DebugMode = args.Flag("debug") || request.value("debug", false);
  TkvfOrder order;
  std::vector<std::string> errors;
  try {
    ReadOrder(request.value("order", TJson::object()), order);
    Setup().CurrentCurrency = order.FCurrencyID;
    Setup().CurrentNDS = order.FNDSTax;
    Setup().CurrentRates = &order.FCurrencyRates;
    for (const TJson& pj : request.value("positions", TJson::array())) {
      const std::string where = fmt::format("позиция {}", order.Positions.size() + 1);
      auto position = NewPosition(order, pj, where);
      const TkvfFittingsChoice choice = ReadChoice(pj.value("fittings", TJson::object()), where + " fittings");
      TSpecStream backup;
      position->SaveBackup(backup);
      try {
        position->SetFittings(choice);
        errors.emplace_back();
      } catch (const EKvfError& e) {
        position->RestoreBackup(backup);
        errors.emplace_back(e.what());
      }
      order.Positions.push_back(std::move(position));
    }
  } catch (const TJson::exception& e) {
    throw EKvfError(fmt::format("Неверный запрос {}: {}", args.Positional()[0], e.what()));
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
