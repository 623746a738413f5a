#pragma once
// What a document's version label means for the record layouts of the order
// file; decided once per read and handed to every nested record reader.
#include <string>

namespace kvf {

struct TRecordLayout {
  bool types = true;     // the four type integers (not two texts)
  bool history = true;   // items carry their history
  bool comment = true;   // items carry their comment
  bool sashDorn = true;  // each sash carries its backset type
  bool current = true;   // items carry side, spares and parent complect
  TRecordLayout() = default;
  explicit TRecordLayout(const std::string& version);  // a bad label raises EKvfError
};

}  // namespace kvf
