#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/cp1251.h"
#include "core/datetime.h"
#include "core/error.h"
#include "core/money.h"

namespace kvf {
namespace {

TEST(Cp1251, RoundTripsCyrillicAndMarksUnmappable) {
  const std::string text = "Фурнитура ёЁ №5 – «окно»";
  const std::string bytes = Utf8ToCp1251(text);
  EXPECT_EQ(bytes.size(), Utf8Length(text));
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD4);  // Ф
  EXPECT_EQ(Cp1251ToUtf8(bytes), text);
  EXPECT_EQ(Utf8ToCp1251("a€b中c"), "a\x88" "b?c");
  EXPECT_EQ(Cp1251ToUtf8("\x98"), "?");  // the one byte Windows-1251 leaves unassigned
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");   // a cut sequence
}

TEST(Cp1251, CaseAndByteOrder) {
  EXPECT_EQ(AnsiUpperCase("/developer ёлка Фн"), "/DEVELOPER ЁЛКА ФН");
  EXPECT_EQ(AnsiLowerCase("ABC ЯЁ"), "abc яё");
  EXPECT_TRUE(SameTextI("Заказы", "ЗАКАЗЫ"));
  // Windows-1251 bytes: Latin < Ё (0xA8) < А (0xC0) < я (0xFF)
  EXPECT_LT(CompareCp1251("Z", "Ё"), 0);
  EXPECT_LT(CompareCp1251("Ё", "А"), 0);
  EXPECT_GT(CompareCp1251("я", "А"), 0);
}

TEST(Money, ProductsRoundHalfToEvenAndSumsStayExact) {
  struct Case { double value; const char* text; };
  for (const Case& c : {Case{12.5, "12.5000"}, Case{0.00005, "0.0000"}, Case{0.00015, "0.0002"},
                        Case{-3, "-3.0000"}, Case{0.1, "0.1000"}, Case{1234.56785, "1234.5678"}}) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(TMoney::FromDouble(c.value).ToString(), c.text);
  }
  EXPECT_EQ((TMoney::FromRaw(5) * 0.5).Raw(), 2);   // 2.5 -> 2
  EXPECT_EQ((TMoney::FromRaw(7) * 0.5).Raw(), 4);   // 3.5 -> 4
  EXPECT_EQ((TMoney::FromRaw(-7) * 0.5).Raw(), -4);
  EXPECT_EQ((TMoney::FromUnits(10) / 3).ToString(), "3.3333");
  EXPECT_THROW(TMoney::FromUnits(1) / 0, EKvfError);
  TMoney sum;
  for (int i = 0; i < 10; ++i) sum += TMoney::FromDouble(0.1);
  EXPECT_EQ(sum, TMoney::FromUnits(1));
}

TEST(Money, EveryConversionAndOperationOutOfRangeFailsNamingTheValue) {
  const TMoney max = TMoney::FromRaw(INT64_MAX), min = TMoney::FromRaw(INT64_MIN);
  struct Case {
    const char* what;
    std::function<TMoney()> op;
    const char* value;  // what the message names
  };
  const Case cases[] = {
      {"price 1e20", [] { return TMoney::FromDouble(1e20); }, "1e+20"},
      {"9.3e14 from JSON", [] { return TMoney::FromDouble(9.3e14); }, "930000000000000"},
      {"negative", [] { return TMoney::FromDouble(-9.3e14); }, "-930000000000000"},
      {"infinity", [] { return TMoney::FromDouble(HUGE_VAL); }, "inf"},
      {"not a number", [] { return TMoney::FromDouble(std::nan("")); }, "nan"},
      {"units", [] { return TMoney::FromUnits(INT64_MAX / 1000); }, "9223372036854775"},
      {"product", [&] { return TMoney::FromUnits(900000000000000) * 2.0; }, "900000000000000.0000 * 2"},
      {"quotient", [&] { return TMoney::FromUnits(900000000000000) / 0.5; }, "900000000000000.0000 / 0.5"},
      {"sum", [&] { return max + TMoney::FromRaw(1); }, "922337203685477.5807 + 0.0001"},
      {"difference", [&] { return min - TMoney::FromRaw(1); }, "-922337203685477.5808 - 0.0001"},
      {"negation", [&] { return -min; }, "-922337203685477.5808"},
      {"accumulated", [&] { TMoney m = max; m += max; return m; }, "922337203685477.5807"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      const TMoney m = c.op();
      ADD_FAILURE() << "gave " << m.ToString();
    } catch (const EKvfError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Денежное значение вне допустимого диапазона: ", 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.value), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(TMoney::FromDouble(9.2e14).ToString(), "920000000000000.0000");  // still in range
  EXPECT_EQ((max - max).Raw(), 0);
  EXPECT_FALSE(TMoney::Parse("922337203685477.5808").has_value());
  EXPECT_EQ(TMoney::Parse("922337203685477.5807")->Raw(), INT64_MAX);
}

TEST(Money, ParsesItsOwnFormatAndRejectsGarbage) {
  EXPECT_EQ(TMoney::Parse("12.5000")->Raw(), 125000);
  EXPECT_EQ(TMoney::Parse(" -0,5 ")->Raw(), -5000);
  EXPECT_EQ(TMoney::Parse("1.00005")->Raw(), 10000);   // half to even
  EXPECT_EQ(TMoney::Parse("1.00015")->Raw(), 10002);
  EXPECT_EQ(TMoney::Parse("1.000051")->Raw(), 10001);
  EXPECT_EQ(TMoney::Parse("7")->Raw(), 70000);
  for (const char* bad : {"", "abc", "1.2.3", "-", ".", "1e5", "99999999999999999999", "922337203685478"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(TMoney::Parse(bad).has_value());
  }
  const TMoney big = TMoney::FromRaw(INT64_MIN + 1);
  EXPECT_EQ(TMoney::Parse(big.ToString()), big);
}

TEST(Dates, DayCountSince30December1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2019, 12, 26), 43825.0);
  EXPECT_EQ(FormatDate(43825.75), "26.12.2019");
  EXPECT_EQ(DecodeDate(EncodeDate(2000, 2, 29)), (TCalendarDate{2000, 2, 29}));
  EXPECT_EQ(ParseDate("1.3.2024"), EncodeDate(2024, 3, 1));
  for (const char* bad : {"31.02.2021", "29.02.2100", "", "01.01", "1..2020", "aa.bb.cccc"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseDate(bad).has_value());
  }
  EXPECT_THROW(EncodeDate(2021, 13, 1), EKvfError);
  EXPECT_EQ(Today(), static_cast<double>(static_cast<long>(Now())));
}

}  // namespace
}  // namespace kvf
