// Order files: the current layout read back exactly, every older layout
// written here from its record tables, version checks and damaged files.
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/file_io.h"
#include "core/spec_stream.h"
#include "engine/furn_comp.h"
#include "engine/order.h"
#include "engine/order_format.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kvf {
namespace {

// An order with one two-sash position carrying a complement, items and materials.
void Fill(TkvfOrder& order) {
  order.FCreated1 = order.FCreated2 = 46000.25;
  order.FOrderNo = "А-17";
  order.FCustomer = "ООО «Окна»";
  order.FFalzType = 101;
  order.FDornType = 201;
  order.FMaterial = 1;
  order.FNDSTax = 20;
  order.FCurrencyRates = {{1, 1.0f}, {2, 95.5f}};
  order.FCurrencyID = 1;
  order.FNote = {"первая строка", "вторая"};
  auto p = order.NewPosition();
  p->FPosNo = "A01";
  p->FName = "Окно";
  p->FNumber = 2;
  p->FSashLayout = 0;
  p->FProfWidth = 70.5f;
  p->FPrice = TMoney::FromRaw(123456789);
  p->BuildOutlines({1400, 1400, 2, 700, 700}, 202);
  p->FFlugel1->FSides[2].FHandled = true;
  p->FFlugel1->FSides[2].SetHandle(620, 1);
  auto& comp = *(p->FFlugel1->FComplement = std::make_unique<TkvfFurnComp>(p->FFlugel1.get()));
  comp.FComplect = "DK-L";
  comp.FProperties = {"0=21"};
  comp.Items.push_back({"KV-1", 1250.5f, 3, "история", "заметка", 3, 0, 0, 0, "DK-L"});
  p->FFlugel1->FMatList.push_back({"KV-1", 3.75f, TMoney::FromRaw(100000), 0, {}, TMoney::FromRaw(100000),
                                   TMoney::FromRaw(375000)});
  order.Positions.push_back(std::move(p));
}

TEST(OrderFile, ReadsBackExactlyAndStartsWithHeaderAndLabel) {
  TkvfOrder order;
  Fill(order);
  TSpecStream out;
  order.SaveToStream(out);
  EXPECT_EQ(out.Bytes().substr(0, 4), std::string("\x1C\x00\x00\x00", 4));
  EXPECT_EQ(out.Bytes().substr(4, 28), "Korvane Furniture Order File");
  EXPECT_EQ(out.Bytes().substr(32, 14), std::string("\x0A\x00\x00\x00", 4) + "26.12.2019");

  TkvfOrder back;
  out.Seek(0);
  bool converted = true;
  back.LoadFromStream(out, converted);
  EXPECT_FALSE(converted);
  EXPECT_EQ(out.Remaining(), 0u);
  EXPECT_EQ(back.FMaterial, 0);  // not part of the record
  TSpecStream again;
  back.SaveToStream(again);
  EXPECT_EQ(again.Bytes(), out.Bytes());
  const TkvfConstruction& p = *back.Positions[0];
  EXPECT_EQ(p.FFlugel1->FSides[2].FHandleHeight, 620);
  EXPECT_EQ(p.FFlugel1->FSides[2].GetLength(), 1400);  // sides are linked again
  EXPECT_EQ(p.FFlugel1->FComplement->Items[0].FLength, 1250.5f);
  EXPECT_FALSE(p.FFlugel2->FComplement);
  EXPECT_EQ(p.FFlugel2->FDornType, 202);
}

// The order of `Fill` in the layout of an older label.
std::string OlderFile(const std::string& v) {
  namespace f = order_format;
  const bool types = IsVersionNotOlder(v, f::kTypesVersion);
  const bool sashDorn = IsVersionNotOlder(v, f::kSashDornVersion);
  TSpecStream s;
  s.WriteStr("Korvane Furniture Order File");
  s.WriteStr(v);
  s.WriteInt(0);
  s.WriteInt(0);
  s.WriteDate(46000.25);
  s.WriteDate(46000.25);
  s.WriteInt(0);
  for (const char* t : {"А-17", "", "ООО «Окна»", "", "", "", ""}) s.WriteStr(t);
  s.WriteDate(46001);
  s.WriteBool(true);
  for (int i = 0; i < 6; ++i) s.WriteStr("");
  if (types) {
    for (int t : {101, 201, 301, 401}) s.WriteInt(t);
  } else {
    s.WriteStr("старый текст 1");
    s.WriteStr("старый текст 2");
  }
  s.WriteInt(0);
  s.WriteFloat(18);
  s.WriteBool(true);
  s.WriteBool(true);
  s.WriteInt(1);
  s.WriteInt(1);
  s.WriteFloat(1);
  s.WriteInt(1);
  s.WriteLines({});
  s.WriteInt(1);  // one position
  s.WriteBool(true);
  s.WriteStr("001");
  s.WriteStr("Окно");
  s.WriteInt(1);
  s.WriteByte(0);
  for (int i = 0; i < 3; ++i) s.WriteStr("");
  if (!types) {
    s.WriteStr("лишнее 1");
    s.WriteStr("лишнее 2");
  }
  s.WriteInt(101);
  if (!sashDorn) s.WriteInt(203);
  s.WriteInt(301);
  s.WriteFloat(70);
  s.WriteFloat(58);
  s.WriteInt(401);
  s.WriteMoney(TMoney::FromUnits(10));
  s.WriteLines({"примечание"});
  s.WriteByte(2);
  for (int sash = 0; sash < 2; ++sash) {
    const int n = sash == 0 ? 4 : 0;
    s.WriteInt(n);
    for (int i = 0; i < n; ++i) {
      s.WriteInt(i * 10);
      s.WriteInt(i * 20);
    }
    s.WriteInt(n);
    for (int i = 0; i < n; ++i) {
      for (int k = 0; k < 4; ++k) s.WriteFloat(0);
      s.WriteBool(false);
      s.WriteInt(-1);
      for (int k = 0; k < 3; ++k) s.WriteBool(false);
      for (int k = 0; k < 3; ++k) s.WriteInt(0);
    }
    if (sashDorn) s.WriteInt(204);
    s.WriteBool(sash == 0);
    if (sash == 0) {
      for (int i = 0; i < 6; ++i) s.WriteStr(i == 3 ? "DK-L" : "");
      s.WriteInt(0);
      s.WriteBool(false);
      for (int i = 0; i < 4; ++i) s.WriteStr("");
      for (int i = 0; i < 9; ++i) s.WriteInt(-1);
      s.WriteLines({});
      s.WriteLines({});
      s.WriteInt(1);
      s.WriteStr("KV-1");
      s.WriteFloat(0);
      s.WriteInt(2);
      if (IsVersionNotOlder(v, f::kHistoryVersion)) s.WriteStr("история");
      if (IsVersionNotOlder(v, f::kCommentVersion)) s.WriteStr("заметка");
      if (IsVersionNotOlder(v, f::kVersion)) {
        for (int i = 0; i < 4; ++i) s.WriteInt(i == 0 ? 3 : 0);
        s.WriteStr("DK-L");
      }
    }
    s.WriteInt(0);
  }
  return s.Bytes();
}

TEST(OrderFile, ReadsEveryOlderLayoutAfterTheConversionQuestion) {
  struct Case { const char* label; int falz; const char* legacy; int dorn; const char* history; const char* comment; };
  for (const Case& c : {Case{"01.06.2008", 0, "старый текст 1", 203, "", ""},
                        Case{"10.12.2009", 101, "", 203, "", ""},
                        Case{"06.10.2015", 101, "", 203, "история", ""},
                        Case{"03.03.2019", 101, "", 203, "история", "заметка"},
                        Case{"23.07.2019", 101, "", 204, "история", "заметка"}}) {
    SCOPED_TRACE(c.label);
    test::TScriptedUi ui;
    TSpecStream s(OlderFile(c.label));
    TkvfOrder order;
    bool converted = false;
    order.LoadFromStream(s, converted);
    EXPECT_TRUE(converted);
    EXPECT_EQ(s.Remaining(), 0u);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, std::string("Необходимо конвертировать файл заказа!\r\nЗагружаемая версия: ") + c.label +
                                    "\r\nТекущая версия: 26.12.2019");
    EXPECT_EQ(order.FVersion, c.label);
    EXPECT_EQ(order.FFalzType, c.falz);
    EXPECT_EQ(order.FLegacyText1, c.legacy);
    ASSERT_EQ(order.Count(), 1);
    const TkvfConstruction& p = *order.Positions[0];
    EXPECT_EQ(p.FStulpType, 301);
    EXPECT_EQ(p.FFlugel1->FDornType, c.dorn);
    EXPECT_EQ(p.FFlugel2->FDornType, c.dorn);
    const TkvfFurnItem& item = p.FFlugel1->FComplement->Items.at(0);
    EXPECT_EQ(item.FHistory, c.history);
    EXPECT_EQ(item.FComment, c.comment);
    EXPECT_EQ(item.FSideNo, 0);
    EXPECT_EQ(item.FParentComplect, "");
    TSpecStream current;
    order.SaveToStream(current);
    EXPECT_EQ(order.FVersion, "26.12.2019");  // a writer writes the current layout
  }
  TSpecStream same(OlderFile("26.12.2019"));
  TkvfOrder current;
  bool converted = true;
  current.LoadFromStream(same, converted);
  EXPECT_FALSE(converted);
  EXPECT_EQ(current.Positions[0]->FFlugel1->FComplement->Items[0].FSideNo, 3);
}

