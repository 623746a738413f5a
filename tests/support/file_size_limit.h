#pragma once
// Runs a write in a child process under a file-size limit (ulimit -f), so the
// test process keeps its own limits. The outcome says how the write ended.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

#include "core/error.h"

namespace kvf::test {

enum class TLimitedWrite { Refused, Succeeded, OtherError, Killed };

// `message`, when given, receives the start of an EKvfError's text (through a pipe).
inline TLimitedWrite WriteUnderFileSizeLimit(rlim_t bytes, const std::function<void()>& write,
                                             std::string* message = nullptr) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return TLimitedWrite::OtherError;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    int code = 2;
    try {
      write();
      code = 1;
    } catch (const EKvfError& e) {
      const std::string text = std::string(e.what()).substr(0, 400);
      (void)!::write(pipeFds[1], text.data(), text.size());
      code = 0;
    } catch (...) {
    }
    ::_exit(code);
  }
  ::close(pipeFds[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (message) *message = text;
  if (!WIFEXITED(status)) return TLimitedWrite::Killed;
  switch (WEXITSTATUS(status)) {
    case 0: return TLimitedWrite::Refused;
    case 1: return TLimitedWrite::Succeeded;
    default: return TLimitedWrite::OtherError;
  }
}

}  // namespace kvf::test
