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
#include "orders/order_json.h"

namespace kvf::cli {
namespace {

using nlohmann::json;

template <typename T>
void Take(const json& j, const char* name, T& target) {
  if (j.contains(name) && !j.at(name).is_null()) target = j.at(name).get<T>();
}

std::vector<std::string> Lines(const json& j, const char* name) {
  std::vector<std::string> lines;
  if (j.contains(name))
    for (const auto& l : j.at(name)) lines.push_back(l.get<std::string>());
  return lines;
}

TkvfSashChoice ReadSashChoice(const json& j) {
  TkvfSashChoice c;
  Take(j, "FComplect", c.FComplect);
  Take(j, "FHandle", c.FHandle);
  Take(j, "FHinge", c.FHinge);
  Take(j, "FLock", c.FLock);
  Take(j, "FCylinder", c.FCylinder);
  Take(j, "FDrive", c.FDrive);
  Take(j, "FLatch", c.FLatch);
  Take(j, "FUserDefineHeight", c.FUserDefineHeight);
  Take(j, "FUserHandleHeight", c.FUserHandleHeight);
  Take(j, "FDornType", c.FDornType);
  c.FProperties = Lines(j, "FProperties");
  c.FAddComplects = Lines(j, "FAddComplects");
  return c;
}

void ReadOrder(const json& j, TkvfOrder& order) {
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
  Take(j, "FOrderNo", order.FOrderNo);
  Take(j, "FAltOrderNo", order.FAltOrderNo);
  Take(j, "FCustomer", order.FCustomer);
  Take(j, "FObjectName", order.FObjectName);
  Take(j, "FAddress", order.FAddress);
  Take(j, "FPhones", order.FPhones);
  Take(j, "FRemark", order.FRemark);
  Take(j, "FRegDate", order.FRegDate);
  Take(j, "FProfSys", order.FProfSys);
  Take(j, "FInnerProfColor", order.FInnerProfColor);
  Take(j, "FOuterProfColor", order.FOuterProfColor);
  Take(j, "FFurnSys", order.FFurnSys);
  Take(j, "FFurnColor", order.FFurnColor);
  Take(j, "FHandle", order.FHandle);
  Take(j, "FMaterial", order.FMaterial);
  Take(j, "FFalzType", order.FFalzType);
  Take(j, "FDornType", order.FDornType);
  Take(j, "FStulpType", order.FStulpType);
  Take(j, "FFlugelType", order.FFlugelType);
  Take(j, "FPriceGroupNo", order.FPriceGroupNo);
  Take(j, "FNDSTax", order.FNDSTax);
  Take(j, "FCurrencyID", order.FCurrencyID);
  order.FNote = Lines(j, "FNote");
}

// The position as the new-position dialog leaves it.
std::unique_ptr<TkvfConstruction> NewPosition(TkvfOrder& order, const json& j) {
  auto p = order.NewPosition();
  p->FPosNo = fmt::format("{:03}", order.Positions.size() + 1);
  Take(j, "FPosNo", p->FPosNo);
  Take(j, "FName", p->FName);
  Take(j, "FNumber", p->FNumber);
  int objectType = 0;
  Take(j, "FObjectType", objectType);
  p->FObjectType = static_cast<uint8_t>(objectType);
  p->FNote = Lines(j, "FNote");
  p->FProfSys = order.FProfSys;
  p->FFurnSys = order.FFurnSys;
  p->FFurnColor = order.FFurnColor;
  p->FFalzType = order.FFalzType;
  p->FStulpType = order.FStulpType;
  p->FFlugelType = order.FFlugelType;
  const json outline = j.value("outline", json::object());
  TOutlineParams params;
  Take(outline, "figure", params.Figure);
  Take(outline, "B", params.B);
  Take(outline, "H", params.H);
  Take(outline, "X", params.X);
  Take(outline, "Y", params.Y);
  float r = 0;
  Take(outline, "R", r);
  params.R1 = params.R2 = r;
  int dornType = order.FDornType;
  Take(outline, "dornType", dornType);
  if (params.B <= 0 || params.H <= 0) throw EKvfError("Размеры позиции должны быть больше нуля");
  p->FSashLayout = params.Figure == 1 ? 1 : params.Figure == 2 ? 0 : 2;
  p->BuildOutlines(params, dornType);
  return p;
}

TkvfFittingsChoice ReadChoice(const json& j) {
  TkvfFittingsChoice c;
  Take(j, "FFurnSys", c.FFurnSys);
  Take(j, "FProfSys", c.FProfSys);
  Take(j, "FFurnColor", c.FFurnColor);
  Take(j, "FFalzType", c.FFalzType);
  Take(j, "FStulpType", c.FStulpType);
  Take(j, "FFlugelType", c.FFlugelType);
  Take(j, "FProfWidth", c.FProfWidth);
  Take(j, "FProfThickness", c.FProfThickness);
  if (j.contains("sash1")) c.sash1 = ReadSashChoice(j.at("sash1"));
  if (j.contains("sash2")) c.sash2 = ReadSashChoice(j.at("sash2"));
  return c;
}

}  // namespace

int RunCalc(const std::vector<std::string>& argv) {
  const TArgs args(argv, {"catalog", "config", "out", "sketch-dir"}, {"debug", "force"});
  args.ExpectPositional(1, 1, "kvf calc REQUEST.json [--catalog DIR | --config NAME] [--debug]");
  json request;
  try {
    request = json::parse(ReadWholeFile(args.Positional()[0]));
  } catch (const json::exception& e) {
    throw EKvfError(fmt::format("Неверный запрос {}: {}", args.Positional()[0], e.what()));
  }
  TOpenedCatalog catalog = OpenCatalog(args);
  Setup().DebugMode = args.Flag("debug") || request.value("debug", false);
  TkvfOrder order;
  std::vector<std::string> errors;
  try {
    ReadOrder(request.value("order", json::object()), order);
    Setup().CurrentCurrency = order.FCurrencyID;
    Setup().CurrentNDS = order.FNDSTax;
    Setup().CurrentRates = &order.FCurrencyRates;
    for (const json& pj : request.value("positions", json::array())) {
      auto position = NewPosition(order, pj);
      const TkvfFittingsChoice choice = ReadChoice(pj.value("fittings", json::object()));
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
  } catch (const json::exception& e) {
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
