#pragma once
// Temporary files that a signal must not leave behind, and exclusive folder
// locks for writers that replace a folder's files.
#include <filesystem>
#include <string>

namespace kvf {

// Removes the registered temporary files when the process is ended by SIGINT,
// SIGTERM or SIGHUP, then ends it as the signal would. Installed once; idempotent.
void InstallTempCleanupOnSignals();

// Registers `path` for the signal cleanup for the guard's lifetime (a fixed
// number of slots; beyond them a file is simply not registered).
class TTempFileGuard {
 public:
  explicit TTempFileGuard(const std::filesystem::path& path);
  ~TTempFileGuard();
  TTempFileGuard(const TTempFileGuard&) = delete;
  TTempFileGuard& operator=(const TTempFileGuard&) = delete;

 private:
  int slot_ = -1;
};

// An exclusive lock on a folder (flock on the folder itself, so no lock file
// is left behind): a second writer waits until the first is done. The lock is
// released by the destructor or when the process ends in any way.
class TFolderLock {
 public:
  explicit TFolderLock(const std::filesystem::path& dir);  // EKvfError when the folder can't be opened
  ~TFolderLock();
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

 private:
  int fd_ = -1;
};

// A name for a temporary sibling of `path`: "." + file name + "." + random + suffix.
std::filesystem::path UniqueSiblingName(const std::filesystem::path& path, const std::string& suffix);

}  // namespace kvf
