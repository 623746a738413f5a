#include "core/money.h"

#include <cmath>
#include <fmt/format.h>

#include "core/error.h"

namespace kvf {

namespace {

// 2^63: the first magnitude a signed 64-bit integer cannot hold.
constexpr long double kLimit = 9223372036854775808.0L;

[[noreturn]] void OutOfRange(const std::string& value) {
  throw EKvfError(fmt::format("Денежное значение вне допустимого диапазона: {}", value));
}

}  // namespace

int64_t RoundHalfEven(long double value) {
  if (!std::isfinite(value) || value >= kLimit - 1 || value < -kLimit)
    throw EKvfError(fmt::format("Числовое значение вне допустимого диапазона: {}", static_cast<double>(value)));
  const long double fl = std::floor(value);
  const long double diff = value - fl;
  auto result = static_cast<int64_t>(fl);
  if (diff > 0.5L || (diff == 0.5L && (result % 2 != 0))) ++result;
  return result;
}

TMoney TMoney::FromDouble(double value) {
  if (!std::isfinite(value) || std::fabs(static_cast<long double>(value)) * kScale >= kLimit)
    OutOfRange(fmt::format("{}", value));
  // The decimal text of the double decides: 0.1 * 10000 must give exactly 1000.
  const std::string text = fmt::format("{:.6f}", value);
  if (auto m = Parse(text)) return *m;
  return FromRaw(RoundHalfEven(static_cast<long double>(value) * kScale));
}

TMoney TMoney::FromUnits(int64_t units) {
  int64_t raw = 0;
  if (__builtin_mul_overflow(units, kScale, &raw)) OutOfRange(fmt::format("{}", units));
  return FromRaw(raw);
}

TMoney TMoney::operator-() const {
  if (raw_ == INT64_MIN) OutOfRange("-(" + ToString() + ")");
  return FromRaw(-raw_);
}

TMoney TMoney::operator+(TMoney o) const {
  int64_t raw = 0;
  if (__builtin_add_overflow(raw_, o.raw_, &raw)) OutOfRange(ToString() + " + " + o.ToString());
  return FromRaw(raw);
}

TMoney TMoney::operator-(TMoney o) const {
  int64_t raw = 0;
  if (__builtin_sub_overflow(raw_, o.raw_, &raw)) OutOfRange(ToString() + " - " + o.ToString());
  return FromRaw(raw);
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
  int64_t raw = 0;
  if (__builtin_mul_overflow(units, kScale, &raw) || __builtin_add_overflow(raw, frac, &raw)) return std::nullopt;
  if (roundDigit > 5 || (roundDigit == 5 && (sticky || raw % 2 != 0)))
    if (__builtin_add_overflow(raw, 1, &raw)) return std::nullopt;
  return FromRaw(negative ? -raw : raw);
}

TMoney TMoney::operator*(double factor) const {
  const long double product = static_cast<long double>(raw_) * factor;
  if (!std::isfinite(product) || product >= kLimit || product < -kLimit)
    OutOfRange(fmt::format("{} * {}", ToString(), factor));
  return FromRaw(RoundHalfEven(product));
}

TMoney TMoney::operator/(double divisor) const {
  if (divisor == 0) throw EKvfError("Деление на ноль");
  const long double quotient = static_cast<long double>(raw_) / divisor;
  if (!std::isfinite(quotient) || quotient >= kLimit || quotient < -kLimit)
    OutOfRange(fmt::format("{} / {}", ToString(), divisor));
  return FromRaw(RoundHalfEven(quotient));
}

}  // namespace kvf
