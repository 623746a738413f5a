#pragma once
// Runs a scope under ru_RU.UTF-8, whose decimal separator is a comma, as the
// desktop program does once Qt has taken the user's locale. ./scripts/install-deps
// generates the locale; without it the guard fails the test.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kvf::test {

class TCommaLocale {
 public:
  TCommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
    const bool set = std::setlocale(LC_ALL, "ru_RU.UTF-8") != nullptr;
    EXPECT_TRUE(set) << "the locale ru_RU.UTF-8 is missing: run ./scripts/install-deps";
    active_ = set && std::string(std::localeconv()->decimal_point) == ",";
    EXPECT_TRUE(!set || active_) << "ru_RU.UTF-8 has no comma as its decimal separator";
  }
  ~TCommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  TCommaLocale(const TCommaLocale&) = delete;
  TCommaLocale& operator=(const TCommaLocale&) = delete;
  bool Active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

}  // namespace kvf::test