TEST(OrderFile, AStoppedReadIsAFailedLoad) {
  struct Case {
    const char* what;
    std::string bytes;
    int answer;  // to the conversion question
    const char* kind;
    const char* message;
  };
  std::string foreign = OlderFile("26.12.2019");
  foreign.replace(4, 28, "Korvane Furniture Selection");
  foreign[0] = 27;
  const Case cases[] = {
      {"refused conversion", OlderFile("23.07.2019"), 0, "confirm", "Необходимо конвертировать файл заказа!"},
      {"newer file", OlderFile("01.01.2030"), 1, "warning",
       "Вы пытаетесь открыть заказ, созданный более новой версией программы, чем текущая.\r\nДанный модуль "
       "технолога поддерживает файлы заказа\r\nверсии не старше: 26.12.2019!\r\nЗагружаемая версия: 01.01.2030"},
      {"foreign header", foreign, 1, "error", "Данный файл не является файлом заказа!"},
  };
  test::TTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TScriptedUi ui;
    ui.answers = {c.answer, c.answer};
    TSpecStream s(c.bytes);
    TkvfOrder order;
    bool converted = true;
    EXPECT_FALSE(order.LoadFromStream(s, converted));
    EXPECT_FALSE(converted);
    EXPECT_EQ(order.Count(), 0);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].kind, c.kind);
    EXPECT_EQ(ui.boxes[0].text.rfind(c.message, 0), 0u) << ui.boxes[0].text;
    WriteFileAtomic(dir / "a.kfo370", c.bytes);  // the file gives false and no second box
    TkvfOrder fromFile;
    EXPECT_FALSE(fromFile.LoadFromFile((dir / "a.kfo370").string(), converted));
    EXPECT_EQ(ui.boxes.size(), 2u);
  }
}

