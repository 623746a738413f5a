#pragma once
// Money: a signed 64-bit count of 1/10 000 of the currency unit. Sums are exact;
// every product or quotient is rounded to 1/10 000, halves to even.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvf {

class TMoney {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr TMoney() = default;
  static constexpr TMoney FromRaw(int64_t raw) { TMoney m; m.raw_ = raw; return m; }
  static TMoney FromDouble(double value);  // rounded to 1/10 000, halves to even
  static constexpr TMoney FromUnits(int64_t units) { return FromRaw(units * kScale); }

  constexpr int64_t Raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  constexpr bool IsZero() const { return raw_ == 0; }

  // "12.5000", "-3.0000": always four decimals, "." as the decimal point.
  std::string ToString() const;
  // Accepts an optional sign, digits, "." or "," and up to any number of decimals
  // (rounded half to even to four). Blanks around are ignored. nullopt on bad text.
  static std::optional<TMoney> Parse(std::string_view text);

  constexpr TMoney operator-() const { return FromRaw(-raw_); }
  constexpr TMoney operator+(TMoney o) const { return FromRaw(raw_ + o.raw_); }
  constexpr TMoney operator-(TMoney o) const { return FromRaw(raw_ - o.raw_); }
  TMoney& operator+=(TMoney o) { raw_ += o.raw_; return *this; }
  TMoney& operator-=(TMoney o) { raw_ -= o.raw_; return *this; }
  TMoney operator*(double factor) const;
  TMoney operator/(double divisor) const;  // divisor 0 raises EKvfError
  constexpr auto operator<=>(const TMoney&) const = default;

 private:
  int64_t raw_ = 0;
};

// Rounds a real to the nearest integer, halves to even.
int64_t RoundHalfEven(long double value);

}  // namespace kvf
