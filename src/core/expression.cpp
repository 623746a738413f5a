#include "core/expression.h"

#include <charconv>
#include <cmath>
#include <fmt/format.h>

#include "core/cp1251.h"
#include "core/text_utils.h"

namespace kvf {

enum class TOp { Num, Str, Name, Call, Neg, Not, Add, Sub, Mul, Div, IntDiv, Mod, Eq, Ne, Lt, Le, Gt, Ge, And, Or };

struct TExpression::TNode {
  TOp op;
  TExprValue value;
  std::string name;
  std::vector<std::unique_ptr<TNode>> kids;
  size_t begin = 0, end = 0;  // source range, bytes
};

namespace {

using TNodePtr = std::unique_ptr<TExpression::TNode>;

enum class TTok { End, Num, Str, Name, LParen, RParen, Comma, Op };

struct TToken {
  TTok kind = TTok::End;
  std::string text;  // operator, name, or string value
  double number = 0;
  size_t begin = 0, end = 0;
};

bool IsNameStart(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (c >= 0x0400 && c <= 0x04FF);
}
bool IsNameChar(char32_t c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.'; }

class TParser {
 public:
  explicit TParser(std::string_view text) : text_(text) { Next(); }

  TNodePtr ParseAll() {
    TNodePtr root = ParseOr();
    if (tok_.kind != TTok::End) Fail("лишний текст");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    const int position = static_cast<int>(Utf8Length(text_.substr(0, tok_.begin))) + 1;
    throw EExprSyntaxError(fmt::format("Ошибка в выражении \"{}\" в позиции {}: {}", std::string(text_), position, what),
                           position);
  }

  void Next() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') ++pos_;
    tok_ = TToken{};
    tok_.begin = pos_;
    if (pos_ >= text_.size()) {
      tok_.end = pos_;
      return;
    }
    const char c = text_[pos_];
    if ((c >= '0' && c <= '9') || (c == '.' && pos_ + 1 < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
      size_t e = pos_;
      while (e < text_.size() && (std::isdigit(static_cast<unsigned char>(text_[e])) || text_[e] == '.')) ++e;
      if (e < text_.size() && (text_[e] == 'e' || text_[e] == 'E')) {
        size_t x = e + 1;
        if (x < text_.size() && (text_[x] == '+' || text_[x] == '-')) ++x;
        if (x < text_.size() && std::isdigit(static_cast<unsigned char>(text_[x]))) {
          e = x;
          while (e < text_.size() && std::isdigit(static_cast<unsigned char>(text_[e]))) ++e;
        }
      }
      const auto r = std::from_chars(text_.data() + pos_, text_.data() + e, tok_.number);
      if (r.ec != std::errc() || r.ptr != text_.data() + e) Fail("неверное число");
      tok_.kind = TTok::Num;
      pos_ = e;
    } else if (c == '\'' || c == '"') {
      const size_t e = ScanQuoted(text_, pos_, tok_.text);
      if (e == std::string_view::npos) Fail("не закрыта кавычка");
      tok_.kind = c == '\'' ? TTok::Str : TTok::Name;
      pos_ = e + 1;
    } else if (c == '(' || c == ')' || c == ',') {
      tok_.kind = c == '(' ? TTok::LParen : c == ')' ? TTok::RParen : TTok::Comma;
      ++pos_;
    } else if (c == '<' || c == '>') {
      tok_.kind = TTok::Op;
      tok_.text = c;
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '=' || (c == '<' && text_[pos_] == '>'))) tok_.text += text_[pos_++];
    } else if (c == '+' || c == '-' || c == '*' || c == '/' || c == '=') {
      tok_.kind = TTok::Op;
      tok_.text = c;
      ++pos_;
    } else {
      size_t p = pos_;
      const char32_t cp = NextCodePoint(text_, p);
      if (!IsNameStart(cp)) Fail("недопустимый символ");
      size_t e = p;
      while (e < text_.size()) {
        size_t q = e;
        if (!IsNameChar(NextCodePoint(text_, q))) break;
        e = q;
      }
      tok_.text = std::string(text_.substr(pos_, e - pos_));
      const std::string upper = AnsiUpperCase(tok_.text);
      tok_.kind = (upper == "DIV" || upper == "MOD" || upper == "AND" || upper == "OR" || upper == "NOT") ? TTok::Op
                                                                                                           : TTok::Name;
      if (tok_.kind == TTok::Op) tok_.text = upper;
      pos_ = e;
    }
    tok_.end = pos_;
  }

  bool IsOp(const char* op) const { return tok_.kind == TTok::Op && tok_.text == op; }

