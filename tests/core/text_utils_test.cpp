#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/error.h"
#include "core/text_utils.h"

namespace kvf {
namespace {

const TCurrencyWords kRubles{"рубль", "рубля", "рублей", 0, 2};
const TCurrencyWords kHryvnias{"гривна", "гривны", "гривен", 1, 2};

TMoney M(const char* text) { return TMoney::Parse(text).value(); }

TEST(MoneyToWords, SpellsAmountsAsThePrintedDocumentsNeed) {
  struct Case { const char* amount; const TCurrencyWords* words; int decimals; const char* text; };
  const Case cases[] = {
      {"1234.50", &kRubles, 2, "Одна тысяча двести тридцать четыре рубля /50"},
      {"21000", &kRubles, 2, "Двадцать одна тысяча рублей / 0"},
      {"0", &kRubles, 2, "ноль рублей"},
      {"1000000", &kRubles, 2, "Один миллион рублей / 0"},
      {"11", &kRubles, 0, "Одиннадцать рублей"},
      {"12", &kRubles, 0, "Двенадцать рублей"},
      {"14", &kRubles, 0, "Четырнадцать рублей"},
      {"22", &kRubles, 0, "Двадцать два рубля"},
      {"101", &kRubles, 0, "Сто один рубль"},
      {"2", &kHryvnias, 0, "Две гривны"},
      {"1", &kHryvnias, 0, "Одна гривна"},
      {"-5.25", &kRubles, 2, "Пять рублей /-25"},
      {"3.5", &kRubles, 4, "Три рубля /5000"},
      {"3.5", &kRubles, 1, "Три рубля /5"},
      {"3.5", &kRubles, 7, "Три рубля /50"},
      {"2002003004", &kRubles, 0, "Два миллиарда два миллиона три тысячи четыре рубля"},
      // the largest amount money can hold (10^15 and more cannot occur)
      {"922337203685477", &kRubles, 0,
       "Девятьсот двадцать два триллиона триста тридцать семь миллиардов двести три миллиона "
       "шестьсот восемьдесят пять тысяч четыреста семьдесят семь рублей"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amount);
    EXPECT_EQ(MoneyToWords(*c.words, M(c.amount), c.decimals), c.text);
  }
}

TEST(MoneyToWords, UsesTheProcessWideCurrencyDecimals) {
  SetCurrencyDecimals(4);
  EXPECT_EQ(MoneyToWords(kRubles, M("1")), "Один рубль /   0");
  SetCurrencyDecimals(2);
  EXPECT_EQ(GroupToWords(512, 0), (std::pair<std::string, int>{" пятьсот двенадцать", 12}));
}

TEST(Tokens, CountGetHasAppend) {
  EXPECT_EQ(CountTokens("", ";"), 0);
  EXPECT_EQ(CountTokens("a; b ;c", ";"), 3);
  EXPECT_EQ(CountTokens(";", ";"), 2);
  EXPECT_EQ(GetToken("a; b ;c", 2, ";"), "b");
  EXPECT_EQ(GetToken("a; b ;c", 0, ";"), "");
  EXPECT_EQ(GetToken("a; b ;c", 4, ";"), "");
  EXPECT_EQ(GetToken("x,y;z", 3, ",;"), "z");
  EXPECT_TRUE(HasToken("10,20,30", "20", ","));
  EXPECT_FALSE(HasToken("10,20,30", "2", ","));
  std::string list;
  AppendToken(list, "A", ",", true);
  AppendToken(list, "B", ",", true);
  AppendToken(list, "A", ",", true);
  AppendToken(list, "A", ",", false);
  EXPECT_EQ(list, "A,B,A");
}

TEST(TextFilling, ReplacePadRemove) {
  EXPECT_EQ(ReplaceText("aXbXc", "X", "YY", false), "aYYbYYc");
  EXPECT_EQ(ReplaceText("aXbXc", "X", "YY", true), "aYYbXc");
  EXPECT_EQ(ReplaceText("aa", "a", "aa", false), "aaaa");  // no rescan of inserted text
  EXPECT_EQ(ReplaceText("abc", "abc", "", false), "");
  EXPECT_EQ(RemoveSpaces(" 1 8 "), "18");
  EXPECT_EQ(RemoveSpaces("   "), "0");
  struct Case { bool left; const char* in; int width; bool trim; char32_t fill; const char* out; };
  for (const Case& c : {Case{true, "12345", 3, false, U' ', "345"}, Case{false, "12", 5, false, U' ', "12   "},
                        Case{true, "7", 4, false, U'0', "0007"}, Case{true, " ab ", 3, true, U'.', ".ab"},
                        Case{false, "Щётка", 3, false, U' ', "Щёт"}, Case{true, "Щё", 3, false, U'ж', "жЩё"}}) {
    SCOPED_TRACE(c.in);
    std::string s = c.in;
    c.left ? PadLeft(s, c.width, c.trim, c.fill) : PadRight(s, c.width, c.trim, c.fill);
    EXPECT_EQ(s, c.out);
  }
}

TEST(Numbers, IntHexBits) {
  EXPECT_EQ(StrToIntOrZero("42"), 42);
  EXPECT_EQ(StrToIntOrZero("-7"), -7);
  EXPECT_EQ(StrToIntOrZero("4x"), 0);
  EXPECT_EQ(StrToIntOrZero(""), 0);
  EXPECT_EQ(StrToIntOrZero("99999999999"), 0);
  EXPECT_EQ(HexToInt("ff"), 255);
  EXPECT_EQ(HexToInt("FFFF"), 65535);
  EXPECT_EQ(HexToInt("abc"), 0x0ABC);
  EXPECT_EQ(HexToInt("g1"), 1);
  EXPECT_EQ(HexToInt(""), 0);
  EXPECT_THROW(HexToInt("10000"), EKvfError);
  EXPECT_EQ(HexEncode("ab"), "6162");
  EXPECT_EQ(HexEncode("Я"), "DF");
  EXPECT_EQ(HexDecode("6162"), "ab");
  EXPECT_EQ(HexDecode("df"), "Я");
  EXPECT_EQ(HexDecode("616"), "a\x06");
  EXPECT_TRUE(BitSet(5, 1));
  EXPECT_FALSE(BitSet(5, 2));
  EXPECT_TRUE(BitSet(5, 3));
  EXPECT_FALSE(BitSet(5, 0));
}

TEST(FileNames, SafeAndSplit) {
  std::string name = "12/3 (A)";
  SafeFileName(name);
  EXPECT_EQ(name, "12_3 _A_");
  name = "a\\b:c*d?e,f;g\"h`i!j{k}l[m]n<o>p|q%r's";
  SafeFileName(name);
  EXPECT_EQ(name, "a_b_c_d_e_f_g_h_i_j_k_l_m_n_o_p_q_r_s");
  const char* f = "/data/orders/A-1.kfo370";
  struct Case { bool p, n, e; const char* out; };
  for (const Case& c : {Case{true, true, true, "/data/orders/A-1.kfo370"}, Case{true, false, false, "/data/orders/"},
                        Case{true, false, true, ""}, Case{false, true, true, "A-1.kfo370"},
                        Case{false, false, true, ".kfo370"}, Case{true, true, false, "/data/orders/A-1"},
                        Case{false, true, false, "A-1"}, Case{false, false, false, ""}}) {
    SCOPED_TRACE(c.out);
    EXPECT_EQ(SplitFileName(f, c.p, c.n, c.e), c.out);
  }
  EXPECT_EQ(SplitFileName("C:\\DATA\\A.KFO370", false, true, false), "A");
}

class PathMacros : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = std::filesystem::temp_directory_path() / "kvf_macro_test" / "Orders";
    std::filesystem::remove_all(base_.parent_path());
    std::filesystem::create_directories(base_ / "Sub");
    std::ofstream(base_ / "a.kfo370") << "x";
    std::ofstream(base_ / "Sub" / "Заказ.kfo370") << "x";
  }
  void TearDown() override { std::filesystem::remove_all(base_.parent_path()); }
  std::filesystem::path base_;
};

