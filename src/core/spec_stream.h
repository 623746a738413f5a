#pragma once
// TSpecStream: the in-memory record stream every document and every in-memory
// copy is written to. Values carry no tags: a reader reads the same sequence of
// kinds the writer wrote. A string is a 32-bit length and Windows-1251 bytes;
// every other value is a 16-byte block (type code, six reserved bytes, value).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/datetime.h"
#include "core/money.h"

namespace kvf {

enum class TValueKind { Str, Int, Byte, Bool, Float, Date, Money };

// One value of a stream in the caller's field type.
struct TSpecValue {
  TValueKind kind = TValueKind::Int;
  std::string text;     // Str (UTF-8)
  int64_t integer = 0;  // Int, Byte, Bool (0 or -1), Money (raw 1/10 000)
  double real = 0;      // Float, Date
};

class TSpecStream {
 public:
  TSpecStream() = default;
  explicit TSpecStream(std::string bytes) : data_(std::move(bytes)) {}

  const std::string& Bytes() const { return data_; }
  size_t Size() const { return data_.size(); }
  size_t Position() const { return pos_; }
  void Seek(size_t pos) { pos_ = pos < data_.size() ? pos : data_.size(); }
  size_t Remaining() const { return data_.size() - pos_; }
  void Clear() { data_.clear(); pos_ = 0; }
  void Reserve(size_t bytes) { data_.reserve(bytes); }

  void Write(const void* bytes, size_t count);
  // Reads up to `count` bytes; returns how many arrived.
  size_t Read(void* bytes, size_t count);

  void WriteValue(const TSpecValue& value);
  // Reads one value of the expected kind. Any read past the end of the stream
  // raises EKvfError: a string whose length or text is cut short ("Ошибка чтения
  // строки из потока!..."), a block that can't be read in full. A negative string
  // length and a block whose code does not convert to the kind raise it too.
  TSpecValue ReadValue(TValueKind kind);

  void WriteStr(std::string_view utf8);
  void WriteInt(int32_t value);
  void WriteByte(uint8_t value);
  void WriteBool(bool value);
  void WriteFloat(double value);
  void WriteDate(TDateTime value);
  void WriteMoney(TMoney value);
  // Every line followed by CR LF, as one Str; an empty list is the empty Str.
  void WriteLines(const std::vector<std::string>& lines);

  std::string ReadStr();
  int32_t ReadInt();
  uint8_t ReadByte();
  bool ReadBool();
  double ReadFloat();
  float ReadSingle();  // a Float read into a 4-byte field
  TDateTime ReadDate();
  TMoney ReadMoney();
  std::vector<std::string> ReadLines();  // split at CR LF, lone CR, lone LF

  // The smallest sizes a value takes in the stream, for ReadCount.
  static constexpr size_t kValueSize = 16;   // any non-string value
  static constexpr size_t kMinStrSize = 4;   // the empty string
  // A record count that the rest of the stream can hold at all, each record
  // taking at least `minRecordBytes`; anything else raises EKvfError naming
  // `what`. Guards loaders against runaway allocations and loops.
  int32_t ReadCount(size_t minRecordBytes, std::string_view what);

  // True when the stream at the read position holds the string `text` (as
  // WriteStr wrote it); the position does not move.
  bool StartsWithStr(std::string_view text) const;

  // Whole-file copies. Saving replaces the file atomically.
  void LoadFromFile(const std::filesystem::path& path);
  void SaveToFile(const std::filesystem::path& path) const;

 private:
  void WriteBlock(uint16_t code, const void* value, size_t size);
  const unsigned char* ExpectBlock(uint16_t code);
  std::string data_;
  size_t pos_ = 0;
};

// Splits a text into lines at CR LF, lone CR and lone LF; a last terminator adds no line.
std::vector<std::string> SplitLines(std::string_view text);

// Version labels "DD.MM.YYYY" compare by the key Y*365 + M*31 + D, not by the
// calendar. A piece that is missing or not a number raises EKvfError.
int64_t VersionKey(std::string_view label);
bool IsVersionOlder(std::string_view a, std::string_view b);
bool IsVersionNotOlder(std::string_view a, std::string_view b);

}  // namespace kvf
