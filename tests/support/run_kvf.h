#pragma once
// Runs the kvf executable (KVF_EXE) with arguments and extra environment
// variables, no standard input, and captures its exit code and both outputs.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kvf::test {

struct TRunResult {
  int exitCode = -1;
  std::string out, err;
};

inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

inline TRunResult RunKvf(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {}) {
  const std::filesystem::path outFile = std::filesystem::temp_directory_path() / ("kvf_out_" + std::to_string(::getpid()));
  const std::filesystem::path errFile = std::filesystem::temp_directory_path() / ("kvf_err_" + std::to_string(::getpid()));
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    std::string exe = KVF_EXE;
    argv.push_back(exe.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(exe.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  TRunResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Slurp(outFile);
  r.err = Slurp(errFile);
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  return r;
}

}  // namespace kvf::test
