#include <algorithm>

#include "cli/command.h"

namespace kvf::cli {

TArgs::TArgs(std::vector<std::string> args, std::vector<std::string> valueOptions, std::vector<std::string> flags) {
  auto has = [](const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.rfind("--", 0) == 0) {
      const std::string name = a.substr(2);
      if (has(valueOptions, name)) {
        if (i + 1 >= args.size()) throw TUsageError("параметру " + a + " нужно значение");
        values_.emplace_back(name, args[++i]);
      } else if (has(flags, name)) {
        flags_.push_back(name);
      } else {
        throw TUsageError("неизвестный параметр " + a);
      }
    } else {
      positional_.push_back(a);
    }
  }
}

std::optional<std::string> TArgs::Value(const std::string& name) const {
  for (auto it = values_.rbegin(); it != values_.rend(); ++it)
    if (it->first == name) return it->second;
  return std::nullopt;
}

bool TArgs::Flag(const std::string& name) const {
  return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

void TArgs::ExpectPositional(size_t min, size_t max, const char* usage) const {
  if (positional_.size() < min || positional_.size() > max) throw TUsageError(std::string("использование: ") + usage);
}

}  // namespace kvf::cli