  TNodePtr Make(TOp op, size_t begin) {
    auto n = std::make_unique<TExpression::TNode>();
    n->op = op;
    n->begin = begin;
    return n;
  }

  TNodePtr Binary(TOp op, TNodePtr left, TNodePtr right) {
    auto n = Make(op, left->begin);
    n->end = right->end;
    n->kids.push_back(std::move(left));
    n->kids.push_back(std::move(right));
    return n;
  }

  TNodePtr ParseOr() {
    TNodePtr left = ParseAnd();
    while (IsOp("OR")) {
      Next();
      left = Binary(TOp::Or, std::move(left), ParseAnd());
    }
    return left;
  }

  TNodePtr ParseAnd() {
    TNodePtr left = ParseNot();
    while (IsOp("AND")) {
      Next();
      left = Binary(TOp::And, std::move(left), ParseNot());
    }
    return left;
  }

  TNodePtr ParseNot() {
    if (IsOp("NOT")) {
      auto n = Make(TOp::Not, tok_.begin);
      Next();
      n->kids.push_back(ParseNot());
      n->end = n->kids[0]->end;
      return n;
    }
    return ParseComparison();
  }

  TNodePtr ParseComparison() {
    TNodePtr left = ParseAdditive();
    static const std::pair<const char*, TOp> kOps[] = {{"=", TOp::Eq},  {"<>", TOp::Ne}, {"<", TOp::Lt},
                                                       {"<=", TOp::Le}, {">", TOp::Gt},  {">=", TOp::Ge}};
    for (const auto& [text, op] : kOps) {
      if (IsOp(text)) {
        Next();
        return Binary(op, std::move(left), ParseAdditive());
      }
    }
    return left;
  }

  TNodePtr ParseAdditive() {
    TNodePtr left = ParseMultiplicative();
    while (IsOp("+") || IsOp("-")) {
      const TOp op = tok_.text == "+" ? TOp::Add : TOp::Sub;
      Next();
      left = Binary(op, std::move(left), ParseMultiplicative());
    }
    return left;
  }

  TNodePtr ParseMultiplicative() {
    TNodePtr left = ParseUnary();
    while (IsOp("*") || IsOp("/") || IsOp("DIV") || IsOp("MOD")) {
      const TOp op = tok_.text == "*" ? TOp::Mul : tok_.text == "/" ? TOp::Div : tok_.text == "DIV" ? TOp::IntDiv : TOp::Mod;
      Next();
      left = Binary(op, std::move(left), ParseUnary());
    }
    return left;
  }

  TNodePtr ParseUnary() {
    if (IsOp("-") || IsOp("+")) {
      const bool negate = tok_.text == "-";
      const size_t begin = tok_.begin;
      Next();
      TNodePtr operand = ParseUnary();
      if (!negate) return operand;
      auto n = Make(TOp::Neg, begin);
      n->end = operand->end;
      n->kids.push_back(std::move(operand));
      return n;
    }
    return ParsePrimary();
  }

