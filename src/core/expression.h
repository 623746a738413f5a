#pragma once
// The expression evaluator of the catalog's length formulas and the report
// templates: numbers, single-quoted strings ('' inside for a quote), + - * /,
// div, mod, = <> < <= > >=, and, or, not, parentheses, names and function calls.
// Names may hold Cyrillic letters, digits, "_" and "."; a name in double quotes
// may hold anything else. The host resolves names and functions; a function gets
// its arguments unevaluated, each with its source text, and evaluates the ones it
// wants. A syntax error is an EExprSyntaxError naming the 1-based position.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/error.h"

namespace kvf {

class EExprSyntaxError : public EKvfError {
 public:
  EExprSyntaxError(const std::string& message, int position) : EKvfError(message), position_(position) {}
  int Position() const { return position_; }

 private:
  int position_;
};

class TExprValue {
 public:
  TExprValue() : v_(0.0) {}
  TExprValue(double d) : v_(d) {}
  TExprValue(int i) : v_(static_cast<double>(i)) {}
  TExprValue(bool b) : v_(b) {}
  TExprValue(std::string s) : v_(std::move(s)) {}
  TExprValue(const char* s) : v_(std::string(s)) {}

  bool IsNumber() const { return std::holds_alternative<double>(v_); }
  bool IsString() const { return std::holds_alternative<std::string>(v_); }
  bool IsBool() const { return std::holds_alternative<bool>(v_); }
  // A string that is not a number raises EKvfError; true is 1.
  double AsNumber() const;
  std::string AsString() const;  // numbers in their shortest form with "."
  bool AsBool() const;           // non-zero, non-empty
  bool operator==(const TExprValue& o) const { return v_ == o.v_; }

 private:
  std::variant<double, std::string, bool> v_;
};

class TExprArg {
 public:
  TExprArg(std::string source, std::function<TExprValue()> evaluate)
      : source_(std::move(source)), evaluate_(std::move(evaluate)) {}
  const std::string& Source() const { return source_; }
  TExprValue Value() const { return evaluate_(); }

 private:
  std::string source_;
  std::function<TExprValue()> evaluate_;
};

class TExprHost {
 public:
  virtual ~TExprHost() = default;
  // False when the name is unknown (the evaluation then raises EKvfError).
  virtual bool GetVariable(const std::string& name, TExprValue& value) = 0;
  // False when the function is unknown.
  virtual bool CallFunction(const std::string& name, const std::vector<TExprArg>& args, TExprValue& value) = 0;
};

class TExpression {
 public:
  struct TNode;
  // Raises EExprSyntaxError.
  static TExpression Parse(std::string_view text);
  TExprValue Evaluate(TExprHost& host) const;
  const std::string& Text() const { return text_; }

  TExpression(TExpression&&) noexcept;
  TExpression& operator=(TExpression&&) noexcept;
  ~TExpression();

 private:
  TExpression() = default;
  std::string text_;
  std::unique_ptr<TNode> root_;
};

TExprValue EvaluateExpression(std::string_view text, TExprHost& host);

}  // namespace kvf
