#include "core/text_utils.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fmt/format.h>
#include <system_error>
#include <vector>

#include "core/cp1251.h"
#include "core/error.h"

namespace kvf {
namespace {

int g_currencyDecimals = 2;

constexpr std::array<const char*, 20> kUnitsMasc = {
    "", "один", "два", "три", "четыре", "пять", "шесть", "семь", "восемь", "девять", "десять",
    "одиннадцать", "двенадцать", "тринадцать", "четырнадцать", "пятнадцать", "шестнадцать",
    "семнадцать", "восемнадцать", "девятнадцать"};
constexpr std::array<const char*, 10> kTens = {"", "", "двадцать", "тридцать", "сорок", "пятьдесят",
                                               "шестьдесят", "семьдесят", "восемьдесят", "девяносто"};
constexpr std::array<const char*, 10> kHundreds = {"", "сто", "двести", "триста", "четыреста",
                                                   "пятьсот", "шестьсот", "семьсот", "восемьсот",
                                                   "девятьсот"};
struct TScale {
  const char* forms[3];
};
constexpr std::array<TScale, 4> kScales = {{{{"триллион", "триллиона", "триллионов"}},
                                            {{"миллиард", "миллиарда", "миллиардов"}},
                                            {{"миллион", "миллиона", "миллионов"}},
                                            {{"тысяча", "тысячи", "тысяч"}}}};

int FormIndex(int lastUnits) {
  if (lastUnits == 1) return 0;
  if (lastUnits >= 2 && lastUnits <= 4) return 1;
  return 2;
}

bool IsBlank(char32_t c) { return c <= U' '; }

std::u32string Decode(std::string_view utf8) {
  std::u32string out;
  size_t pos = 0;
  while (pos < utf8.size()) out += NextCodePoint(utf8, pos);
  return out;
}

std::string Encode(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

std::vector<std::string> Tokens(std::string_view text, std::string_view separators) {
  std::vector<std::string> tokens;
  if (text.empty()) return tokens;
  const std::u32string seps = Decode(separators);
  std::string current;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (seps.find(c) != std::u32string::npos) {
      tokens.push_back(Trim(current));
      current.clear();
    } else {
      current.append(text.substr(start, pos - start));
    }
  }
  tokens.push_back(Trim(current));
  return tokens;
}

std::string UpperFirst(std::string_view text) {
  if (text.empty()) return {};
  size_t pos = 0;
  NextCodePoint(text, pos);
  return AnsiUpperCase(text.substr(0, pos)) + std::string(text.substr(pos));
}

std::string Slashes(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string StripTrailingSlash(std::string text) {
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

void SetCurrencyDecimals(int decimals) { g_currencyDecimals = decimals; }
int CurrencyDecimals() { return g_currencyDecimals; }

std::pair<std::string, int> GroupToWords(int value, int gender) {
  std::string text;
  const int h = value / 100;
  if (h > 0) text += std::string(" ") + kHundreds[h];
  int r = value % 100;
  const int t = r / 10;
  if (t >= 2) {
    text += std::string(" ") + kTens[t];
    r -= 10 * t;
  }
  if (r > 0) {
    const char* word = kUnitsMasc[r];
    if (r == 1) word = gender == 0 ? "один" : gender == 1 ? "одна" : "одно";
    if (r == 2) word = gender == 1 ? "две" : "два";
    text += std::string(" ") + word;
  }
  return {text, r};
}

std::string MoneyToWords(const TCurrencyWords& words, TMoney amount) {
  return MoneyToWords(words, amount, g_currencyDecimals);
}

std::string MoneyToWords(const TCurrencyWords& words, TMoney amount, int decimals) {
  const int64_t raw = amount.Raw();
  const uint64_t absRaw = raw < 0 ? static_cast<uint64_t>(-(raw + 1)) + 1 : static_cast<uint64_t>(raw);
  const uint64_t whole = absRaw / TMoney::kScale;
  if (absRaw == 0) return "ноль " + words.GenitivePlural;
  if (whole >= 1000000000000000ULL) return {};

  std::string text;
  uint64_t divisor = 1000000000000ULL;
  for (const TScale& scale : kScales) {
    const int group = static_cast<int>((whole / divisor) % 1000);
    if (group != 0) {
      const auto [groupText, last] = GroupToWords(group, &scale == &kScales[3] ? 1 : 0);
      text += groupText + " " + scale.forms[FormIndex(last)];
    }
    divisor /= 1000;
  }
  const int units = static_cast<int>(whole % 1000);
  int last = 0;
  if (units != 0) {
    const auto [unitText, unitLast] = GroupToWords(units, words.Gender);
    text += unitText;
    last = unitLast;
  }
  const std::string& noun = last == 1 ? words.Nominative
                            : (last >= 2 && last <= 4) ? words.Genitive : words.GenitivePlural;
  text += " " + noun;
  if (decimals != 0) {
    const int places = (decimals >= 1 && decimals <= 4) ? decimals : 2;
    int64_t power = 1;
    for (int i = 0; i < places; ++i) power *= 10;
    const int64_t fracRaw = raw % TMoney::kScale;  // keeps the sign of the amount
    const int64_t fraction =
        RoundHalfEven(static_cast<long double>(fracRaw) * power / TMoney::kScale);
    text += fmt::format(" /{:{}d}", fraction, places);
  }
  return UpperFirst(Trim(text));
}

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && IsBlank(static_cast<unsigned char>(text[e - 1]))) --e;
  return std::string(text.substr(b, e - b));
}

int CountTokens(std::string_view text, std::string_view separators) {
  return static_cast<int>(Tokens(text, separators).size());
}

std::string GetToken(std::string_view text, int n, std::string_view separators) {
  const std::vector<std::string> tokens = Tokens(text, separators);
  if (n <= 0 || n > static_cast<int>(tokens.size())) return {};
  return tokens[n - 1];
}

bool HasToken(std::string_view text, std::string_view token, std::string_view separators) {
  for (const std::string& t : Tokens(text, separators))
    if (t == token) return true;
  return false;
}

void AppendToken(std::string& list, std::string_view token, std::string_view separator, bool unique) {
  if (list.empty()) {
    list = token;
    return;
  }
  if (unique && HasToken(list, token, separator)) return;
  list += separator;
  list += token;
}

std::string ReplaceText(std::string_view text, std::string_view oldText, std::string_view newText,
                        bool firstOnly) {
  if (oldText == newText) return std::string(text);
  if (text == oldText) return std::string(newText);
  if (oldText.empty()) return std::string(text);
  std::string out;
  size_t start = 0;
  for (;;) {
    const size_t hit = text.find(oldText, start);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(start, hit - start));
    out.append(newText);
    start = hit + oldText.size();
    if (firstOnly) break;
  }
  out.append(text.substr(start));
  return out;
}

std::string RemoveSpaces(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += c;
  return out.empty() ? "0" : out;
}

void PadLeft(std::string& text, int width, bool trim, char32_t fill) {
  std::u32string s = Decode(trim ? Trim(text) : text);
  const size_t w = width < 0 ? 0 : static_cast<size_t>(width);
  if (s.size() < w) s.insert(0, w - s.size(), fill);
  text = Encode(std::u32string_view(s).substr(s.size() - w));
}

void PadRight(std::string& text, int width, bool trim, char32_t fill) {
  std::u32string s = Decode(trim ? Trim(text) : text);
  const size_t w = width < 0 ? 0 : static_cast<size_t>(width);
  if (s.size() < w) s.append(w - s.size(), fill);
  text = Encode(std::u32string_view(s).substr(0, w));
}

size_t ScanQuoted(std::string_view text, size_t open, std::string& out) {
  const char quote = text[open];
  size_t e = open + 1;
  while (e < text.size()) {
    if (text[e] == quote) {
      if (e + 1 < text.size() && text[e + 1] == quote) {
        out += quote;
        e += 2;
        continue;
      }
      return e;
    }
    out += text[e++];
  }
  return std::string_view::npos;
}

bool ParseRealText(std::string_view text, double& value) {
  std::string t(text);
  for (char& c : t)
    if (c == ',') c = '.';
  const char* begin = t.data();
  if (!t.empty() && t[0] == '+') ++begin;  // from_chars takes no plus sign
  const auto r = std::from_chars(begin, t.data() + t.size(), value);
  return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(value);
}

int StrToIntOrZero(std::string_view text) {
  const std::string t(text);
  if (t.empty()) return 0;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(t.c_str(), &end, 10);
  if (end == t.c_str() || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX ||
      std::isspace(static_cast<unsigned char>(t[0])))
    return 0;
  return static_cast<int>(v);
}

int HexToInt(std::string_view text) {
  std::string digits(text);
  if (digits.size() % 2 != 0) digits.insert(digits.begin(), '0');
  int64_t value = 0;
  for (char c : digits) {
    int d = 0;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    value = value * 16 + d;
    if (value > 65535) throw EKvfError(fmt::format("Неверное шестнадцатеричное число '{}'", std::string(text)));
  }
  return static_cast<int>(value);
}

std::string HexEncode(std::string_view utf8) {
  std::string out;
  for (char c : Utf8ToCp1251(utf8)) out += fmt::format("{:02X}", static_cast<unsigned char>(c));
  return out;
}

std::string HexDecode(std::string_view hex) {
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2)
    bytes += static_cast<char>(HexToInt(hex.substr(i, 2)));
  return Cp1251ToUtf8(bytes);
}

