#include <gtest/gtest.h>

#include <fstream>

#include "core/config_store.h"
#include "core/configuration.h"
#include "support/run_kvf.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

class KvfConfig : public ::testing::Test {
 protected:
  test::TRunResult Kvf(std::vector<std::string> args) {
    return test::RunKvf(args, {{"XDG_CONFIG_HOME", home_.str()}});
  }
  TConfigStore Store() { return TConfigStore(home_ / "korvane/registry.json"); }
  test::TTempDir home_;
};

TEST_F(KvfConfig, AddThenListShowsTheConfigurationAndTheValuesReadBackExactly) {
  const auto r = Kvf({"config", "add", "Demo", "--catalog", "/data/Каталог", "--server", "/data/srv",
                      "--report", "/data/rep", "--temp", "/var/tmp/kvf"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto list = Kvf({"config", "list"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out,
            "* Demo\n"
            "    KVFCatalogDir  /data/Каталог\n"
            "    KVFServerName  /data/srv\n"
            "    KVFReportDir   /data/rep\n"
            "    KVFTempDir     /var/tmp/kvf\n");
  // what the program's start-up reads
  const TConfigStore store = Store();
  const std::string key = std::string(kConfigListKey) + "\\Demo";
  EXPECT_EQ(store.ReadString(key, "KVFCatalogDir"), "/data/Каталог");
  EXPECT_EQ(store.ReadString(key, "KVFServerName"), "/data/srv");
  EXPECT_EQ(store.ReadString(key, "KVFReportDir"), "/data/rep");
  EXPECT_EQ(store.ReadString(key, "KVFTempDir"), "/var/tmp/kvf");
  EXPECT_EQ(store.ReadString(kConfigListKey, "DefaultConfig"), "Demo");
}

TEST_F(KvfConfig, DefaultRemoveAndRefusals) {
  ASSERT_EQ(Kvf({"config", "add", "A", "--catalog", "/a", "--server", "/s", "--report", "/r"}).exitCode, 0);
  ASSERT_EQ(Kvf({"config", "add", "B", "--catalog", "/b", "--server", "/s", "--report", "/r"}).exitCode, 0);
  EXPECT_EQ(Store().ReadString(kConfigListKey, "DefaultConfig"), "A");  // the first one stays default
  const auto again = Kvf({"config", "add", "A", "--catalog", "/x", "--server", "/s", "--report", "/r"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("уже существует"), std::string::npos);
  EXPECT_EQ(Store().ReadString(std::string(kConfigListKey) + "\\A", "KVFCatalogDir"), "/a");
  EXPECT_EQ(Kvf({"config", "add", "A", "--catalog", "/x", "--server", "/s", "--report", "/r", "--force"}).exitCode, 0);
  EXPECT_EQ(Store().ReadString(std::string(kConfigListKey) + "\\A", "KVFCatalogDir"), "/x");

  EXPECT_EQ(Kvf({"config", "default", "B"}).exitCode, 0);
  EXPECT_EQ(Store().ReadString(kConfigListKey, "DefaultConfig"), "B");
  EXPECT_EQ(Kvf({"config", "default", "Nope"}).exitCode, 1);
  EXPECT_EQ(Kvf({"config", "remove", "B"}).exitCode, 0);
  EXPECT_FALSE(Store().ValueExists(kConfigListKey, "DefaultConfig"));
  EXPECT_EQ(Store().GetKeyNames(kConfigListKey), (std::vector<std::string>{"A"}));
  EXPECT_EQ(Kvf({"config", "remove", "B"}).exitCode, 1);
}

TEST_F(KvfConfig, UsageErrorsExitTwo) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"config"}, {"config", "add", "X", "--catalog", "/c"}, {"config", "frobnicate"},
        {"config", "add", "X", "--catalog"}, {"nonsense"}, {"config", "list", "--bogus"}}) {
    SCOPED_TRACE(args.back());
    const auto r = Kvf(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Справка: kvf help"), std::string::npos) << r.err;
    for (const char* english : {"usage", "unknown", "needs", "option"})
      EXPECT_EQ(r.err.find(english), std::string::npos) << r.err;  // usage errors speak Russian too
  }
  const auto overview = Kvf({});
  EXPECT_EQ(overview.exitCode, 0);
  EXPECT_NE(overview.out.find("kvf help ТЕМА"), std::string::npos);
  for (const std::vector<std::string>& args : {std::vector<std::string>{"help", "config"}, {"config", "--help"},
                                               {"config", "add", "-h"}}) {
    const auto topic = Kvf(args);
    EXPECT_EQ(topic.exitCode, 0);
    EXPECT_NE(topic.out.find("kvf config add ИМЯ --catalog ПАПКА"), std::string::npos) << topic.out;
  }
  for (const char* topic : {"catalog", "calc", "order", "selection", "sketch"}) {
    SCOPED_TRACE(topic);
    EXPECT_EQ(Kvf({"help", topic}).exitCode, 0);
  }
  EXPECT_EQ(Kvf({"help", "nothing"}).exitCode, 2);
}

TEST_F(KvfConfig, ADamagedStoreFailsAndIsLeftAlone) {
  std::filesystem::create_directories(home_ / "korvane");
  { std::ofstream(home_ / "korvane/registry.json") << "{broken"; }
  const auto r = Kvf({"config", "add", "A", "--catalog", "/a", "--server", "/s", "--report", "/r"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("registry.json"), std::string::npos);
  EXPECT_EQ(test::Slurp(home_ / "korvane/registry.json"), "{broken");
}

}  // namespace
}  // namespace kvf