TEST_F(PathMacros, StoreRelativeWithRealCaseAndResolveWindowsReferences) {
  const std::string base = base_.string();
  EXPECT_EQ(PathToMacro(base, base + "/a.kfo370"), "%a.kfo370");
  EXPECT_EQ(PathToMacro(base + "/", base + "/Sub/Заказ.kfo370"), "%Sub/Заказ.kfo370");
  EXPECT_EQ(PathToMacro(base, "%X.KFO370"), "%X.KFO370");
  EXPECT_EQ(PathToMacro(base, "/elsewhere/b.kfo370"), "/elsewhere/b.kfo370");
  EXPECT_EQ(PathToMacro(base, base + "x/b.kfo370"), base + "x/b.kfo370");  // a sibling folder
  // Written by the Windows program: upper case, backslashes.
  EXPECT_EQ(MacroToPath(base, "%A.KFO370"), base + "/a.kfo370");
  EXPECT_EQ(MacroToPath(base, "%SUB\\ЗАКАЗ.KFO370"), base + "/Sub/Заказ.kfo370");
  EXPECT_EQ(MacroToPath(base, "%a.kfo370"), base + "/a.kfo370");
  EXPECT_EQ(MacroToPath(base, "%MISSING.KFO370"), base + "/MISSING.KFO370");
  EXPECT_EQ(MacroToPath(base, PathToMacro(base, base + "/Sub/Заказ.kfo370")), base + "/Sub/Заказ.kfo370");
}

}  // namespace
}  // namespace kvf
