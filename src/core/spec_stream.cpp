#include "core/spec_stream.h"

#include <cmath>
#include <cstring>
#include <fmt/format.h>
#include <limits>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/spec_stream_format.h"

namespace kvf {
namespace {

using namespace stream_code;

template <typename T>
T Load(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// The value of a block as a number; `isReal` tells whether it has a fraction part
// that an integer target must round.
struct TBlockNumber {
  long double value = 0;
  bool isReal = false;
};

TBlockNumber BlockNumber(const unsigned char* block) {
  const uint16_t code = Load<uint16_t>(block);
  const unsigned char* v = block + 8;
  switch (code) {
    case kEmpty: return {0, false};
    case kSmallInt: return {static_cast<long double>(Load<int16_t>(v)), false};
    case kInt: return {static_cast<long double>(Load<int32_t>(v)), false};
    case kSingle: return {static_cast<long double>(Load<float>(v)), true};
    case kFloat:
    case kDate: return {static_cast<long double>(Load<double>(v)), true};
    case kMoney: return {static_cast<long double>(Load<int64_t>(v)) / TMoney::kScale, true};
    case kBool: return {Load<int16_t>(v) != 0 ? -1.0L : 0.0L, false};
    case kShortInt: return {static_cast<long double>(Load<int8_t>(v)), false};
    case kByte: return {static_cast<long double>(Load<uint8_t>(v)), false};
    case kWord: return {static_cast<long double>(Load<uint16_t>(v)), false};
    case kLongWord: return {static_cast<long double>(Load<uint32_t>(v)), false};
    case kInt64: return {static_cast<long double>(Load<int64_t>(v)), false};
    default:
      throw EKvfError(fmt::format("Неверный тип значения в потоке: {}", code));
  }
}

int64_t ToInteger(const TBlockNumber& n, long double lo, long double hi) {
  if (!std::isfinite(static_cast<double>(n.value)))
    throw EKvfError("Неверное числовое значение в потоке");
  const int64_t v = n.isReal ? RoundHalfEven(n.value) : static_cast<int64_t>(n.value);
  if (v < lo || v > hi) throw EKvfError(fmt::format("Значение {} вне допустимого диапазона", v));
  return v;
}

}  // namespace

void TSpecStream::Write(const void* bytes, size_t count) {
  if (pos_ == data_.size()) {
    data_.append(static_cast<const char*>(bytes), count);
  } else {
    if (pos_ + count > data_.size()) data_.resize(pos_ + count);
    std::memcpy(data_.data() + pos_, bytes, count);
  }
  pos_ += count;
}

size_t TSpecStream::Read(void* bytes, size_t count) {
  const size_t n = count < Remaining() ? count : Remaining();
  std::memcpy(bytes, data_.data() + pos_, n);
  pos_ += n;
  return n;
}

void TSpecStream::WriteBlock(uint16_t code, const void* value, size_t size) {
  unsigned char block[kBlockSize] = {};
  std::memcpy(block, &code, sizeof code);
  std::memcpy(block + 8, value, size);
  Write(block, sizeof block);
}

void TSpecStream::WriteValue(const TSpecValue& value) {
  switch (value.kind) {
    case TValueKind::Str: WriteStr(value.text); break;
    case TValueKind::Int: WriteInt(static_cast<int32_t>(value.integer)); break;
    case TValueKind::Byte: WriteByte(static_cast<uint8_t>(value.integer)); break;
    case TValueKind::Bool: WriteBool(value.integer != 0); break;
    case TValueKind::Float: WriteFloat(value.real); break;
    case TValueKind::Date: WriteDate(value.real); break;
    case TValueKind::Money: WriteMoney(TMoney::FromRaw(value.integer)); break;
  }
}

TSpecValue TSpecStream::ReadValue(TValueKind kind) {
  TSpecValue result;
  result.kind = kind;
  if (kind == TValueKind::Str) {
    result.text = ReadStr();
    return result;
  }
  unsigned char block[kBlockSize] = {};
  const size_t at = pos_;
  if (Read(block, sizeof block) != sizeof block)
    throw EKvfError(fmt::format("Неожиданный конец потока: значение в позиции {} не дочитано", at));
  if (Load<uint16_t>(block) == kNull) throw EKvfError("Пустое значение (Null) в потоке");
  const TBlockNumber n = BlockNumber(block);
  switch (kind) {
    case TValueKind::Int: result.integer = ToInteger(n, INT32_MIN, INT32_MAX); break;
    case TValueKind::Byte: result.integer = ToInteger(n, 0, 255); break;
    case TValueKind::Bool: result.integer = n.value != 0 ? -1 : 0; break;
    case TValueKind::Float:
    case TValueKind::Date: result.real = static_cast<double>(n.value); break;
    case TValueKind::Money:
      if (Load<uint16_t>(block) == kMoney) {
        result.integer = Load<int64_t>(block + 8);
      } else {
        if (!std::isfinite(static_cast<double>(n.value)) || std::fabs(static_cast<double>(n.value)) > 9.2e14)
          throw EKvfError("Неверное денежное значение в потоке");
        result.integer = TMoney::FromDouble(static_cast<double>(n.value)).Raw();
      }
      break;
    case TValueKind::Str: break;
  }
  return result;
}

void TSpecStream::WriteStr(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    const auto n = static_cast<int32_t>(utf8.size());
    Write(&n, sizeof n);
    Write(utf8.data(), utf8.size());
    return;
  }
  const std::string bytes = Utf8ToCp1251(utf8);
  const auto n = static_cast<int32_t>(bytes.size());
  Write(&n, sizeof n);
  Write(bytes.data(), bytes.size());
}

void TSpecStream::WriteInt(int32_t value) { WriteBlock(kInt, &value, sizeof value); }
void TSpecStream::WriteByte(uint8_t value) { WriteBlock(kByte, &value, sizeof value); }
void TSpecStream::WriteBool(bool value) {
  const int16_t v = value ? -1 : 0;
  WriteBlock(kBool, &v, sizeof v);
}
void TSpecStream::WriteFloat(double value) { WriteBlock(kFloat, &value, sizeof value); }
void TSpecStream::WriteDate(TDateTime value) { WriteBlock(kDate, &value, sizeof value); }
void TSpecStream::WriteMoney(TMoney value) {
  const int64_t raw = value.Raw();
  WriteBlock(kMoney, &raw, sizeof raw);
}

void TSpecStream::WriteLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  WriteStr(text);
}

