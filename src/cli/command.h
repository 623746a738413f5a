#pragma once
// kvf's commands: each takes its arguments (after the command words) and returns
// the exit code. A usage error throws TUsageError (exit 2); an EKvfError is a
// failed operation (exit 1).
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvf {
class TConsoleUserInterface;
}

namespace kvf::cli {

// The console interface kvf installs (its questions take their defaults).
TConsoleUserInterface& Console();

class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failure whose message has been shown already (exit 1, nothing more printed).
class TReportedFailure : public std::runtime_error {
 public:
  TReportedFailure() : std::runtime_error("reported") {}
};

// Options "--name value" and "--flag" after the positional arguments.
class TArgs {
 public:
  TArgs(std::vector<std::string> args, std::vector<std::string> valueOptions, std::vector<std::string> flags);
  const std::vector<std::string>& Positional() const { return positional_; }
  std::optional<std::string> Value(const std::string& name) const;
  bool Flag(const std::string& name) const;
  // The positional count must lie in [min, max].
  void ExpectPositional(size_t min, size_t max, const char* usage) const;

 private:
  std::vector<std::string> positional_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::vector<std::string> flags_;
};

int RunConfig(const std::vector<std::string>& args);
int RunOrder(const std::vector<std::string>& args);
int RunSelection(const std::vector<std::string>& args);
int RunSketch(const std::vector<std::string>& args);
int RunCatalog(const std::vector<std::string>& args);
int RunCalc(const std::vector<std::string>& args);
// kvf help [TOPIC]; an unknown topic is a usage error.
int RunHelp(const std::vector<std::string>& args);

}  // namespace kvf::cli
