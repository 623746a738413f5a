#pragma once
// Type codes of the 16-byte value block of a record stream.
#include <cstdint>

namespace kvf::stream_code {

constexpr uint16_t kEmpty = 0;
constexpr uint16_t kNull = 1;
constexpr uint16_t kSmallInt = 2;
constexpr uint16_t kInt = 3;
constexpr uint16_t kSingle = 4;
constexpr uint16_t kFloat = 5;
constexpr uint16_t kMoney = 6;
constexpr uint16_t kDate = 7;
constexpr uint16_t kBool = 11;
constexpr uint16_t kShortInt = 16;
constexpr uint16_t kByte = 17;
constexpr uint16_t kWord = 18;
constexpr uint16_t kLongWord = 19;
constexpr uint16_t kInt64 = 20;

constexpr int kBlockSize = 16;

}  // namespace kvf::stream_code