std::string TSpecStream::ReadStr() {
  int32_t n = 0;
  if (Read(&n, sizeof n) != sizeof n) throw EKvfError("Неожиданный конец потока при чтении длины строки");
  if (n < 0) throw EKvfError(fmt::format("Неверная длина строки в потоке: {}", n));
  if (n == 0) return {};
  // Never trust the length: reserve no more than the stream still holds.
  const size_t want = static_cast<size_t>(n);
  const size_t got = want < Remaining() ? want : Remaining();
  std::string bytes(data_.data() + pos_, got);
  pos_ += got;
  if (got < want)
    throw EKvfError(fmt::format("Ошибка чтения строки из потока!\r\nЗаказано: [{} символов], Считано: [{} символов]!",
                                want, got));
  const size_t zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  return Cp1251ToUtf8(bytes);
}

// The block at the read position when it is whole and carries `code`: the
// value bytes, with the position moved past the block; null otherwise.
const unsigned char* TSpecStream::ExpectBlock(uint16_t code) {
  if (Remaining() < static_cast<size_t>(kBlockSize)) return nullptr;
  const auto* block = reinterpret_cast<const unsigned char*>(data_.data() + pos_);
  if (Load<uint16_t>(block) != code) return nullptr;
  pos_ += kBlockSize;
  return block + 8;
}

