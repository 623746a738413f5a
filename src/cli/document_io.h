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

// Prints material lines as a table or CSV; names and units from the catalog when open.
void PrintMaterials(const TkvfMatList& list, bool csv, bool withCatalog);

}  // namespace kvf::cli
