#pragma once
// Reads the members of one JSON object strictly into fields. A member that is
// missing or null keeps the field's value. Every other mistake raises EKvfError
// naming the object (`where`) and the member: a value of the wrong type, out of
// the field's range, a fraction for a whole number, text that Windows-1251
// cannot hold (the files store Windows-1251), and — at Finish() — a member the
// reader was never asked for ("позиция 001 fittings: неизвестный член FHandel").
#include <cstdint>
#include <string>
#include <vector>

#include "core/money.h"
#include "orders/order_json.h"

namespace kvf {

class TJsonReader {
 public:
  // `j` must be an object.
  TJsonReader(const TJson& j, std::string where);

  void Take(const char* name, std::string& target);
  void Take(const char* name, bool& target);
  void Take(const char* name, int32_t& target);
  void Take(const char* name, float& target);   // a 4-byte float: finite in its range
  void Take(const char* name, double& target);  // also dates
  void TakeByte(const char* name, uint8_t& target);
  void TakeMoney(const char* name, TMoney& target);  // "12.5000" or a number
  void TakeLines(const char* name, std::vector<std::string>& target);
  // The member as an array or an object; null when missing or null.
  const TJson* Array(const char* name);
  const TJson* Object(const char* name);
  // A member that is read elsewhere or known and ignored.
  void Known(const char* name);
  bool Has(const char* name) const;

  // Raises for the first member that no call named.
  void Finish() const;
  const std::string& Where() const { return where_; }

 private:
  const TJson* Member(const char* name);  // marks it known; null when missing or null
  [[noreturn]] void Wrong(const char* name, const char* expected) const;

  const TJson& j_;
  std::string where_;
  std::vector<std::string> known_;
};

// A text that Windows-1251 holds character for character.
bool FitsCp1251(std::string_view utf8);

}  // namespace kvf