int32_t TSpecStream::ReadInt() {
  if (const unsigned char* v = ExpectBlock(kInt)) return Load<int32_t>(v);
  return static_cast<int32_t>(ReadValue(TValueKind::Int).integer);
}
uint8_t TSpecStream::ReadByte() {
  if (const unsigned char* v = ExpectBlock(kByte)) return *v;
  return static_cast<uint8_t>(ReadValue(TValueKind::Byte).integer);
}
bool TSpecStream::ReadBool() {
  if (const unsigned char* v = ExpectBlock(kBool)) return Load<int16_t>(v) != 0;
  return ReadValue(TValueKind::Bool).integer != 0;
}
double TSpecStream::ReadFloat() {
  if (const unsigned char* v = ExpectBlock(kFloat)) return Load<double>(v);
  return ReadValue(TValueKind::Float).real;
}
float TSpecStream::ReadSingle() { return static_cast<float>(ReadFloat()); }
TDateTime TSpecStream::ReadDate() {
  if (const unsigned char* v = ExpectBlock(kDate)) return Load<double>(v);
  return ReadValue(TValueKind::Date).real;
}
TMoney TSpecStream::ReadMoney() {
  if (const unsigned char* v = ExpectBlock(kMoney)) return TMoney::FromRaw(Load<int64_t>(v));
  return TMoney::FromRaw(ReadValue(TValueKind::Money).integer);
}
std::vector<std::string> TSpecStream::ReadLines() { return SplitLines(ReadStr()); }

bool TSpecStream::StartsWithStr(std::string_view text) const {
  const std::string bytes = Utf8ToCp1251(text);
  if (Remaining() < 4 + bytes.size()) return false;
  int32_t n = 0;
  std::memcpy(&n, data_.data() + pos_, sizeof n);
  return n == static_cast<int32_t>(bytes.size()) && data_.compare(pos_ + 4, bytes.size(), bytes) == 0;
}

int32_t TSpecStream::ReadCount(size_t minRecordBytes, std::string_view what) {
  const int32_t n = ReadInt();
  if (n < 0 || static_cast<size_t>(n) > Remaining() / minRecordBytes)
    throw EKvfError(fmt::format("Неверное число записей ({}): {}", what, n));
  return n;
}

void TSpecStream::LoadFromFile(const std::filesystem::path& path) {
  data_ = ReadWholeFile(path);
  pos_ = 0;
}

void TSpecStream::SaveToFile(const std::filesystem::path& path) const { WriteFileAtomic(path, data_); }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

int64_t VersionKey(std::string_view label) {
  int64_t pieces[3] = {0, 0, 0};
  size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    if (start > label.size()) throw EKvfError(fmt::format("Неверная метка версии '{}'", std::string(label)));
    const size_t dot = label.find('.', start);
    std::string_view piece = label.substr(start, dot == std::string_view::npos ? label.npos : dot - start);
    while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
    while (!piece.empty() && piece.back() == ' ') piece.remove_suffix(1);
    bool ok = !piece.empty() && piece.size() <= 9;
    size_t k = (ok && (piece[0] == '-' || piece[0] == '+')) ? 1 : 0;
    ok = ok && k < piece.size();
    int64_t v = 0;
    for (; ok && k < piece.size(); ++k) {
      if (piece[k] < '0' || piece[k] > '9') ok = false;
      else v = v * 10 + (piece[k] - '0');
    }
    if (!ok) throw EKvfError(fmt::format("Неверная метка версии '{}'", std::string(label)));
    pieces[i] = piece[0] == '-' ? -v : v;
    start = dot == std::string_view::npos ? label.size() + 1 : dot + 1;
  }
  return pieces[2] * 365 + pieces[1] * 31 + pieces[0];
}

bool IsVersionOlder(std::string_view a, std::string_view b) { return VersionKey(a) < VersionKey(b); }
bool IsVersionNotOlder(std::string_view a, std::string_view b) { return VersionKey(a) >= VersionKey(b); }

}  // namespace kvf
