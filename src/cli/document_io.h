#pragma once
// Loading and writing documents for the kvf commands, and the material table.
#include <nlohmann/json.hpp>
#include <string>

#include "cli/command.h"
#include "engine/mat_list.h"
#include "engine/order.h"
#include "orders/selection.h"

namespace kvf::cli {

// Loads the order; --no-convert refuses the conversion of an older file.
// A load that fails raises TReportedFailure (the loader showed its message).
void LoadOrder(const std::string& file, const TArgs& args, TkvfOrder& order);
void LoadSelection(const std::string& file, const TArgs& args, TkvfOrderSelection& selection);
// Refuses an existing file unless --force is given.
void CheckOverwrite(const std::string& file, const TArgs& args);
// JSON on standard output; a JSON file read and parsed (EKvfError naming the file).
void PrintJson(const nlohmann::ordered_json& j);
nlohmann::ordered_json ReadJsonFile(const std::string& file);

// The tax rules and currency of the document the lines come from.
struct TMaterialTotals {
  int32_t currencyId = 0;
  float ndsTax = 0;
  bool totalNDS = true;
};
enum class TMaterialFormat { Table, Csv, Json };
// The format the flags --csv and --json ask for (both: a usage error).
TMaterialFormat MaterialFormat(const TArgs& args);
// Prints material lines with their sum, VAT and sum with VAT: as a table, as
// CSV (a header row, the lines, the three total rows) or as the materials JSON.
// Names, units and the currency name come from the catalog when it is open.
void PrintMaterials(const TkvfMatList& list, TMaterialFormat format, bool withCatalog, const TMaterialTotals& totals);

}  // namespace kvf::cli
