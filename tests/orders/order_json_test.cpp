// The order JSON under a process locale whose decimal separator is a comma:
// numbers are written and read the same as under the C locale.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/spec_stream.h"
#include "engine/furn_comp.h"
#include "engine/order.h"
#include "orders/order_json.h"
#include "support/comma_locale.h"

namespace kvf {
namespace {

std::string Bytes(TkvfOrder& order) {
  TSpecStream s;
  order.SaveToStream(s);
  return s.Bytes();
}

TEST(OrderJson, RoundTripsFractionsUnderACommaLocale) {
  TkvfOrder order;
  order.FCreated1 = order.FCreated2 = 46000.25;
  order.FNDSTax = 18.5f;
  order.FCurrencyRates = {{1, 1.0f}, {2, 95.5f}};
  auto p = order.NewPosition();
  p->FPosNo = "001";
  p->FProfWidth = 70.5f;
  p->FPrice = TMoney::FromRaw(123456789);
  p->BuildOutlines({700, 1400, 0}, 201);
  p->FFlugel1->FSides[0].FRadius = 1234.25f;
  auto& comp = *(p->FFlugel1->FComplement = std::make_unique<TkvfFurnComp>(p->FFlugel1.get()));
  comp.Items.push_back({"KV-1", 1250.5f, 3, "", "", 0, 0, 0, 0, ""});
  p->FFlugel1->FMatList.push_back({"KV-1", 3.75f, TMoney::FromRaw(100000), 0.125f, {}, TMoney::FromRaw(100000),
                                   TMoney::FromRaw(375000)});
  order.Positions.push_back(std::move(p));
  const std::string before = Bytes(order);

  test::TCommaLocale locale;
  ASSERT_TRUE(locale.Active());
  ASSERT_EQ(std::strtod("12.5", nullptr), 12.0);  // the C functions now read only "12,5"
  const std::string text = OrderToJson(order).dump();
  EXPECT_NE(text.find("\"FNDSTax\":18.5"), std::string::npos) << text;
  EXPECT_NE(text.find("\"FLength\":1250.5"), std::string::npos) << text;
  TkvfOrder back;
  OrderFromJson(ParseJsonText(text, "order.json"), back);
  EXPECT_EQ(Bytes(back), before);
  EXPECT_EQ(back.Positions.at(0)->FFlugel1->FMatList.at(0).FNumber, 3.75f);
}

}  // namespace
}  // namespace kvf
