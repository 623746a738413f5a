#include "core/money.h"

#include <cmath>
#include <fmt/format.h>

#include "core/error.h"

namespace kvf {

int64_t RoundHalfEven(long double value) {
  const long double fl = std::floor(value);
  const long double diff = value - fl;
  auto result = static_cast<int64_t>(fl);
  if (diff > 0.5L || (diff == 0.5L && (result % 2 != 0))) ++result;
  return result;
}

TMoney TMoney::FromDouble(double value) {
  // The decimal text of the double decides: 0.1 * 10000 must give exactly 1000.
  const std::string text = fmt::format("{:.6f}", value);
  if (auto m = Parse(text)) return *m;
  return FromRaw(RoundHalfEven(static_cast<long double>(value) * kScale));
}

std::string TMoney::ToString() const {
  const uint64_t mag = raw_ < 0 ? static_cast<uint64_t>(-(raw_ + 1)) + 1 : static_cast<uint64_t>(raw_);
  return fmt::format("{}{}.{:04}", raw_ < 0 ? "-" : "", mag / kScale, mag % kScale);
}

std::optional<TMoney> TMoney::Parse(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text.front() == '-' || text.front() == '+') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int64_t units = 0;
  int digits = 0;
  size_t i = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
    units = units * 10 + (text[i] - '0');
    if (units > INT64_MAX / kScale) return std::nullopt;
  }
  int64_t frac = 0;
  int fracDigits = 0;
  int roundDigit = -1;
  bool sticky = false;
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
      const int d = text[i] - '0';
      if (fracDigits < 4) { frac = frac * 10 + d; ++fracDigits; }
      else if (roundDigit < 0) roundDigit = d;
      else if (d != 0) sticky = true;
    }
  }
  if (i != text.size() || digits == 0) return std::nullopt;
  while (fracDigits < 4) { frac *= 10; ++fracDigits; }
  int64_t raw = units * kScale + frac;
  if (roundDigit > 5 || (roundDigit == 5 && (sticky || raw % 2 != 0))) ++raw;
  return FromRaw(negative ? -raw : raw);
}

TMoney TMoney::operator*(double factor) const {
  return FromRaw(RoundHalfEven(static_cast<long double>(raw_) * factor));
}

TMoney TMoney::operator/(double divisor) const {
  if (divisor == 0) throw EKvfError("Деление на ноль");
  return FromRaw(RoundHalfEven(static_cast<long double>(raw_) / divisor));
}

}  // namespace kvf
