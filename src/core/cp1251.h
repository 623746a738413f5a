#pragma once
// Windows-1251 <-> UTF-8. Text is UTF-8 inside the program and Windows-1251 in
// the files that the Windows original wrote (record streams, INI, exports).
#include <string>
#include <string_view>

namespace kvf {

// Characters with no Windows-1251 byte become '?'. Invalid UTF-8 bytes too.
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);

// Decodes one code point at `pos` and advances it; an invalid byte gives U+FFFD.
char32_t NextCodePoint(std::string_view utf8, size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);
size_t Utf8Length(std::string_view utf8);

// Upper/lower case of Latin and Cyrillic letters (what the Windows-1251 locale
// knows); other characters are kept.
std::string AnsiUpperCase(std::string_view utf8);
std::string AnsiLowerCase(std::string_view utf8);
bool SameTextI(std::string_view a, std::string_view b);
// Byte comparison of the Windows-1251 forms (the sorting rule of the stored lists).
int CompareCp1251(std::string_view a, std::string_view b);

}  // namespace kvf
