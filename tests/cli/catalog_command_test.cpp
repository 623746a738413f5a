#include <gtest/gtest.h>

#include <fstream>

#include "support/run_kvf.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

const std::string kMini = std::string(KVF_SOURCE_DIR) + "/tests/catalog/fixtures/mini";

TEST(KvfCatalog, BuildPrintsRowCountsAndCheckFindsNothingInAGoodCatalog) {
  test::TTempDir out;
  const auto build = test::RunKvf({"catalog", "build", kMini, out.str()});
  ASSERT_EQ(build.exitCode, 0) << build.err;
  EXPECT_NE(build.out.find("Catalog.DB            3"), std::string::npos) << build.out;
  const auto check = test::RunKvf({"catalog", "check", out.str()});
  EXPECT_EQ(check.exitCode, 0) << check.out;
  EXPECT_EQ(check.out, "");
}

TEST(KvfCatalog, BadInputFailsWithTheProblemAndCheckExitsOneOnBrokenReferences) {
  test::TTempDir in, out, csv;
  std::filesystem::copy(kMini, in.path());
  { std::ofstream(in / "FrnArt.csv") << "ID,CatalogID,Key\r\nE-DRIVE,NOPE,1\r\n"; }
  ASSERT_EQ(test::RunKvf({"catalog", "build", in.str(), out.str()}).exitCode, 0);
  const auto check = test::RunKvf({"catalog", "check", out.str()});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.out.find("'NOPE'"), std::string::npos);
  const auto exported = test::RunKvf({"catalog", "export", out.str(), csv.str()});
  EXPECT_EQ(exported.exitCode, 0);
  EXPECT_TRUE(std::filesystem::exists(csv / "FrnArt.csv"));

  { std::ofstream(in / "FrnArt.csv") << "ID,CatalogID,Key\r\nE-DRIVE,NOPE,x\r\n"; }
  const auto bad = test::RunKvf({"catalog", "build", in.str(), (out / "new").string()});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_NE(bad.err.find("FrnArt.csv:2: поле Key: 'x' не является целым числом"), std::string::npos) << bad.err;
  EXPECT_FALSE(std::filesystem::exists(out / "new" / "kvfcatalog.sqlite"));
  EXPECT_EQ(test::RunKvf({"catalog", "build", in.str()}).exitCode, 2);
  EXPECT_EQ(test::RunKvf({"catalog", "check", (out / "missing").string()}).exitCode, 1);
}

}  // namespace
}  // namespace kvf
