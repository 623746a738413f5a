#pragma once
// Broken references and impossible ranges a catalog maintainer must fix: each
// problem names the table, the row and what is wrong.
#include <filesystem>
#include <string>
#include <vector>

namespace kvf {

std::vector<std::string> CheckCatalog(const std::filesystem::path& catalogDir);

}  // namespace kvf
