#pragma once
// Dates are stored as a double: days since 30.12.1899, the fraction being the
// time of day (the form every file and table of the system keeps).
#include <optional>
#include <string>
#include <string_view>

namespace kvf {

using TDateTime = double;

struct TCalendarDate {
  int year = 1899, month = 12, day = 30;
  bool operator==(const TCalendarDate&) const = default;
};

TDateTime EncodeDate(int year, int month, int day);  // raises EKvfError on an invalid date
TCalendarDate DecodeDate(TDateTime value);
bool IsValidDate(int year, int month, int day);
// "dd.mm.yyyy"
std::string FormatDate(TDateTime value);
// "d.m.yyyy" or "dd.mm.yyyy"; nullopt when not a valid date.
std::optional<TDateTime> ParseDate(std::string_view text);
TDateTime Today();  // local date, zero fraction
TDateTime Now();    // local date and time

}  // namespace kvf
