#include "core/file_io.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fmt/format.h>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "core/error.h"
#include "core/temp_files.h"

namespace kvf {
namespace {

std::string SystemReason() { return SystemErrorText(errno); }

class TFd {
 public:
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() { if (fd_ >= 0) ::close(fd_); }
  int get() const { return fd_; }
  int release() { int fd = fd_; fd_ = -1; return fd; }
 private:
  int fd_;
};

// Writes all bytes; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

void SyncDir(const std::filesystem::path& dir) {
  TFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());
}

// A file with other hard links is rewritten in place so that every name keeps
// the new content; the finished temporary copy is the fallback if that fails.
void ReplaceInPlace(const std::filesystem::path& path, const std::filesystem::path& tmp, std::string_view bytes) {
  TFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  if (fd.get() < 0 || !WriteAll(fd.get(), bytes) || ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 ||
      ::fsync(fd.get()) != 0)
    throw EKvfError(fmt::format("Ошибка записи файла {}: {}; новое содержимое сохранено в {}", path.string(),
                                SystemReason(), tmp.string()));
  ::unlink(tmp.c_str());
}

}  // namespace

std::string SystemErrorText(int code) {
  switch (code) {
    case ENOENT: return "файл или папка не найдены";
    case EACCES:
    case EPERM: return "нет доступа";
    case ENOSPC: return "нет места на диске";
    case EDQUOT: return "превышена дисковая квота";
    case EFBIG: return "превышен допустимый размер файла";
    case EROFS: return "файловая система доступна только для чтения";
    case EISDIR: return "это папка";
    case ENOTDIR: return "часть пути не является папкой";
    case EEXIST: return "файл уже существует";
    case ENOTEMPTY: return "папка не пуста";
    case EXDEV: return "перенос между файловыми системами невозможен";
    case EIO: return "ошибка ввода-вывода";
    case ENAMETOOLONG: return "слишком длинное имя";
    case ELOOP: return "слишком много символических ссылок";
    case EMFILE:
    case ENFILE: return "открыто слишком много файлов";
    case ENOMEM: return "недостаточно памяти";
    case EBUSY: return "ресурс занят";
    case EINVAL: return "недопустимый аргумент";
    default: return fmt::format("системная ошибка {}", code);
  }
}

void IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

std::filesystem::path ResolveSymlinks(const std::filesystem::path& path) {
  std::filesystem::path p = path;
  for (int depth = 0; depth < 40; ++depth) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(p.c_str(), target, sizeof target - 1);
    if (n < 0) return p;  // not a link (or not there): write here
    target[n] = '\0';
    const std::filesystem::path next(target);
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  throw EKvfError(fmt::format("Слишком много символических ссылок: {}", path.string()));
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) throw EKvfError(fmt::format("Не удается открыть файл {}: {}", path.string(), SystemReason()));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0)
    throw EKvfError(fmt::format("Ошибка чтения файла {}: {}", path.string(), SystemReason()));
  if (!S_ISREG(st.st_mode)) throw EKvfError(fmt::format("{} не является обычным файлом", path.string()));
  std::string bytes;
  if (st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
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

void WriteFileAtomic(const std::filesystem::path& requested, std::string_view bytes) {
  IgnoreFileSizeSignal();
  const std::filesystem::path path = ResolveSymlinks(requested);
  const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) throw EKvfError(fmt::format("{} не является обычным файлом", path.string()));
  std::random_device rd;
  const std::filesystem::path tmp = dir / fmt::format(".{}.{:08x}{:08x}.tmp", path.filename().string(), rd(), rd());
  TFd fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0)
    throw EKvfError(fmt::format("Не удается создать файл в папке {}: {}", dir.string(), SystemReason()));
  const TTempFileGuard cleanup(tmp);
  auto fail = [&](const char* what) {
    const std::string reason = SystemReason();
    if (fd.get() >= 0) ::close(fd.release());
    ::unlink(tmp.c_str());
    throw EKvfError(fmt::format("{} {}: {}", what, path.string(), reason));
  };
  if (exists) {
    // The replacement keeps the file's permissions, and its owner where we may.
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0) fail("Не удается установить права файла");
    if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) (void)::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid);
  }
  if (!WriteAll(fd.get(), bytes)) fail("Ошибка записи файла");
  if (::fsync(fd.get()) != 0) fail("Ошибка записи файла");
  if (::close(fd.release()) != 0) fail("Ошибка записи файла");
  if (exists && old.st_nlink > 1) {
    ReplaceInPlace(path, tmp, bytes);
    return;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) fail("Не удается заменить файл");
  SyncDir(dir);
}

}  // namespace kvf
