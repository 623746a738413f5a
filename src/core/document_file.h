#pragma once
// The whole-file pattern of the documents: written into a record stream first
// and then into the file (replaced atomically); read whole and then parsed.
// Any error is shown with the document's message ("...!\r\n(%s)") and gives false;
// so does a read that stopped (`read` returned false after showing its own message).
#include <fmt/format.h>

#include <exception>
#include <string>

#include "core/prompts.h"
#include "core/spec_stream.h"

namespace kvf {

template <typename Write>
bool SaveDocumentFile(const std::string& fileName, const char* failure, Write write) {
  if (fileName.empty()) return false;
  try {
    TSpecStream s;
    write(s);
    s.SaveToFile(fileName);
    return true;
  } catch (const std::exception& e) {
    ShowError(fmt::format("{}!\r\n({})", failure, e.what()));
    return false;
  }
}

template <typename Read>
bool LoadDocumentFile(const std::string& fileName, const char* failure, Read read) {
  if (fileName.empty()) return false;
  try {
    TSpecStream s;
    s.LoadFromFile(fileName);
    return read(s);
  } catch (const std::exception& e) {
    ShowError(fmt::format("{}!\r\n({})", failure, e.what()));
    return false;
  }
}

}  // namespace kvf