  TNodePtr ParsePrimary() {
    const TToken t = tok_;
    switch (t.kind) {
      case TTok::Num: {
        auto n = Make(TOp::Num, t.begin);
        n->value = t.number;
        n->end = t.end;
        Next();
        return n;
      }
      case TTok::Str: {
        auto n = Make(TOp::Str, t.begin);
        n->value = t.text;
        n->end = t.end;
        Next();
        return n;
      }
      case TTok::LParen: {
        Next();
        TNodePtr inner = ParseOr();
        if (tok_.kind != TTok::RParen) Fail("ожидается \")\"");
        Next();
        return inner;
      }
      case TTok::Name: {
        Next();
        if (tok_.kind != TTok::LParen) {
          auto n = Make(TOp::Name, t.begin);
          n->name = t.text;
          n->end = t.end;
          return n;
        }
        auto n = Make(TOp::Call, t.begin);
        n->name = t.text;
        Next();
        if (tok_.kind != TTok::RParen) {
          for (;;) {
            n->kids.push_back(ParseOr());
            if (tok_.kind == TTok::Comma) {
              Next();
              continue;
            }
            if (tok_.kind != TTok::RParen) Fail("ожидается \")\" или \",\"");
            break;
          }
        }
        n->end = tok_.end;
        Next();
        return n;
      }
      case TTok::End: Fail("неожиданный конец выражения");
      default: Fail("ожидается операнд");
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  TToken tok_;
};

double Compare(const TExprValue& a, const TExprValue& b) {
  if (a.IsString() || b.IsString()) {
    const std::string x = a.AsString(), y = b.AsString();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  const double x = a.AsNumber(), y = b.AsNumber();
  return x < y ? -1 : (x > y ? 1 : 0);
}

class TEvaluator {
 public:
  TEvaluator(std::string_view text, TExprHost& host) : text_(text), host_(host) {}

  TExprValue Eval(const TExpression::TNode& n) {
    switch (n.op) {
      case TOp::Num:
      case TOp::Str: return n.value;
      case TOp::Name: {
        TExprValue v;
        if (!host_.GetVariable(n.name, v)) throw EKvfError(fmt::format("Неизвестная переменная \"{}\"", n.name));
        return v;
      }
      case TOp::Call: {
        std::vector<TExprArg> args;
        for (const auto& kid : n.kids) {
          const TExpression::TNode* k = kid.get();
          args.emplace_back(std::string(text_.substr(k->begin, k->end - k->begin)), [this, k] { return Eval(*k); });
        }
        TExprValue v;
        if (!host_.CallFunction(n.name, args, v)) throw EKvfError(fmt::format("Неизвестная функция \"{}\"", n.name));
        return v;
      }
      case TOp::Neg: return -Eval(*n.kids[0]).AsNumber();
      case TOp::Not: return !Eval(*n.kids[0]).AsBool();
      case TOp::And: return Eval(*n.kids[0]).AsBool() && Eval(*n.kids[1]).AsBool();
      case TOp::Or: return Eval(*n.kids[0]).AsBool() || Eval(*n.kids[1]).AsBool();
      default: break;
    }
    const TExprValue a = Eval(*n.kids[0]);
    const TExprValue b = Eval(*n.kids[1]);
    switch (n.op) {
      case TOp::Add:
        if (a.IsString() || b.IsString()) return a.AsString() + b.AsString();
        return a.AsNumber() + b.AsNumber();
      case TOp::Sub: return a.AsNumber() - b.AsNumber();
      case TOp::Mul: return a.AsNumber() * b.AsNumber();
      case TOp::Div: {
        const double d = b.AsNumber();
        if (d == 0) throw EKvfError("Деление на ноль");
        return a.AsNumber() / d;
      }
      case TOp::IntDiv:
      case TOp::Mod: {
        const double x = std::trunc(a.AsNumber()), y = std::trunc(b.AsNumber());
        if (y == 0) throw EKvfError("Деление на ноль");
        return n.op == TOp::IntDiv ? std::trunc(x / y) : std::fmod(x, y);
      }
      case TOp::Eq: return Compare(a, b) == 0;
      case TOp::Ne: return Compare(a, b) != 0;
      case TOp::Lt: return Compare(a, b) < 0;
      case TOp::Le: return Compare(a, b) <= 0;
      case TOp::Gt: return Compare(a, b) > 0;
      case TOp::Ge: return Compare(a, b) >= 0;
      default: throw EKvfError("Неверное выражение");
    }
  }

 private:
  std::string_view text_;
  TExprHost& host_;
};

}  // namespace

double TExprValue::AsNumber() const {
  if (const double* d = std::get_if<double>(&v_)) return *d;
  if (const bool* b = std::get_if<bool>(&v_)) return *b ? 1 : 0;
  const std::string& s = std::get<std::string>(v_);
  double d = 0;
  const char* begin = s.data();
  while (begin < s.data() + s.size() && *begin == ' ') ++begin;
  const auto r = std::from_chars(begin, s.data() + s.size(), d);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || begin == s.data() + s.size())
    throw EKvfError(fmt::format("\"{}\" не является числом", s));
  return d;
}

std::string TExprValue::AsString() const {
  if (const std::string* s = std::get_if<std::string>(&v_)) return *s;
  if (const bool* b = std::get_if<bool>(&v_)) return *b ? "True" : "False";
  const double d = std::get<double>(v_);
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, r.ptr);
}

bool TExprValue::AsBool() const {
  if (const bool* b = std::get_if<bool>(&v_)) return *b;
  if (const double* d = std::get_if<double>(&v_)) return *d != 0;
  return !std::get<std::string>(v_).empty();
}

TExpression TExpression::Parse(std::string_view text) {
  TExpression e;
  e.text_ = std::string(text);
  e.root_ = TParser(e.text_).ParseAll();
  return e;
}

TExprValue TExpression::Evaluate(TExprHost& host) const { return TEvaluator(text_, host).Eval(*root_); }

TExpression::TExpression(TExpression&&) noexcept = default;
TExpression& TExpression::operator=(TExpression&&) noexcept = default;
TExpression::~TExpression() = default;

TExprValue EvaluateExpression(std::string_view text, TExprHost& host) {
  return TExpression::Parse(text).Evaluate(host);
}

}  // namespace kvf
