// Whole-file reads and atomic saves: what a save keeps of the file it replaces,
// what it leaves behind when it fails, and what a read refuses.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/error.h"
#include "core/file_io.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

namespace fs = std::filesystem;

size_t EntryCount(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

mode_t ModeOf(const fs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(FileIo, ASaveKeepsTheFilesIdentity) {
  test::TTempDir dir;
  const fs::path order = dir / "private.kfo370";
  WriteFileAtomic(order, "old");
  ::chmod(order.c_str(), 0600);
  WriteFileAtomic(order, "new");
  EXPECT_EQ(ModeOf(order), 0600u);
  EXPECT_EQ(ReadWholeFile(order), "new");

  // through a relative and through an absolute symbolic link: the target changes, the links stay
  fs::create_directories(dir / "real");
  WriteFileAtomic(dir / "real" / "a.kfo370", "target");
  fs::create_symlink("real/a.kfo370", dir / "relative.kfo370");
  fs::create_symlink(dir / "relative.kfo370", dir / "absolute.kfo370");
  WriteFileAtomic(dir / "absolute.kfo370", "through two links");
  EXPECT_TRUE(fs::is_symlink(dir / "relative.kfo370"));
  EXPECT_TRUE(fs::is_symlink(dir / "absolute.kfo370"));
  EXPECT_EQ(ReadWholeFile(dir / "real" / "a.kfo370"), "through two links");

  // a hard link sees the new content
  fs::create_hard_link(order, dir / "hard.kfo370");
  WriteFileAtomic(order, "both names");
  EXPECT_EQ(ReadWholeFile(dir / "hard.kfo370"), "both names");
  EXPECT_EQ(fs::hard_link_count(order), 2u);
  EXPECT_EQ(ModeOf(order), 0600u);

  // a new file takes the process's umask
  const mode_t previous = ::umask(027);
  WriteFileAtomic(dir / "fresh.kfo370", "x");
  ::umask(previous);
  EXPECT_EQ(ModeOf(dir / "fresh.kfo370"), 0640u);
  EXPECT_EQ(EntryCount(dir.path()), 6u);  // no temporary file left anywhere
  EXPECT_EQ(EntryCount(dir / "real"), 1u);
}

TEST(FileIo, ASaveOverTheFileSizeLimitFailsAndLeavesNothing) {
  test::TTempDir dir;
  const fs::path file = dir / "a.kfo370";
  WriteFileAtomic(file, "old content");
  std::string message;
  EXPECT_EQ(test::WriteUnderFileSizeLimit(1000, [&] { WriteFileAtomic(file, std::string(5000, 'x')); }, &message),
            test::TLimitedWrite::Refused);
  EXPECT_EQ(message.rfind("Ошибка записи файла " + file.string() + ": превышен допустимый размер файла", 0), 0u)
      << message;
  EXPECT_EQ(ReadWholeFile(file), "old content");
  EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(FileIo, ReadingRefusesWhatIsNotARegularFileAtOnce) {
  test::TTempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  for (const fs::path& p : {fs::path("/dev/zero"), dir / "fifo", dir.path()}) {
    SCOPED_TRACE(p.string());
    try {
      ReadWholeFile(p);
      ADD_FAILURE() << "read";
    } catch (const EKvfError& e) {
      EXPECT_NE(std::string(e.what()).find("не является обычным файлом"), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(ReadWholeFile(dir / "missing"), EKvfError);
  EXPECT_THROW(WriteFileAtomic(dir / "fifo", "x"), EKvfError);  // never replaced by a regular file
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
}

}  // namespace
}  // namespace kvf
