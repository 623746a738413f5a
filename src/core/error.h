#pragma once
// The one exception type of the system: it carries the Russian message shown to
// the user. The command the user started catches it, shows it and restores state.
#include <stdexcept>
#include <string>

namespace kvf {

class EKvfError : public std::runtime_error {
 public:
  explicit EKvfError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kvf
