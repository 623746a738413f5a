#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "catalog/catalog_check.h"
#include "catalog/catalog_files.h"
#include "catalog/dm.h"
#include "catalog/lookups.h"
#include "catalog/paradox_import.h"
#include "core/cp1251.h"
#include "core/datetime.h"
#include "core/error.h"
#include "core/file_io.h"
#include "support/comma_locale.h"
#include "support/file_size_limit.h"
#include "support/paradox_writer.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kvf {
namespace fs = std::filesystem;
namespace {

const fs::path kMini = fs::path(KVF_SOURCE_DIR) / "tests/catalog/fixtures/mini";

void CopyDir(const fs::path& from, const fs::path& to) {
  fs::create_directories(to);
  for (const auto& e : fs::directory_iterator(from)) fs::copy_file(e.path(), to / e.path().filename());
}

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

TEST(CatalogBuild, BuildsEveryTableAndTheDataModuleReadsIt) {
  test::TTempDir out;
  std::vector<std::string> warnings;
  const auto counts = BuildCatalogFromCsv(kMini, out.path(), &warnings);
  ASSERT_EQ(counts.size(), 20u);  // ParamList.DB serves four objects
  const auto catalog = std::find_if(counts.begin(), counts.end(), [](const TTableCount& c) { return c.table == "Catalog.DB"; });
  ASSERT_NE(catalog, counts.end());
  EXPECT_EQ(catalog->rows, 3);
  EXPECT_FALSE(warnings.empty());  // tables without a CSV file are empty
  test::TScriptedUi ui;
  TDM dm;
  dm.ConnectDatabase("KMDB_Catalog", out.path());
  EXPECT_EQ(dm.OpenTables(), 23);
  SetDM(&dm);
  EXPECT_EQ(GetArticleName("FA-300", false), "Петля \"верхняя\"");
  EXPECT_EQ(GetArticleName("FA-100", false), "Привод поворотно-откидной, 700 мм");
  ASSERT_TRUE(dm.T_FrnSet.Locate({"Item"}, {std::string("E-HINGE")}));
  EXPECT_EQ(dm.T_FrnSet.AsInteger("Key"), 2);  // blank auto-increment numbered after the highest
  EXPECT_TRUE(dm.T_FrnSet.IsNull("FFBMin"));
  EXPECT_EQ(dm.T_FrnSet.AsString("ItemLookup"), "Петля");
  SetDM(nullptr);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST(CatalogBuild, BadValuesAreReportedWithFileLineAndFieldAndNothingIsWritten) {
  test::TTempDir in, out;
  CopyDir(kMini, in.path());
  Write(in / "Catalog.csv",
        "ID,Group,Name,Price,Unit\r\n"
        "OK-1,1,Хорошо,1.5,шт\r\n"
        "BAD-1,x,Плохо,1,шт\r\n"
        "BAD-2,70000,Плохо,abc,шт\r\n"
        "BAD-3,1,Плохо,1.23456,штуки-штуки\r\n"
        "BAD-4,1,Плохо,1e20,шт\r\n");
  Write(in / "FrnItem.csv", "ID,Name,Nonsense\r\nE1,Элемент,1\r\n");
  const std::string existing = "old catalog";
  Write(out / "kvfcatalog.sqlite", existing);
  try {
    BuildCatalogFromCsv(in.path(), out.path());
    FAIL() << "built";
  } catch (const EKvfError& e) {
    const std::string text = e.what();
    for (const char* expected : {"Catalog.csv:3: поле Group: 'x' не является целым числом",
                                 "Catalog.csv:4: поле Group: 70000 вне диапазона -32768..32767",
                                 "Catalog.csv:4: поле Price: 'abc' не является числом",
                                 "Catalog.csv:5: поле Price: больше 4 знаков после запятой",
                                 "Catalog.csv:5: поле Unit: текст длиннее 10 символов (11)",
                                 "Catalog.csv:6: поле Price: 1e20 вне допустимого диапазона",
                                 "FrnItem.csv:1: поле 'Nonsense' отсутствует в таблице FrnItem.DB"})
      EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_EQ(ReadWholeFile(out / "kvfcatalog.sqlite"), existing);
  EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 1);
}

TEST(CatalogBuild, ARepeatedKeyIsABadRowToo) {
  test::TTempDir in, out;
  CopyDir(kMini, in.path());
  Write(in / "FrnComp.csv", "ID,Name\r\nK1,a\r\nK2,b\r\nK1,c\r\n");
  try {
    BuildCatalogFromCsv(in.path(), out.path());
    FAIL();
  } catch (const EKvfError& e) {
    EXPECT_NE(std::string(e.what()).find("FrnComp.csv:4: повторяется ключ (K1) таблицы FrnComp.DB"), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(fs::exists(out / "kvfcatalog.sqlite"));
}

TEST(CatalogExport, ExportThenBuildGivesTheSameTables) {
  test::TTempDir first, csv, second, csv2;
  BuildCatalogFromCsv(kMini, first.path());
  ExportCatalogToCsv(first.path(), csv.path());
  BuildCatalogFromCsv(csv.path(), second.path());
  ExportCatalogToCsv(second.path(), csv2.path());
  for (const auto& e : fs::directory_iterator(csv.path())) {
    SCOPED_TRACE(e.path().filename().string());
    EXPECT_EQ(ReadWholeFile(e.path()), ReadWholeFile(csv2 / e.path().filename().string()));
  }
  const std::string catalog = ReadWholeFile(csv / "Catalog.csv");
  EXPECT_NE(catalog.find("FA-300,2,,,,PA-300,,,1,,\"Петля \"\"верхняя\"\"\""), std::string::npos) << catalog;
}

TEST(CatalogCheck, NamesTableRowAndProblem) {
  test::TTempDir in, out;
  CopyDir(kMini, in.path());
  Write(in / "FrnSet.csv", "ID,Item,Key,FFBMin,FFBMax\r\nK-TT,E-DRIVE,1,90,40\r\nK-TT,E-GONE,2,,\r\n");
  Write(in / "FrnArt.csv", "ID,CatalogID,Key\r\nE-DRIVE,FA-999,1\r\n");
  Write(in / "FrnDop.csv", "CatalogID,AccessoryID,Key\r\nFA-100,FA-404,1\r\n");
  Write(in / "FrnComp.csv", "ID,Group,Name\r\nK-TT,10,a\r\nK-ARCH,11,b\r\n");
  BuildCatalogFromCsv(in.path(), out.path());
  const std::vector<std::string> problems = CheckCatalog(out.path());
  const std::vector<std::string> expected = {
      "FrnSet.DB: комплект K-TT, Key 2: поле Item называет элемент 'E-GONE', которого нет в FrnItem.DB",
      "FrnArt.DB: элемент E-DRIVE, Key 1: поле CatalogID называет артикул 'FA-999', которого нет в Catalog.DB",
      "FrnDop.DB: артикул FA-100, Key 1: поле AccessoryID называет артикул 'FA-404', которого нет в Catalog.DB",
      "FrnComp.DB: комплект K-ARCH (группа 11): основной комплект без строк сторон в FrnSide.DB",
      "FrnSet.DB: комплект K-TT, элемент E-DRIVE, Key 1: FFBMin = 90 больше FFBMax = 40",
  };
  EXPECT_EQ(problems, expected);
  test::TTempDir clean;
  BuildCatalogFromCsv(kMini, clean.path());
  EXPECT_TRUE(CheckCatalog(clean.path()).empty());
}

TEST(ParadoxImport, ReadsTextNumbersMoneyDatesAndMatchesNamesWithoutCase) {
  test::TTempDir src, out;
  {
    test::TParadoxWriter w(src / "CATALOG.DB", {{const_cast<char*>("ID"), pxfAlpha, 30, 0},
                                          {const_cast<char*>("Name"), pxfAlpha, 100, 0},
                                          {const_cast<char*>("Price"), pxfCurrency, 8, 0},
                                          {const_cast<char*>("Currency"), pxfShort, 2, 0},
                                          {const_cast<char*>("MinTrade"), pxfBCD, 17, 2},
                                          {const_cast<char*>("Virtual"), pxfShort, 2, 0}});
    auto r = w.NewRecord();
    std::string id = "FA-1", name = Utf8ToCp1251("Привод");
    PX_put_data_alpha(w.doc_, w.Field(r, 0), 30, id.data());
    PX_put_data_alpha(w.doc_, w.Field(r, 1), 100, name.data());
    PX_put_data_double(w.doc_, w.Field(r, 2), 8, 12.5);
    PX_put_data_short(w.doc_, w.Field(r, 3), 2, 2);
    char bcd[] = "2.50";
    PX_put_data_bcd(w.doc_, w.Field(r, 4), 2, bcd);
    PX_put_data_short(w.doc_, w.Field(r, 5), 0, 0);  // blank
    w.Put(r);
  }
  {
    test::TParadoxWriter w(src / "frnitem.db", {{const_cast<char*>("ID"), pxfAlpha, 30, 0},
                                          {const_cast<char*>("Name"), pxfAlpha, 70, 0},
                                          {const_cast<char*>("HasColor"), pxfShort, 2, 0}});
    for (int i = 1; i <= 3; ++i) {
      auto r = w.NewRecord();
      std::string id = "E" + std::to_string(i), name = Utf8ToCp1251("Элемент " + std::to_string(i));
      PX_put_data_alpha(w.doc_, w.Field(r, 0), 30, id.data());
      PX_put_data_alpha(w.doc_, w.Field(r, 1), 70, name.data());
      PX_put_data_short(w.doc_, w.Field(r, 2), 2, static_cast<short>(i % 2));
      w.Put(r);
    }
  }
  Write(src / "FrnSet.DB", "this is not a paradox table");
  const TImportResult result = ImportParadoxCatalog(src.path(), out.path(), true);
  auto count = [&](const char* table) {
    for (const TTableCount& c : result.imported)
      if (c.table == table) return c.rows;
    return -1;
  };
  EXPECT_EQ(count("Catalog.DB"), 1);
  EXPECT_EQ(count("FrnItem.DB"), 3);
  EXPECT_EQ(count("FrnSet.DB"), -1);
  bool setReported = false;
  for (const std::string& f : result.failures) setReported = setReported || f.rfind("FrnSet.DB: ", 0) == 0;
  EXPECT_TRUE(setReported);

  test::TScriptedUi ui;
  TDM dm;
  dm.ConnectDatabase("KMDB_Catalog", out.path());
  dm.OpenTables();
  ASSERT_TRUE(dm.T_Catalog.FindKey({std::string("FA-1")}));
  EXPECT_EQ(dm.T_Catalog.AsString("Name"), "Привод");
  EXPECT_EQ(dm.T_Catalog.AsMoney("Price").ToString(), "12.5000");
  EXPECT_EQ(dm.T_Catalog.AsInteger("Currency"), 2);
  EXPECT_EQ(dm.T_Catalog.AsFloat("MinTrade"), 2.5);
  EXPECT_TRUE(dm.T_Catalog.IsNull("Virtual"));
  ASSERT_TRUE(dm.T_FrnItem.FindKey({std::string("E3")}));
  EXPECT_EQ(dm.T_FrnItem.AsString("Name"), "Элемент 3");
  EXPECT_EQ(dm.T_FrnItem.AsInteger("HasColor"), 1);

  {  // a registry table with a date and a logical
    test::TParadoxWriter w(src / "OrderLst.DB", {{const_cast<char*>("No"), pxfAlpha, 30, 0},
                                           {const_cast<char*>("RegDate"), pxfDate, 4, 0},
                                           {const_cast<char*>("Selected"), pxfLogical, 1, 0}});
    auto r = w.NewRecord();
    std::string no = "A-1";
    PX_put_data_alpha(w.doc_, w.Field(r, 0), 30, no.data());
    PX_put_data_long(w.doc_, w.Field(r, 1), 4, 737419);  // 26.12.2019 counted from 01.01.0001
    PX_put_data_byte(w.doc_, w.Field(r, 2), 1, 1);
    w.Put(r);
  }
  const auto rows = ReadParadoxTable(src / "OrderLst.DB", TableDef("OrderLst.DB"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(ValueAsString(rows[0][0]), "A-1");
  EXPECT_EQ(ValueAsFloat(rows[0][1]), EncodeDate(2019, 12, 26));
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

size_t Entries(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(CatalogBuild, AFolderWithoutArticlesNeverReplacesACatalog) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
  };
  const Case cases[] = {
      {"empty folder", [](const fs::path&) {}},
      {"no Catalog.csv", [](const fs::path& in) { CopyDir(kMini, in); fs::remove(in / "Catalog.csv"); }},
      {"empty Catalog.csv", [](const fs::path& in) { CopyDir(kMini, in); Write(in / "Catalog.csv", ""); }},
      {"header only", [](const fs::path& in) { CopyDir(kMini, in); Write(in / "Catalog.csv", "ID,Name\r\n"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TTempDir in, out, parent;
    fs::remove_all(in.path());
    fs::create_directories(in.path());
    c.make(in.path());
    Write(out / "kvfcatalog.sqlite", "the old catalog");
    try {
      BuildCatalogFromCsv(in.path(), out.path());
      ADD_FAILURE() << "built";
    } catch (const EKvfError& e) {
      EXPECT_NE(std::string(e.what()).find("Каталог не построен: в "), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("нет артикулов"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadWholeFile(out / "kvfcatalog.sqlite"), "the old catalog");
    EXPECT_EQ(Entries(out.path()), 1u);
    EXPECT_THROW(BuildCatalogFromCsv(in.path(), parent / "new" / "catalog"), EKvfError);
    EXPECT_EQ(Entries(parent.path()), 0u);  // no empty folder left behind
  }
}

TEST(CatalogBuild, ParallelBuildsTakeTurnsAndLeaveOneWholeCatalog) {
  test::TTempDir one, two, out;
  CopyDir(kMini, one.path());
  CopyDir(kMini, two.path());
  Write(two / "Catalog.csv", "ID,Name\r\nB-1,b\r\nB-2,b\r\n");
  Write(out / ".kvfcatalog.sqlite.0badc0de0badc0de.new", "left by a killed build");
  std::vector<pid_t> children;
  for (int i = 0; i < 8; ++i) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      int code = 0;
      try {
        BuildCatalogFromCsv(i % 2 ? one.path() : two.path(), out.path());
      } catch (const std::exception&) {
        code = 1;
      }
      ::_exit(code);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(Entries(out.path()), 1u);  // the catalog alone: no temporary of ours or of the killed build
  test::TScriptedUi ui;
  TDM dm;
  dm.ConnectDatabase("KMDB_Catalog", out.path());
  dm.OpenTables();
  const int articles = dm.T_Catalog.RecordCount();
  EXPECT_TRUE(articles == 3 || articles == 2) << articles;
}

TEST(CatalogBuild, ABuildOverTheFileSizeLimitFailsAndLeavesNothing) {
  test::TTempDir out;
  Write(out / "kvfcatalog.sqlite", "the old catalog");
  std::string message;
  EXPECT_EQ(test::WriteUnderFileSizeLimit(4096, [&] { BuildCatalogFromCsv(kMini, out.path()); }, &message),
            test::TLimitedWrite::Refused);
  EXPECT_EQ(message.rfind("Не удается записать " + (out / "kvfcatalog.sqlite").string(), 0), 0u) << message;
  EXPECT_EQ(ReadWholeFile(out / "kvfcatalog.sqlite"), "the old catalog");
  EXPECT_EQ(Entries(out.path()), 1u);
}

TEST(CatalogExport, AFailedExportLeavesTheOldFolderAsItWas) {
  test::TTempDir catalog, parent;
  BuildCatalogFromCsv(kMini, catalog.path());
  const fs::path csv = parent / "csv";
  fs::create_directories(csv);
  Write(csv / "Catalog.csv", "old");
  Write(csv / "README.txt", "the user's notes");
  // a file-size limit stops the export in the middle
  EXPECT_EQ(test::WriteUnderFileSizeLimit(200, [&] { ExportCatalogToCsv(catalog.path(), csv); }),
            test::TLimitedWrite::Refused);
  EXPECT_EQ(ReadWholeFile(csv / "Catalog.csv"), "old");
  EXPECT_EQ(Entries(csv), 2u);
  EXPECT_EQ(Entries(parent.path()), 1u);  // no half-written folder beside it

  ExportCatalogToCsv(catalog.path(), csv);  // a whole export replaces the tables and keeps the notes
  EXPECT_NE(ReadWholeFile(csv / "Catalog.csv"), "old");
  EXPECT_EQ(ReadWholeFile(csv / "README.txt"), "the user's notes");
  EXPECT_EQ(Entries(parent.path()), 1u);
}

}  // namespace
}  // namespace kvf

namespace kvf {
namespace {

TEST(CatalogBuild, NumbersReadTheSameUnderACommaLocale) {
  test::TCommaLocale locale;
  ASSERT_TRUE(locale.Active());
  test::TTempDir out, src, imported;
  BuildCatalogFromCsv(kMini, out.path());
  {
    test::TParadoxWriter w(src / "Catalog.DB", {{const_cast<char*>("ID"), pxfAlpha, 30, 0},
                                               {const_cast<char*>("MinTrade"), pxfBCD, 17, 2}});
    auto r = w.NewRecord();
    std::string id = "BCD-1";
    PX_put_data_alpha(w.doc_, w.Field(r, 0), 30, id.data());
    char bcd[] = "2.50";
    PX_put_data_bcd(w.doc_, w.Field(r, 1), 2, bcd);
    w.Put(r);
  }
  ImportParadoxCatalog(src.path(), imported.path(), true);
  test::TScriptedUi ui;
  TDM dm;
  dm.ConnectDatabase("KMDB_Catalog", out.path());
  dm.OpenTables();
  ASSERT_TRUE(dm.T_Catalog.FindKey({std::string("FA-100")}));
  EXPECT_EQ(dm.T_Catalog.AsMoney("Price").ToString(), "12.5000");  // "12.5" in Catalog.csv
  ASSERT_TRUE(dm.T_Currency.Locate({"ID"}, {int64_t{2}}));
  dm.T_Currency.Edit();
  dm.T_Currency.SetValue("Value", std::string("96.25"));  // text typed into a bound control
  dm.T_Currency.Post();
  EXPECT_EQ(dm.T_Currency.AsFloat("Value"), 96.25);
  TDM px;
  px.ConnectDatabase("KMDB_Catalog", imported.path());
  px.OpenTables();
  ASSERT_TRUE(px.T_Catalog.FindKey({std::string("BCD-1")}));
  EXPECT_EQ(px.T_Catalog.AsFloat("MinTrade"), 2.5);
}

}  // namespace
}  // namespace kvf
