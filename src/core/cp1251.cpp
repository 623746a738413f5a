#include "core/cp1251.h"

#include <array>

namespace kvf {
namespace {

// Code points of the bytes 0x80..0xFF; 0 marks the one unassigned byte (0x98).
constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

int ByteOf(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(cp - 0x0410 + 0xC0);
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

char32_t UpperOf(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0x0430 && c <= 0x044F) return c - 0x20;
  if (c >= 0x0450 && c <= 0x045F) return c - 0x50;
  if (c == 0x0491) return 0x0490;
  return c;
}

char32_t LowerOf(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
  if (c == 0x0490) return 0x0491;
  return c;
}

template <typename F>
std::string MapCase(std::string_view utf8, F f) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) AppendUtf8(out, f(NextCodePoint(utf8, pos)));
  return out;
}

}  // namespace

char32_t NextCodePoint(std::string_view s, size_t& pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  int extra = 0;
  char32_t cp = 0;
  if (b0 < 0x80) { ++pos; return b0; }
  if ((b0 & 0xE0) == 0xC0) { extra = 1; cp = b0 & 0x1F; }
  else if ((b0 & 0xF0) == 0xE0) { extra = 2; cp = b0 & 0x0F; }
  else if ((b0 & 0xF8) == 0xF0) { extra = 3; cp = b0 & 0x07; }
  else { ++pos; return 0xFFFD; }
  if (pos + extra >= s.size()) { ++pos; return 0xFFFD; }
  for (int i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) { ++pos; return 0xFFFD; }
    cp = (cp << 6) | (b & 0x3F);
  }
  pos += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

size_t Utf8Length(std::string_view utf8) {
  size_t n = 0, pos = 0;
  while (pos < utf8.size()) { NextCodePoint(utf8, pos); ++n; }
  return n;
}

namespace {
bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}
}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const int b = ByteOf(NextCodePoint(utf8, pos));
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  if (IsAscii(cp1251)) return std::string(cp1251);
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char ch : cp1251) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else {
      const char16_t cp = kHigh[b - 0x80];
      AppendUtf8(out, cp == 0 ? U'?' : cp);
    }
  }
  return out;
}

std::string AnsiUpperCase(std::string_view utf8) { return MapCase(utf8, UpperOf); }
std::string AnsiLowerCase(std::string_view utf8) { return MapCase(utf8, LowerOf); }

bool SameTextI(std::string_view a, std::string_view b) {
  return AnsiUpperCase(a) == AnsiUpperCase(b);
}

int CompareCp1251(std::string_view a, std::string_view b) {
  const std::string x = Utf8ToCp1251(a), y = Utf8ToCp1251(b);
  const int c = std::string_view(x).compare(y);  // char_traits<char> compares as unsigned
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace kvf
