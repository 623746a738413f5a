#include "catalog/filter.h"

#include <charconv>
#include <fmt/format.h>

#include "catalog/database.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/text_utils.h"

namespace kvf {
namespace {

enum class TTok { End, Name, String, Number, LParen, RParen, Op, And, Or, Not };

struct TToken {
  TTok kind = TTok::End;
  std::string text;
  double number = 0;
  size_t pos = 0;
};

// An operand of a comparison: a field or a constant.
struct TOperand {
  const TFieldDef* field = nullptr;
  TFieldValue constant;
};

class TTranslator {
 public:
  TTranslator(std::string_view text, const TTableDef& table) : text_(text), table_(table) { Next(); }

  TSqlCondition Run() {
    TSqlCondition result;
    result.sql = ParseOr(result.params);
    if (tok_.kind != TTok::End) Fail("лишний текст");
    return result;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EKvfError(fmt::format("Ошибка фильтра таблицы [{}] в позиции {}: {}\r\n({})", table_.fileName,
                                Utf8Length(text_.substr(0, tok_.pos)) + 1, what, std::string(text_)));
  }

  void Next() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') ++pos_;
    tok_ = TToken{};
    tok_.pos = pos_;
    if (pos_ >= text_.size()) return;
    const char c = text_[pos_];
    if (c == '(' || c == ')') {
      tok_.kind = c == '(' ? TTok::LParen : TTok::RParen;
      ++pos_;
    } else if (c == '=' ) {
      tok_.kind = TTok::Op;
      tok_.text = "=";
      ++pos_;
    } else if (c == '<' || c == '>') {
      tok_.kind = TTok::Op;
      tok_.text = c;
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '=' || (c == '<' && text_[pos_] == '>'))) tok_.text += text_[pos_++];
    } else if (c == '\'' || c == '"') {
      const size_t e = ScanQuoted(text_, pos_, tok_.text);
      if (e == std::string_view::npos) Fail("не закрыта кавычка");
      tok_.kind = c == '\'' ? TTok::String : TTok::Name;
      pos_ = e + 1;
    } else if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
      size_t e = pos_ + 1;
      while (e < text_.size() && ((text_[e] >= '0' && text_[e] <= '9') || text_[e] == '.')) ++e;
      const auto r = std::from_chars(text_.data() + pos_, text_.data() + e, tok_.number);
      if (r.ec != std::errc() || r.ptr != text_.data() + e) Fail("неверное число");
      tok_.kind = TTok::Number;
      pos_ = e;
    } else {
      size_t e = pos_;
      while (e < text_.size()) {
        size_t q = e;
        const char32_t cp = NextCodePoint(text_, q);
        const bool nameChar = (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z') || (cp >= '0' && cp <= '9') ||
                              cp == '_' || (cp >= 0x0400 && cp <= 0x04FF);
        if (!nameChar) break;
        e = q;
      }
      if (e == pos_) Fail("недопустимый символ");
      tok_.text = std::string(text_.substr(pos_, e - pos_));
      const std::string upper = AnsiUpperCase(tok_.text);
      tok_.kind = upper == "AND" ? TTok::And : upper == "OR" ? TTok::Or : upper == "NOT" ? TTok::Not : TTok::Name;
      pos_ = e;
    }
  }

  std::string ParseOr(std::vector<TFieldValue>& params) {
    std::string sql = ParseAnd(params);
    while (tok_.kind == TTok::Or) {
      Next();
      sql = "(" + sql + " OR " + ParseAnd(params) + ")";
    }
    return sql;
  }

  std::string ParseAnd(std::vector<TFieldValue>& params) {
    std::string sql = ParseNot(params);
    while (tok_.kind == TTok::And) {
      Next();
      sql = "(" + sql + " AND " + ParseNot(params) + ")";
    }
    return sql;
  }

  std::string ParseNot(std::vector<TFieldValue>& params) {
    if (tok_.kind == TTok::Not) {
      Next();
      return "(NOT " + ParseNot(params) + ")";
    }
    if (tok_.kind == TTok::LParen) {
      Next();
      std::string inner = ParseOr(params);
      if (tok_.kind != TTok::RParen) Fail("ожидается \")\"");
      Next();
      return inner;
    }
    return ParseComparison(params);
  }

  TOperand ParseOperand() {
    TOperand op;
    switch (tok_.kind) {
      case TTok::Name:
        op.field = table_.FindStored(tok_.text);
        if (!op.field)
          throw EKvfError(fmt::format("Ошибка фильтра таблицы [{}]: поле '{}' не найдено\r\n({})", table_.fileName,
                                      tok_.text, std::string(text_)));
        break;
      case TTok::String: op.constant = tok_.text; break;
      case TTok::Number: op.constant = tok_.number; break;
      default: Fail("ожидается поле или значение");
    }
    Next();
    return op;
  }

  // The constant in the field's kind: text for a text field, a number otherwise.
  TFieldValue Coerce(const TFieldDef& field, const TFieldValue& constant) {
    if (field.IsText()) {
      if (const auto* d = std::get_if<double>(&constant)) return ValueAsString(*d);
      return constant;
    }
    if (const auto* s = std::get_if<std::string>(&constant)) {
      double d = 0;
      const auto r = std::from_chars(s->data(), s->data() + s->size(), d);
      if (s->empty()) return 0.0;
      if (r.ec != std::errc() || r.ptr != s->data() + s->size())
        throw EKvfError(fmt::format("Ошибка фильтра таблицы [{}]: значение '{}' не подходит к полю '{}'",
                                    table_.fileName, *s, field.name));
      return d;
    }
    return constant;
  }

  static TFieldValue Blank(const TFieldDef& field) {
    return field.IsText() ? TFieldValue(std::string()) : TFieldValue(0.0);
  }

  static int CompareValues(const TFieldValue& a, const TFieldValue& b) {
    if (std::holds_alternative<std::string>(a)) {
      const std::string x = ValueAsString(a), y = ValueAsString(b);
      return x < y ? -1 : x > y ? 1 : 0;
    }
    const double x = ValueAsFloat(a), y = ValueAsFloat(b);
    return x < y ? -1 : x > y ? 1 : 0;
  }

  static bool Holds(const std::string& op, int cmp) {
    if (op == "=") return cmp == 0;
    if (op == "<>") return cmp != 0;
    if (op == "<") return cmp < 0;
    if (op == "<=") return cmp <= 0;
    if (op == ">") return cmp > 0;
    return cmp >= 0;
  }

  static std::string Mirror(const std::string& op) {
    if (op == "<") return ">";
    if (op == "<=") return ">=";
    if (op == ">") return "<";
    if (op == ">=") return "<=";
    return op;
  }

  std::string ParseComparison(std::vector<TFieldValue>& params) {
    TOperand left = ParseOperand();
    if (tok_.kind != TTok::Op) Fail("ожидается оператор сравнения");
    std::string op = tok_.text;
    Next();
    TOperand right = ParseOperand();
    if (!left.field && right.field) {
      std::swap(left, right);
      op = Mirror(op);
    }
    if (!left.field) {  // two constants
      return Holds(op, CompareValues(left.constant, right.constant)) ? "1" : "0";
    }
    const std::string column = QuoteIdent(left.field->name);
    if (right.field) {
      params.push_back(Blank(*left.field));
      params.push_back(Blank(*right.field));
      return fmt::format("(COALESCE({}, ?) {} COALESCE({}, ?))", column, op, QuoteIdent(right.field->name));
    }
    const TFieldValue value = Coerce(*left.field, right.constant);
    params.push_back(value);
    const bool blankPasses = Holds(op, CompareValues(Blank(*left.field), value));
    return blankPasses ? fmt::format("({} {} ? OR {} IS NULL)", column, op, column)
                       : fmt::format("{} {} ?", column, op);
  }

  std::string_view text_;
  const TTableDef& table_;
  size_t pos_ = 0;
  TToken tok_;
};

}  // namespace

TSqlCondition TranslateFilter(std::string_view filter, const TTableDef& table) {
  return TTranslator(filter, table).Run();
}

std::string QuotedFilterValue(std::string_view value) {
  std::string quoted = "'";
  for (char c : value) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

}  // namespace kvf
