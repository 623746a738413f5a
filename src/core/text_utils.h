#pragma once
// Text and file-name utilities shared by the whole system. Text is UTF-8; every
// width and position counts characters, not bytes. None of them keeps state.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/money.h"

namespace kvf {

// Word forms of a currency (from the catalog's currency table).
struct TCurrencyWords {
  std::string Nominative;      // after a count ending in 1 (not 11)
  std::string Genitive;        // after counts ending in 2-4 (not 12-14)
  std::string GenitivePlural;  // after all other counts and after zero
  int Gender = 0;              // 0 masculine, 1 feminine, other neuter
  int Dec = 2;                 // decimal places of the currency
};

// Decimal places of the current currency format: 4 while an order window is
// active, 2 while a selection window is. MoneyToWords appends that many digits.
void SetCurrencyDecimals(int decimals);
int CurrencyDecimals();

// Words of 0..999 in the gender, each preceded by a space; second: the last
// units (0..19) that choose a noun form.
std::pair<std::string, int> GroupToWords(int value, int gender);
// "Одна тысяча двести тридцать четыре рубля /50"; "" for 10^15 and more.
std::string MoneyToWords(const TCurrencyWords& words, TMoney amount);
std::string MoneyToWords(const TCurrencyWords& words, TMoney amount, int decimals);

std::string Trim(std::string_view text);  // blanks and control characters at both ends
int CountTokens(std::string_view text, std::string_view separators);
std::string GetToken(std::string_view text, int n, std::string_view separators);
bool HasToken(std::string_view text, std::string_view token, std::string_view separators);
void AppendToken(std::string& list, std::string_view token, std::string_view separator, bool unique);
std::string ReplaceText(std::string_view text, std::string_view oldText, std::string_view newText,
                        bool firstOnly);
std::string RemoveSpaces(std::string_view text);  // "" becomes "0"
void PadLeft(std::string& text, int width, bool trim, char32_t fill = U' ');
void PadRight(std::string& text, int width, bool trim, char32_t fill = U' ');
int StrToIntOrZero(std::string_view text);
// A decimal number with "." or "," as the decimal point, read the same under
// every process locale; false unless the whole text is one finite number.
bool ParseRealText(std::string_view text, double& value);
// A quoted literal whose quote character stands at text[open]; a doubled quote
// inside stands for one. Appends the contents to `out` and returns the index of
// the closing quote, or npos when the text ends first.
size_t ScanQuoted(std::string_view text, size_t open, std::string& out);
// Up to four hex digits (others count as 0, odd length reads with a leading 0);
// more than 65535 raises EKvfError.
int HexToInt(std::string_view text);
// Every byte of the Windows-1251 form as two upper-case hex digits, and back.
std::string HexEncode(std::string_view utf8);
std::string HexDecode(std::string_view hex);
void SafeFileName(std::string& text);
std::string SplitFileName(std::string_view fileName, bool withPath, bool withName, bool withExt);
bool BitSet(int64_t value, int n);  // bit n-1

// Paths relative to a data folder: "%" + the rest below baseDir. References
// written on Windows ("\" separators, upper case) still resolve: see MacroToPath.
std::string PathToMacro(std::string_view baseDir, std::string_view path);
// "%rest" becomes baseDir + "/" + rest; "\" becomes "/"; a name missing with its
// exact case is looked up case-insensitively in its folder.
std::string MacroToPath(std::string_view baseDir, std::string_view path);
// The existing file or folder whose path equals `path` without regard to case,
// component by component; `path` itself when nothing matches.
std::string ResolvePathCase(std::string_view path);

}  // namespace kvf
