// Importing a manufacturer's Paradox tables: what refuses to replace a catalog,
// and damaged table files, which must fail the read and never hang or crash.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "catalog/catalog_files.h"
#include "catalog/paradox_import.h"
#include "catalog/schema.h"
#include "core/error.h"
#include "core/file_io.h"
#include "support/paradox_writer.h"
#include "support/temp_dir.h"

namespace kvf {
namespace fs = std::filesystem;
namespace {

// Catalog.DB with `rows` articles (ID A30, Name A100): 130-byte records.
void WriteArticles(const fs::path& file, int rows) {
  test::TParadoxWriter w(file, {{const_cast<char*>("ID"), pxfAlpha, 30, 0}, {const_cast<char*>("Name"), pxfAlpha, 100, 0}});
  for (int i = 0; i < rows; ++i) {
    auto r = w.NewRecord();
    std::string id = "A-" + std::to_string(i), name = "article " + std::to_string(i);
    PX_put_data_alpha(w.doc_, w.Field(r, 0), 30, id.data());
    PX_put_data_alpha(w.doc_, w.Field(r, 1), 100, name.data());
    w.Put(r);
  }
}

uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

TEST(ParadoxImport, ATableThatCannotBeReadKeepsTheCatalogUnlessPartial) {
  test::TTempDir src, out, empty;
  WriteArticles(src / "Catalog.DB", 2);
  std::ofstream(src / "FrnSet.DB") << "not a table";
  WriteFileAtomic(out / "kvfcatalog.sqlite", "the old catalog");
  try {
    ImportParadoxCatalog(src.path(), out.path());
    ADD_FAILURE() << "imported";
  } catch (const EKvfError& e) {
    const std::string text = e.what();
    EXPECT_EQ(text.rfind("Каталог не импортирован: не все таблицы прочитаны", 0), 0u) << text;
    EXPECT_NE(text.find("\nFrnSet.DB: Таблица "), std::string::npos) << text;
    EXPECT_NE(text.find("\nFrnComp.DB: файл не найден"), std::string::npos) << text;
  }
  EXPECT_EQ(ReadWholeFile(out / "kvfcatalog.sqlite"), "the old catalog");

  const TImportResult partial = ImportParadoxCatalog(src.path(), out.path(), true);
  ASSERT_EQ(partial.imported.size(), 1u);
  EXPECT_EQ(partial.imported[0].table, "Catalog.DB");
  EXPECT_EQ(partial.imported[0].rows, 2);
  EXPECT_FALSE(partial.failures.empty());
  EXPECT_NE(ReadWholeFile(out / "kvfcatalog.sqlite"), "the old catalog");

  for (bool withPartial : {false, true}) {  // without articles nothing is imported
    SCOPED_TRACE(withPartial);
    const std::string before = ReadWholeFile(out / "kvfcatalog.sqlite");
    try {
      ImportParadoxCatalog(empty.path(), out.path(), withPartial);
      ADD_FAILURE() << "imported";
    } catch (const EKvfError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Каталог не импортирован: нет таблицы артикулов Catalog.DB", 0), 0u)
          << e.what();
    }
    EXPECT_EQ(ReadWholeFile(out / "kvfcatalog.sqlite"), before);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
}

TEST(ParadoxImport, EveryDamagedTableFailsTheReadAndNothingHangs) {
  test::TTempDir dir;
  WriteArticles(dir / "good.DB", 300);
  const std::string good = ReadWholeFile(dir / "good.DB");
  const TTableDef& def = TableDef("Catalog.DB");
  ASSERT_EQ(ReadParadoxTable(dir / "good.DB", def).size(), 300u);
  ASSERT_EQ(ParadoxFileProblem(good), "");
  const size_t headerSize = U16(good, 2), blockSize = static_cast<size_t>(good[5]) * 0x400;
  const size_t blocks = (good.size() - headerSize) / blockSize;
  ASSERT_GE(blocks, 2u);

  struct TDamage {
    std::string what;
    size_t at = 0;       // the byte set to `value`, or
    unsigned char value = 0;
    size_t cut = 0;      // the length the file is cut to (0: not cut)
  };
  std::vector<TDamage> damages;
  for (size_t at = 0; at < 0x78 + 4; ++at)
    for (unsigned char v : {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFF})
      damages.push_back({"header byte " + std::to_string(at) + " = " + std::to_string(v), at, v, 0});
  for (size_t block = 1; block <= blocks; ++block)
    for (size_t at = 0; at < 6; ++at)
      for (unsigned char v : {0x00, 0x01, 0x02, 0x03, 0xFF})
        damages.push_back({"block " + std::to_string(block) + " head byte " + std::to_string(at),
                           headerSize + (block - 1) * blockSize + at, v, 0});
  for (size_t cut = 1; cut < good.size(); cut += 61) damages.push_back({"cut at " + std::to_string(cut), 0, 0, cut});
  std::string cycle = good;  // the last block points back to the first
  cycle[headerSize + (blocks - 1) * blockSize] = 1;
  cycle[headerSize + (blocks - 1) * blockSize + 1] = 0;

  // The reads run in one child with an alarm that writes each case's outcome
  // before the next begins: a hang or a crash names the case it happened in.
  const fs::path log = dir / "outcomes";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(120);
    std::ofstream out(log);
    for (const TDamage& d : damages) {
      std::string bytes = d.cut ? good.substr(0, d.cut) : good;
      if (!d.cut) bytes[d.at] = static_cast<char>(d.value);
      std::ofstream(dir / "bad.DB", std::ios::binary | std::ios::trunc) << bytes;
      char outcome = 'r';  // read; a byte no check can see (a text, a flag) may still read
      try {
        if (ReadParadoxTable(dir / "bad.DB", def).size() > 300) outcome = 'x';
      } catch (const EKvfError&) {
        outcome = 'f';
      }
      out << outcome << std::flush;
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  const std::string outcomes = ReadWholeFile(log);
  if (!WIFEXITED(status) && outcomes.size() < damages.size())
    ADD_FAILURE() << damages[outcomes.size()].what << ": ended by signal " << WTERMSIG(status);
  ASSERT_EQ(outcomes.size(), damages.size());
  int refused = 0;
  for (size_t i = 0; i < damages.size(); ++i) {
    EXPECT_NE(outcomes[i], 'x') << damages[i].what;
    refused += outcomes[i] == 'f' ? 1 : 0;
  }
  EXPECT_GT(refused, static_cast<int>(damages.size() / 2));
  for (const std::string& must : {cycle, good.substr(0, 58), good.substr(0, headerSize + blockSize)}) {
    WriteFileAtomic(dir / "bad.DB", must);
    EXPECT_THROW(ReadParadoxTable(dir / "bad.DB", def), EKvfError);
  }
}

}  // namespace
}  // namespace kvf
