#pragma once
// Writes Paradox tables with pxlib for the import tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

extern "C" {
#include <paradox.h>
}

namespace kvf::test {

// Writes a Paradox table with pxlib, which takes over the field list.
class TParadoxWriter {
 public:
  TParadoxWriter(const std::filesystem::path& file, std::vector<pxfield_t> fields) : fields_(fields) {
    doc_ = PX_new();
    auto* owned = static_cast<pxfield_t*>(std::malloc(sizeof(pxfield_t) * fields.size()));
    for (size_t i = 0; i < fields.size(); ++i) {
      owned[i] = fields[i];
      owned[i].px_fname = strdup(fields[i].px_fname);
    }
    EXPECT_EQ(PX_create_file(doc_, owned, static_cast<int>(fields.size()), file.c_str(), pxfFileTypNonIndexDB), 0);
    for (const auto& f : fields_) size_ += f.px_flen;
  }
  ~TParadoxWriter() {
    PX_close(doc_);
    PX_delete(doc_);
  }
  char* Field(std::vector<char>& record, int index) {
    int offset = 0;
    for (int i = 0; i < index; ++i) offset += fields_[static_cast<size_t>(i)].px_flen;
    return record.data() + offset;
  }
  std::vector<char> NewRecord() const { return std::vector<char>(static_cast<size_t>(size_), 0); }
  void Put(std::vector<char>& record) { PX_put_record(doc_, record.data()); }
  pxdoc_t* doc_;
  std::vector<pxfield_t> fields_;
  int size_ = 0;
};

}  // namespace kvf::test
