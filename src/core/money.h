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
  // Rounded to 1/10 000, halves to even; a value that is not finite or out of
  // range raises EKvfError naming it.
  static TMoney FromDouble(double value);
  static TMoney FromUnits(int64_t units);

  constexpr int64_t Raw() const { return raw_; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }
  constexpr bool IsZero() const { return raw_ == 0; }

  // "12.5000", "-3.0000": always four decimals, "." as the decimal point.
  std::string ToString() const;
  // Accepts an optional sign, digits, "." or "," and up to any number of decimals
  // (rounded half to even to four). Blanks around are ignored. nullopt on bad text
  // and on an amount out of range.
  static std::optional<TMoney> Parse(std::string_view text);

  // Every operation checks its range: a result that 64 bits cannot hold raises
  // EKvfError naming the value, never wraps.
  TMoney operator-() const;
  TMoney operator+(TMoney o) const;
  TMoney operator-(TMoney o) const;
  TMoney& operator+=(TMoney o) { return *this = *this + o; }
  TMoney& operator-=(TMoney o) { return *this = *this - o; }
  TMoney operator*(double factor) const;
  TMoney operator/(double divisor) const;  // divisor 0 raises EKvfError
  constexpr auto operator<=>(const TMoney&) const = default;

 private:
  int64_t raw_ = 0;
};

// Rounds a real to the nearest integer, halves to even. A value that is not
// finite or outside the 64-bit range raises EKvfError.
int64_t RoundHalfEven(long double value);

}  // namespace kvf
