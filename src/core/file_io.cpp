#include "core/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <fmt/format.h>
#include <random>
#include <unistd.h>

#include "core/error.h"

namespace kvf {
namespace {

std::string SystemReason() { return std::strerror(errno); }

class TFd {
 public:
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() { if (fd_ >= 0) ::close(fd_); }
  int get() const { return fd_; }
  int release() { int fd = fd_; fd_ = -1; return fd; }
 private:
  int fd_;
};

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& path) {
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw EKvfError(fmt::format("Не удается открыть файл {}: {}", path.string(), SystemReason()));
  struct stat st {};
  std::string bytes;
  if (::fstat(fd.get(), &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EKvfError(fmt::format("Ошибка чтения файла {}: {}", path.string(), SystemReason()));
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
  std::random_device rd;
  const std::filesystem::path tmp =
      dir / fmt::format(".{}.{:08x}.tmp", path.filename().string(), rd());
  TFd fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (fd.get() < 0)
    throw EKvfError(fmt::format("Не удается создать файл {}: {}", tmp.string(), SystemReason()));
  auto fail = [&](const char* what) {
    const std::string reason = SystemReason();
    ::close(fd.release());
    ::unlink(tmp.c_str());
    throw EKvfError(fmt::format("{} {}: {}", what, path.string(), reason));
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail("Ошибка записи файла");
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd.get()) != 0) fail("Ошибка записи файла");
  if (::close(fd.release()) != 0) {
    const std::string reason = SystemReason();
    ::unlink(tmp.c_str());
    throw EKvfError(fmt::format("Ошибка записи файла {}: {}", path.string(), reason));
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const std::string reason = SystemReason();
    ::unlink(tmp.c_str());
    throw EKvfError(fmt::format("Не удается заменить файл {}: {}", path.string(), reason));
  }
  TFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
}

}  // namespace kvf