void SafeFileName(std::string& text) {
  static constexpr std::string_view kUnsafe = "\\/:*?,;\"`!(){}[]<>|%'";
  for (char& c : text)
    if (kUnsafe.find(c) != std::string_view::npos) c = '_';
}

std::string SplitFileName(std::string_view fileName, bool withPath, bool withName, bool withExt) {
  const size_t sep = fileName.find_last_of("/\\");
  const size_t nameStart = sep == std::string_view::npos ? 0 : sep + 1;
  const std::string_view folder = fileName.substr(0, nameStart);
  const std::string_view name = fileName.substr(nameStart);
  const size_t dot = name.rfind('.');
  const std::string_view stem = dot == std::string_view::npos ? name : name.substr(0, dot);
  const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
  if (withPath && withName && withExt) return std::string(fileName);
  if (withPath && withName) return std::string(folder) + std::string(stem);
  if (withPath && withExt) return {};
  if (withPath) return std::string(folder);
  if (withName && withExt) return std::string(name);
  if (withName) return std::string(stem);
  if (withExt) return std::string(ext);
  return {};
}

bool BitSet(int64_t value, int n) { return n >= 1 && n <= 64 && ((value >> (n - 1)) & 1) != 0; }

std::string PathToMacro(std::string_view baseDir, std::string_view path) {
  if (!path.empty() && path.front() == '%') return std::string(path);
  const std::string base = StripTrailingSlash(Slashes(baseDir));
  const std::string full = Slashes(path);
  const std::string prefix = base + "/";
  if (!base.empty() && full.size() > prefix.size() &&
      SameTextI(std::string_view(full).substr(0, prefix.size()), prefix))
    return "%" + full.substr(prefix.size());
  return full;
}

std::string MacroToPath(std::string_view baseDir, std::string_view path) {
  std::string full = Slashes(path);
  if (!full.empty() && full.front() == '%')
    full = StripTrailingSlash(Slashes(baseDir)) + "/" + full.substr(1);
  return ResolvePathCase(full);
}

std::string ResolvePathCase(std::string_view path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string text(path);
  if (text.empty() || fs::exists(text, ec)) return text;
  fs::path resolved = text.front() == '/' ? fs::path("/") : fs::path();
  for (const fs::path& part : fs::path(text).relative_path()) {
    const fs::path exact = resolved / part;
    if (fs::exists(exact, ec)) {
      resolved = exact;
      continue;
    }
    const fs::path dir = resolved.empty() ? fs::path(".") : resolved;
    bool found = false;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (SameTextI(name, part.string())) {
        resolved /= name;
        found = true;
        break;
      }
    }
    if (!found) return text;
  }
  return resolved.string();
}

}  // namespace kvf
