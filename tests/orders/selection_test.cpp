#include <gtest/gtest.h>

#include "core/configuration.h"
#include "core/error.h"
#include "core/setup.h"
#include "core/spec_stream.h"
#include "core/text_utils.h"
#include "engine/order.h"
#include "orders/order_json.h"
#include "orders/selection.h"
#include "support/catalog_fixture.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orders_ = (fx_.Dir() / "Orders").string();
    std::filesystem::create_directories(orders_);
    Config().OrdersDir = orders_;
  }
  void TearDown() override { Config().OrdersDir.clear(); }

  // Writes an order file with positions of the given numbers; each sash line
  // carries `pieces` of the article at a price of 1.
  void WriteOrder(const std::string& orderNo, const std::vector<std::string>& posNos, int pieces = 4) {
    TkvfOrder order;
    order.FOrderNo = orderNo;
    for (const std::string& no : posNos) {
      auto p = order.NewPosition();
      p->FPosNo = no;
      p->FName = "Окно " + no;
      p->FNumber = 2;
      p->BuildOutlines({700, 1400, 0}, 201);
      p->FFlugel1->FMatList.push_back({"ART", static_cast<float>(pieces), TMoney::FromUnits(1), 0, {},
                                       TMoney::FromUnits(1), TMoney::FromUnits(pieces)});
      order.Positions.push_back(std::move(p));
    }
    ASSERT_TRUE(order.SaveToFile(orders_ + "/" + orderNo + ".kfo370"));
  }
  TkvfOrderSelectionItem& Item(TkvfOrderSelection& s, const std::string& orderNo, const std::string& posNo) {
    TkvfOrderSelectionItem& i = s.AddItem();
    i.FOrderNo = orderNo;
    i.FPosNo = posNo;
    i.FOrderFile = PathToMacro(orders_, orders_ + "/" + orderNo + ".kfo370");
    return i;
  }

  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
  std::string orders_;
};

TEST_F(SelectionTest, FileRoundTripHeaderAndVersions) {
  TkvfOrderSelection s;
  s.FSelectionNo = "В-1";
  s.FCurrencyRates = {{1, 1.0f}};
  s.FRoundMode = 1;
  Item(s, "A1", "001").FWidth = 700.5f;
  TSpecStream out;
  s.SaveToStream(out);
  EXPECT_EQ(out.Bytes().substr(4, 32), "Korvane Furniture Selection File");
  EXPECT_EQ(out.Bytes().substr(40, 10), "06.10.2015");
  out.Seek(0);
  TkvfOrderSelection back;
  bool converted = true;
  back.LoadFromStream(out, converted);
  EXPECT_FALSE(converted);
  EXPECT_EQ(SelectionToJson(back).dump(), SelectionToJson(s).dump());
  EXPECT_EQ(back.FindItem("a1", "001"), 0);
  EXPECT_EQ(back.FindItem("a1", "002"), -1);

  // an older label converts (the layout is the same); a newer one is refused
  std::string older = out.Bytes();
  older.replace(40, 10, "01.01.2014");
  TSpecStream olderStream(older);
  TkvfOrderSelection converted2;
  converted2.LoadFromStream(olderStream, converted);
  EXPECT_TRUE(converted);
  EXPECT_EQ(converted2.Count(), 1);
  std::string newer = out.Bytes();
  newer.replace(40, 10, "01.01.2030");
  TSpecStream newerStream(newer);
  TkvfOrderSelection refused;
  EXPECT_FALSE(refused.LoadFromStream(newerStream, converted));
  EXPECT_EQ(refused.Count(), 0);
  EXPECT_EQ(ui_.boxes.back().kind, "warning");

  // every truncation of the file is a failed load
  const std::string& bytes = out.Bytes();
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    TSpecStream cutStream(bytes.substr(0, cut));
    TkvfOrderSelection damaged;
    bool loaded = true;
    try {
      loaded = damaged.LoadFromStream(cutStream, converted);
    } catch (const EKvfError&) {
      loaded = false;
    }
    if (loaded) ADD_FAILURE() << "a selection cut at byte " << cut << " loaded";
  }
}

TEST_F(SelectionTest, AnOrderFileIsNoSelection) {
  WriteOrder("A1", {"001"});
  TkvfOrderSelection s;
  Item(s, "X", "1");
  bool converted = false;
  EXPECT_FALSE(s.LoadFromFile(orders_ + "/A1.kfo370", converted));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, "Данный файл не является файлом Dalnor Stemwick!");
  EXPECT_EQ(s.Count(), 1);  // the previous content stays
}

TEST_F(SelectionTest, OrderListMaterialsAndRefreshReachIntoTheOrderFiles) {
  WriteOrder("A", {"001", "002"});
  WriteOrder("B", {"001"}, 10);
  TkvfOrderSelection s;
  Item(s, "A", "001");
  Item(s, "B", "001");
  Item(s, "A", "002");
  Item(s, "C", "001");  // its order file does not exist
  EXPECT_EQ(s.GetOrderList(), "A,B,A");
  s.SortByOrder();
  EXPECT_EQ(s.GetOrderList(), "A,B");

  fx_.Insert("Catalog.DB", {{"ID", std::string("ART")}, {"Price", 3.0}, {"Currency", int64_t{1}}});
  fx_.OpenDM();
  s.FCurrencyRates = {{1, 1.0f}};
  kvf::Setup().CurrentRates = &s.FCurrencyRates;
  kvf::Setup().CurrentCurrency = 1;
  TkvfMatList list;
  s.CollectMaterials(list);
  kvf::Setup().CurrentRates = nullptr;
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].FNumber, 36.0f);  // (4 + 4 + 10) pieces x 2
  EXPECT_EQ(list[0].FPrice.ToString(), "3.0000");  // priced anew from the catalog
  EXPECT_EQ(list[0].FCost.ToString(), "108.0000");

  s.RefreshItems(false);
  EXPECT_EQ(s.Items[0]->FName, "Окно 001");
  EXPECT_EQ(s.Items[0]->FWidth, 700.0f);
  EXPECT_EQ(s.Items[0]->FHeight, 1400.0f);
  EXPECT_EQ(s.Items[0]->FNumber, 2);
  s.Items[1]->FPosNo = "009";  // renumbered: the item is left as it was
  s.Items[1]->FName = "старое";
  s.RefreshItems(true);
  EXPECT_EQ(s.Items[1]->FName, "старое");
}

}  // namespace
}  // namespace kvf
