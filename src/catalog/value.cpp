#include "catalog/value.h"

#include <charconv>
#include <cmath>

namespace kvf {

bool IsBlank(const TFieldValue& v) { return std::holds_alternative<std::monostate>(v); }

std::string ValueAsString(const TFieldValue& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
  if (const auto* d = std::get_if<double>(&v)) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, *d);
    return std::string(buf, r.ptr);
  }
  return {};
}

int64_t ValueAsInteger(const TFieldValue& v) {
  if (const auto* i = std::get_if<int64_t>(&v)) return *i;
  if (const auto* d = std::get_if<double>(&v)) return std::isfinite(*d) ? RoundHalfEven(*d) : 0;
  if (const auto* s = std::get_if<std::string>(&v)) {
    int64_t n = 0;
    const auto r = std::from_chars(s->data(), s->data() + s->size(), n);
    return r.ec == std::errc() && r.ptr == s->data() + s->size() ? n : 0;
  }
  return 0;
}

double ValueAsFloat(const TFieldValue& v) {
  if (const auto* i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* s = std::get_if<std::string>(&v)) {
    double d = 0;
    const auto r = std::from_chars(s->data(), s->data() + s->size(), d);
    return r.ec == std::errc() && r.ptr == s->data() + s->size() ? d : 0;
  }
  return 0;
}

TMoney ValueAsMoney(const TFieldValue& v) {
  if (const auto* i = std::get_if<int64_t>(&v)) return TMoney::FromUnits(*i);
  return TMoney::FromDouble(ValueAsFloat(v));
}

bool ValueAsBoolean(const TFieldValue& v) { return ValueAsFloat(v) != 0; }

}  // namespace kvf