TEST(OrderFile, EveryTruncationAndDamageFailsTheLoad) {
  test::TScriptedUi ui;
  TkvfOrder order;
  Fill(order);
  TSpecStream whole;
  order.SaveToStream(whole);
  const std::string& bytes = whole.Bytes();
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    TSpecStream s(bytes.substr(0, cut));
    TkvfOrder damaged;
    bool converted = false;
    bool loaded = true;
    try {
      loaded = damaged.LoadFromStream(s, converted);
    } catch (const EKvfError&) {
      loaded = false;
    }
    if (loaded) ADD_FAILURE() << "an order cut at byte " << cut << " of " << bytes.size() << " loaded";
  }
  test::TTempDir dir;
  std::string huge = bytes;
  const size_t countAt = huge.find("KV-1") - 4 - 16;  // the item count before the first item
  huge[countAt + 8] = '\x7F';
  huge[countAt + 11] = '\x7F';
  WriteFileAtomic(dir / "c.kfo370", huge);
  TkvfOrder damaged;
  bool converted = false;
  EXPECT_FALSE(damaged.LoadFromFile((dir / "c.kfo370").string(), converted));
  EXPECT_EQ(ui.boxes.back().text.rfind("Ошибка загрузки заказа!\r\n(", 0), 0u);
  WriteFileAtomic(dir / "cut.kfo370", bytes.substr(0, bytes.size() - 3));
  EXPECT_FALSE(damaged.LoadFromFile((dir / "cut.kfo370").string(), converted));
  EXPECT_EQ(ui.boxes.back().text.rfind("Ошибка загрузки заказа!\r\n(Неожиданный конец потока", 0), 0u)
      << ui.boxes.back().text;
  EXPECT_FALSE(order.LoadFromFile((dir / "missing.kfo370").string(), converted));
  EXPECT_FALSE(order.LoadFromFile("", converted));
  EXPECT_FALSE(order.SaveToFile((dir / "no/such/dir/x.kfo370").string()));
  EXPECT_EQ(ui.boxes.back().text.rfind("Ошибка сохранения заказа!\r\n(", 0), 0u);
}

