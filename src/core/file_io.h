#pragma once
// Whole-file reading and atomic replacing. Errors are EKvfError naming the path
// and the system's reason.
#include <filesystem>
#include <string>
#include <string_view>

namespace kvf {

std::string ReadWholeFile(const std::filesystem::path& path);
// Writes a temporary file beside `path`, flushes it to disk and renames it over
// `path`: a failure at any point leaves the old file as it was.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

}  // namespace kvf
