#include <gtest/gtest.h>

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
