#include "core/datetime.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <fmt/format.h>

#include "core/error.h"

namespace kvf {
namespace {

// Day 0 of the stored form, 30.12.1899, counted from 01.01.1970.
constexpr long kEpochShift = 25569;

long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

TCalendarDate CivilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int y = static_cast<int>(yoe) + static_cast<int>(era * 400) + (m <= 2);
  return {y, m, d};
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

TDateTime EncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day))
    throw EKvfError(fmt::format("Неверная дата: {:02}.{:02}.{:04}", day, month, year));
  return static_cast<double>(DaysFromCivil(year, month, day) + kEpochShift);
}

TCalendarDate DecodeDate(TDateTime value) {
  return CivilFromDays(static_cast<long>(std::floor(value)) - kEpochShift);
}

std::string FormatDate(TDateTime value) {
  const TCalendarDate d = DecodeDate(value);
  return fmt::format("{:02}.{:02}.{:04}", d.day, d.month, d.year);
}

std::optional<TDateTime> ParseDate(std::string_view text) {
  int parts[3] = {0, 0, 0};
  int index = 0, digits = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      if (++digits > 4) return std::nullopt;
      parts[index] = parts[index] * 10 + (c - '0');
    } else if (c == '.' && digits > 0 && index < 2) {
      ++index;
      digits = 0;
    } else {
      return std::nullopt;
    }
  }
  if (index != 2 || digits == 0 || !IsValidDate(parts[2], parts[1], parts[0])) return std::nullopt;
  return EncodeDate(parts[2], parts[1], parts[0]);
}

TDateTime Today() { return std::floor(Now()); }

TDateTime Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) + seconds / 86400.0;
}

}  // namespace kvf
