#pragma once
// The catalog a kvf command works with: --catalog DIR, or the folders of
// --config NAME (the default configuration when neither is given).
#include <memory>
#include <string>

#include "catalog/dm.h"
#include "cli/command.h"
#include "core/configuration.h"

namespace kvf::cli {

struct TOpenedCatalog {
  std::unique_ptr<TDM> dm;
  TkvfConfig config;  // CatalogDir always; the other folders with --config
  TOpenedCatalog() = default;
  TOpenedCatalog(TOpenedCatalog&&) = default;
  TOpenedCatalog& operator=(TOpenedCatalog&&) = default;
  ~TOpenedCatalog() {
    if (dm && HasDM() && &DM() == dm.get()) SetDM(nullptr);
  }
};

// Connects and opens the catalog tables and installs DM(); settings of the
// catalog folder's KVFurniture.ini are loaded when it exists. Raises EKvfError.
TOpenedCatalog OpenCatalog(const TArgs& args);

}  // namespace kvf::cli
