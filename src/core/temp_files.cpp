#include "core/temp_files.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fmt/format.h>
#include <mutex>
#include <random>
#include <sys/file.h>
#include <unistd.h>

#include "core/error.h"
#include "core/file_io.h"

namespace kvf {
namespace {

constexpr int kSlots = 8;
constexpr size_t kPathMax = 4096;

struct TSlot {
  std::atomic<bool> claimed{false};  // owned by a guard
  std::atomic<bool> ready{false};    // the path is complete
  char path[kPathMax];
};

TSlot g_slots[kSlots];

void CleanupHandler(int sig) {
  for (TSlot& s : g_slots)
    if (s.ready.load()) ::unlink(s.path);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

void InstallTempCleanupOnSignals() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction old {};
      ::sigaction(sig, nullptr, &old);
      if (old.sa_handler == SIG_IGN) continue;  // e.g. nohup: keep ignoring
      std::signal(sig, CleanupHandler);
    }
  });
}

TTempFileGuard::TTempFileGuard(const std::filesystem::path& path) {
  const std::string& p = path.native();
  if (p.size() >= kPathMax) return;
  for (int i = 0; i < kSlots; ++i) {
    bool expected = false;
    if (!g_slots[i].claimed.compare_exchange_strong(expected, true)) continue;
    std::memcpy(g_slots[i].path, p.c_str(), p.size() + 1);
    g_slots[i].ready.store(true);
    slot_ = i;
    return;
  }
}

TTempFileGuard::~TTempFileGuard() {
  if (slot_ < 0) return;
  g_slots[slot_].ready.store(false);
  g_slots[slot_].claimed.store(false);
}

TFolderLock::TFolderLock(const std::filesystem::path& dir) {
  fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) throw EKvfError(fmt::format("Не удается открыть папку {}: {}", dir.string(), SystemErrorText(errno)));
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const std::string reason = SystemErrorText(errno);
    ::close(fd_);
    throw EKvfError(fmt::format("Не удается заблокировать папку {}: {}", dir.string(), reason));
  }
}

TFolderLock::~TFolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

std::filesystem::path UniqueSiblingName(const std::filesystem::path& path, const std::string& suffix) {
  std::random_device rd;
  return path.parent_path() / fmt::format(".{}.{:08x}{:08x}{}", path.filename().string(), rd(), rd(), suffix);
}

}  // namespace kvf
