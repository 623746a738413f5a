#include "orders/json_reader.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <fmt/format.h>

#include "core/cp1251.h"
#include "core/error.h"

namespace kvf {

bool FitsCp1251(std::string_view utf8) {
  const std::string bytes = Utf8ToCp1251(utf8);
  return std::count(bytes.begin(), bytes.end(), '?') == std::count(utf8.begin(), utf8.end(), '?');
}

TJsonReader::TJsonReader(const TJson& j, std::string where) : j_(j), where_(std::move(where)) {
  if (!j_.is_object()) throw EKvfError(fmt::format("{}: ожидается объект, а не {}", where_, j_.dump()));
}

bool TJsonReader::Has(const char* name) const { return j_.contains(name) && !j_.at(name).is_null(); }

void TJsonReader::Known(const char* name) { known_.emplace_back(name); }

const TJson* TJsonReader::Member(const char* name) {
  Known(name);
  return Has(name) ? &j_.at(name) : nullptr;
}

void TJsonReader::Wrong(const char* name, const char* expected) const {
  std::string value = j_.at(name).dump();
  if (value.size() > 40) value = value.substr(0, 40) + "...";
  throw EKvfError(fmt::format("{}: {}: ожидается {}, а не {}", where_, name, expected, value));
}

void TJsonReader::Take(const char* name, std::string& target) {
  const TJson* v = Member(name);
  if (!v) return;
  if (!v->is_string()) Wrong(name, "строка");
  const std::string& text = v->get_ref<const std::string&>();
  if (!FitsCp1251(text))
    throw EKvfError(fmt::format("{}: {}: символ, которого нет в кодировке Windows-1251", where_, name));
  target = text;
}

void TJsonReader::Take(const char* name, bool& target) {
  const TJson* v = Member(name);
  if (!v) return;
  if (!v->is_boolean()) Wrong(name, "true или false");
  target = v->get<bool>();
}

void TJsonReader::Take(const char* name, int32_t& target) {
  const TJson* v = Member(name);
  if (!v) return;
  if (v->is_number_unsigned()) {
    if (v->get<uint64_t>() > static_cast<uint64_t>(INT32_MAX)) Wrong(name, "целое число от -2147483648 до 2147483647");
  } else if (v->is_number_integer()) {
    const int64_t n = v->get<int64_t>();
    if (n < INT32_MIN || n > INT32_MAX) Wrong(name, "целое число от -2147483648 до 2147483647");
  } else {
    Wrong(name, "целое число");
  }
  target = static_cast<int32_t>(v->get<int64_t>());
}

void TJsonReader::Take(const char* name, float& target) {
  const TJson* v = Member(name);
  if (!v) return;
  if (!v->is_number()) Wrong(name, "число");
  const double d = v->get<double>();
  if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) Wrong(name, "число в пределах 4-байтового числа");
  target = static_cast<float>(d);
}

void TJsonReader::Take(const char* name, double& target) {
  const TJson* v = Member(name);
  if (!v) return;
  if (!v->is_number() || !std::isfinite(v->get<double>())) Wrong(name, "число");
  target = v->get<double>();
}

void TJsonReader::TakeByte(const char* name, uint8_t& target) {
  const TJson* v = Member(name);
  if (!v) return;
  if (!v->is_number_integer() || v->get<int64_t>() < 0 || v->get<int64_t>() > 255)
    Wrong(name, "целое число от 0 до 255");
  target = static_cast<uint8_t>(v->get<int64_t>());
}

void TJsonReader::TakeMoney(const char* name, TMoney& target) {
  const TJson* v = Member(name);
  if (!v) return;
  std::optional<TMoney> m;
  try {
    if (v->is_string()) m = TMoney::Parse(v->get<std::string>());
    else if (v->is_number()) m = TMoney::FromDouble(v->get<double>());
  } catch (const EKvfError& e) {
    throw EKvfError(fmt::format("{}: {}: {}", where_, name, e.what()));
  }
  if (!m) Wrong(name, "сумма (\"12.5000\")");
  target = *m;
}

void TJsonReader::TakeLines(const char* name, std::vector<std::string>& target) {
  const TJson* v = Member(name);
  if (!v) return;
  if (!v->is_array()) Wrong(name, "массив строк");
  std::vector<std::string> lines;
  for (const TJson& line : *v) {
    if (!line.is_string()) Wrong(name, "массив строк");
    if (!FitsCp1251(line.get_ref<const std::string&>()))
      throw EKvfError(fmt::format("{}: {}: символ, которого нет в кодировке Windows-1251", where_, name));
    lines.push_back(line.get<std::string>());
  }
  target = std::move(lines);
}

const TJson* TJsonReader::Array(const char* name) {
  const TJson* v = Member(name);
  if (v && !v->is_array()) Wrong(name, "массив");
  return v;
}

const TJson* TJsonReader::Object(const char* name) {
  const TJson* v = Member(name);
  if (v && !v->is_object()) Wrong(name, "объект");
  return v;
}

void TJsonReader::Finish() const {
  for (const auto& [name, value] : j_.items())
    if (std::find(known_.begin(), known_.end(), name) == known_.end())
      throw EKvfError(fmt::format("{}: неизвестный член {}", where_, name));
}

}  // namespace kvf
