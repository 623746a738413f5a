#include <gtest/gtest.h>

#include <map>

#include "core/cp1251.h"
#include "core/expression.h"

namespace kvf {
namespace {

// A host like the sash's: case-sensitive names, upper-cased function names.
class TSashLikeHost : public TExprHost {
 public:
  std::map<std::string, TExprValue> vars = {{"FFB", 700}, {"FН", 1400}, {"Order.Name", "A-1"}};
  std::vector<std::string> sources;
  bool GetVariable(const std::string& name, TExprValue& value) override {
    const auto it = vars.find(name);
    if (it == vars.end()) return false;
    value = it->second;
    return true;
  }
  bool CallFunction(const std::string& name, const std::vector<TExprArg>& args, TExprValue& value) override {
    const std::string upper = AnsiUpperCase(name);
    if (upper == "FFL") {
      value = args.at(0).Value().AsNumber() * 100;
      return true;
    }
    if (upper == "SRC") {  // takes its argument as text, never evaluates it
      for (const TExprArg& a : args) sources.push_back(a.Source());
      value = static_cast<int>(args.size());
      return true;
    }
    return false;
  }
};

TEST(Expression, EvaluatesArithmeticLogicAndComparisons) {
  TSashLikeHost host;
  struct Case { const char* text; TExprValue value; };
  const Case cases[] = {
      {"FFB/2", 350.0},
      {"FН - 2*(FFB - 10) + 0.5", 20.5},
      {"-FFB + +3", -697.0},
      {"17 div 5 + 17 mod 5", 5.0},
      {"-7 div 2", -3.0},
      {"ffl(2) + FFL(1)", 300.0},
      {"1.5e2", 150.0},
      {"'a''b' + 'c'", "a'bc"},
      {"'№' + 5", "№5"},
      {"Order.Name = 'A-1'", true},
      {"\"FFB\" >= 700 and not (FН < 1000) or 1 = 0", true},
      {"FFB <> 700 or FFB <= 699", false},
      {"'abc' < 'abd'", true},
      {"'a' = 'A'", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EvaluateExpression(c.text, host), c.value);
  }
}

TEST(Expression, HandsFunctionsTheSourceTextOfTheirArguments) {
  TSashLikeHost host;
  EXPECT_EQ(EvaluateExpression("SRC(Undefined + 1, 'x', ( FFB ))", host), TExprValue(3));
  EXPECT_EQ(host.sources, (std::vector<std::string>{"Undefined + 1", "'x'", "FFB"}));
}

TEST(Expression, SyntaxErrorsNameThePosition) {
  struct Case { const char* text; int position; };
  for (const Case& c : {Case{"FFB +", 6}, Case{"(FFB", 5}, Case{"FFB ) 2", 5}, Case{"'open", 1},
                        Case{"FFB # 2", 5}, Case{"ФН ? 1", 4}, Case{"", 1}, Case{"f(1,", 5},
                        Case{"2 > 1 = 1", 7}}) {
    SCOPED_TRACE(c.text);
    try {
      TExpression::Parse(c.text);
      FAIL() << "parsed";
    } catch (const EExprSyntaxError& e) {
      EXPECT_EQ(e.Position(), c.position) << e.what();
    }
  }
}

TEST(Expression, RuntimeErrorsAreReported) {
  TSashLikeHost host;
  for (const char* text : {"Unknown", "nofunc(1)", "1/0", "5 mod 0", "'x' * 2"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(EvaluateExpression(text, host), EKvfError);
  }
}

}  // namespace
}  // namespace kvf