TEST(OrderFile, BackupsCopiesAndMaterialCopies) {
  TkvfOrder order;
  Fill(order);
  TkvfConstruction& p = *order.Positions[0];
  TSpecStream backup;
  p.SaveBackup(backup);
  p.FName = "изменено";
  p.FFlugel1->FComplement.reset();
  p.FNote = {"x", "y"};
  p.RestoreBackup(backup);
  EXPECT_EQ(p.FName, "Окно");
  ASSERT_TRUE(p.FFlugel1->FComplement);
  EXPECT_EQ(p.FFlugel1->FComplement->FFlugel, p.FFlugel1.get());
  EXPECT_TRUE(p.FNote.empty());
  TSpecStream broken(std::string("\x01\x02", 2));
  try {
    p.RestoreBackup(broken);
    FAIL();
  } catch (const EKvfError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Ошибка восстановления объекта из резервной копии!\r\n(", 0), 0u);
  }
  TkvfMatListItem copy;
  AssignMaterial(copy, order.Positions[0]->FFlugel1->FMatList[0]);
  EXPECT_EQ(copy.FCost.ToString(), "37.5000");
  EXPECT_EQ(copy.FNumber, 3.75f);
}

TEST(Order, TotalsSearchesAndSorting) {
  TkvfOrder order;
  for (const char* no : {"B02", "a01", "C03"}) {
    auto p = order.NewPosition();
    p->FPosNo = no;
    p->FName = std::string("Имя ") + no;
    p->FPrice = TMoney::FromUnits(250);
    p->FNumber = 2;
    order.Positions.push_back(std::move(p));
  }
  order.Positions[2]->FIncluded = false;
  EXPECT_EQ(order.GetTotal().ToString(), "1000.0000");
  order.FNDSTax = 18;
  EXPECT_EQ(order.GetNDS().ToString(), "180.0000");
  EXPECT_EQ(order.GetTotalWithNDS().ToString(), "1180.0000");
  order.FTotalNDS = false;
  EXPECT_EQ(order.GetNDS().ToString(), "0.0000");
  EXPECT_EQ(order.FindPosition("A01"), order.Positions[1].get());
  EXPECT_EQ(order.FindPosition("Z"), nullptr);
  EXPECT_EQ(order.IncludedCount(), 2);
  EXPECT_EQ(order.FirstIncluded()->FPosNo, "B02");
  EXPECT_EQ(order.NextIncluded()->FPosNo, "a01");
  EXPECT_EQ(order.NextIncluded(), nullptr);
  order.SortByPosNo();  // bytes: upper case before lower case
  EXPECT_EQ(order.Positions[0]->FPosNo, "B02");
  EXPECT_EQ(order.Positions[2]->FPosNo, "a01");
}

}  // namespace
}  // namespace kvf
