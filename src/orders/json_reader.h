#pragma once
// Reads the members of one JSON object into fields: a member that is missing or
// null keeps the field's value; a member of the wrong type raises EKvfError that
// names the object (`where`) and the member.
#include <cstdint>
#include <fmt/format.h>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/money.h"
#include "orders/order_json.h"

namespace kvf {

class TJsonReader {
 public:
  explicit TJsonReader(const TJson& j, std::string where) : j_(j), where_(std::move(where)) {}

  template <typename T>
  void Take(const char* name, T& target) const {
    if (!Has(name)) return;
    try {
      target = j_.at(name).get<T>();
    } catch (const TJson::exception& e) {
      throw EKvfError(fmt::format("{}: неверное значение {}: {}", where_, name, e.what()));
    }
  }
  void TakeByte(const char* name, uint8_t& target) const {
    int v = target;
    Take(name, v);
    if (v < 0 || v > 255) throw EKvfError(fmt::format("{}: {} вне диапазона 0..255", where_, name));
    target = static_cast<uint8_t>(v);
  }
  void TakeMoney(const char* name, TMoney& target) const {
    if (!Has(name)) return;
    const TJson& v = j_.at(name);
    std::optional<TMoney> m;
    try {
      if (v.is_string()) m = TMoney::Parse(v.get<std::string>());
      else if (v.is_number()) m = TMoney::FromDouble(v.get<double>());
    } catch (const EKvfError& e) {
      throw EKvfError(fmt::format("{}: {}: {}", where_, name, e.what()));
    }
    if (!m) throw EKvfError(fmt::format("{}: неверная сумма {}: {}", where_, name, v.dump()));
    target = *m;
  }
  void TakeLines(const char* name, std::vector<std::string>& target) const { Take(name, target); }
  const TJson* Child(const char* name) const { return Has(name) ? &j_.at(name) : nullptr; }
  bool Has(const char* name) const { return j_.contains(name) && !j_.at(name).is_null(); }
  const std::string& Where() const { return where_; }

 private:
  const TJson& j_;
  std::string where_;
};

}  // namespace kvf
