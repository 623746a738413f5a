#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "core/error.h"
#include "core/spec_stream.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

std::string Hex(const std::string& bytes) {
  std::string out;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", c);
    out += buf;
  }
  return out;
}

TEST(SpecStream, EncodesEveryValueKindExactly) {
  struct Case {
    const char* name;
    void (*write)(TSpecStream&);
    const char* hex;
  };
  const Case cases[] = {
      {"empty Str", [](TSpecStream& s) { s.WriteStr(""); }, "00000000"},
      {"Str", [](TSpecStream& s) { s.WriteStr("Яa"); }, "02000000DF61"},
      {"Int 5", [](TSpecStream& s) { s.WriteInt(5); }, "0300000000000000" "0500000000000000"},
      {"Int -1", [](TSpecStream& s) { s.WriteInt(-1); }, "0300000000000000" "FFFFFFFF00000000"},
      {"Bool true", [](TSpecStream& s) { s.WriteBool(true); }, "0B00000000000000" "FFFF000000000000"},
      {"Bool false", [](TSpecStream& s) { s.WriteBool(false); }, "0B00000000000000" "0000000000000000"},
      {"Byte 200", [](TSpecStream& s) { s.WriteByte(200); }, "1100000000000000" "C800000000000000"},
      {"Float 1.5", [](TSpecStream& s) { s.WriteFloat(1.5); }, "0500000000000000" "000000000000F83F"},
      {"Date 2.0", [](TSpecStream& s) { s.WriteDate(2.0); }, "0700000000000000" "0000000000000040"},
      {"Money 12.5", [](TSpecStream& s) { s.WriteMoney(TMoney::FromRaw(125000)); },
       "0600000000000000" "48E8010000000000"},
      {"Lines a b", [](TSpecStream& s) { s.WriteLines({"a", "b"}); }, "06000000610D0A620D0A"},
      {"Lines empty", [](TSpecStream& s) { s.WriteLines({}); }, "00000000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSpecStream s;
    c.write(s);
    EXPECT_EQ(Hex(s.Bytes()), c.hex);
  }
}

TEST(SpecStream, ReadsBackWhatItWrote) {
  TSpecStream s;
  s.WriteStr("Фурнитура");
  s.WriteInt(-70000);
  s.WriteByte(7);
  s.WriteBool(true);
  s.WriteFloat(0.1f);
  s.WriteDate(43825.5);
  s.WriteMoney(TMoney::FromRaw(-30000));
  s.WriteLines({"one", "", "three"});
  s.Seek(0);
  EXPECT_EQ(s.ReadStr(), "Фурнитура");
  EXPECT_EQ(s.ReadInt(), -70000);
  EXPECT_EQ(s.ReadByte(), 7);
  EXPECT_TRUE(s.ReadBool());
  EXPECT_EQ(s.ReadSingle(), 0.1f);
  EXPECT_EQ(s.ReadDate(), 43825.5);
  EXPECT_EQ(s.ReadMoney().ToString(), "-3.0000");
  EXPECT_EQ(s.ReadLines(), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(s.Remaining(), 0u);
}

TEST(SpecStream, ConvertsBetweenNumericCodes) {
  TSpecStream s;
  s.WriteFloat(2.5);   // into Int: rounds half to even
  s.WriteFloat(3.5);
  s.WriteBool(true);   // into Int: -1
  s.WriteInt(3);       // into Bool: true
  s.WriteInt(0);       // into Bool: false
  s.WriteInt(42);      // into Money
  s.WriteMoney(TMoney::FromRaw(15000));  // into Float
  s.WriteInt(300);     // into Byte: out of range
  s.Seek(0);
  EXPECT_EQ(s.ReadInt(), 2);
  EXPECT_EQ(s.ReadInt(), 4);
  EXPECT_EQ(s.ReadInt(), -1);
  EXPECT_TRUE(s.ReadBool());
  EXPECT_FALSE(s.ReadBool());
  EXPECT_EQ(s.ReadMoney().ToString(), "42.0000");
  EXPECT_EQ(s.ReadFloat(), 1.5);
  EXPECT_THROW(s.ReadByte(), EKvfError);
}

TEST(SpecStream, SplitsLinesAtEveryKindOfBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(SpecStream, EveryReadPastTheEndOrOfDamagedBytesFails) {
  test::TScriptedUi ui;
  struct Case {
    const char* what;
    std::string bytes;
    TValueKind kind;
    const char* message;  // the start of the error text
  };
  const std::string badCode = [] { std::string b(16, '\0'); b[0] = 99; return b; }();
  const Case cases[] = {
      {"empty stream, a block", "", TValueKind::Int, "Неожиданный конец потока"},
      {"block cut after its code", std::string("\x03\x00", 2), TValueKind::Int, "Неожиданный конец потока"},
      {"block cut inside its value", std::string("\x07\0\0\0\0\0\0\0\x01\x02", 10), TValueKind::Date,
       "Неожиданный конец потока"},
      {"bool cut", std::string("\x0B\0", 2), TValueKind::Bool, "Неожиданный конец потока"},
      {"empty stream, a string", "", TValueKind::Str, "Неожиданный конец потока"},
      {"stream ends inside the length", std::string("\x05\x00", 2), TValueKind::Str, "Неожиданный конец потока"},
      {"negative length", std::string("\xFF\xFF\xFF\xFF" "abc", 7), TValueKind::Str, "Неверная длина строки"},
      {"text cut short", std::string("\xFF\xFF\xFF\x7F" "ab", 6), TValueKind::Str,
       "Ошибка чтения строки из потока!\r\nЗаказано: [2147483647 символов], Считано: [2 символов]!"},
      {"unknown type code", badCode, TValueKind::Int, "Неверный тип значения в потоке: 99"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TSpecStream s(c.bytes);
    try {
      s.ReadValue(c.kind);
      ADD_FAILURE() << "read succeeded";
    } catch (const EKvfError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
  EXPECT_TRUE(ui.boxes.empty());  // a failed read is an error for the caller, not a box
  TSpecStream s(std::string("\x03\x00\x00\x00" "a\0b", 7));  // a zero byte inside a stored string cuts it
  EXPECT_EQ(s.ReadStr(), "a");
}

TEST(VersionLabels, CompareByKeyNotByCalendar) {
  EXPECT_EQ(VersionKey("31.12.2008"), 733323);
  EXPECT_EQ(VersionKey("10.12.2009"), 733667);
  struct Case { const char* a; const char* b; bool older; };
  for (const Case& c : {Case{"31.12.2008", "10.12.2009", true},
                        Case{"01.01.2010", "31.12.2009", true},   // key, not calendar
                        Case{"01.01.2009", "31.12.2008", true},
                        Case{"1.1.2010", "01.01.2010", false},    // equal keys
                        Case{" 26 .12.2019", "23.07.2019", false},
                        Case{"26.12.2019", "26.12.2019", false}}) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(IsVersionOlder(c.a, c.b), c.older);
    EXPECT_EQ(IsVersionNotOlder(c.a, c.b), !c.older);
  }
  for (const char* bad : {"", "10.12", "xx.12.2009", "10.12.", "10..2009"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(IsVersionOlder(bad, "10.12.2009"), EKvfError);
  }
}

TEST(SpecStream, FileCopiesAreWholeAndReplaceAtomically) {
  const auto dir = std::filesystem::temp_directory_path() / "kvf_stream_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  TSpecStream out;
  out.WriteStr("Заказ");
  out.SaveToFile(dir / "a.kfo370");
  out.WriteInt(1);
  out.SaveToFile(dir / "a.kfo370");
  TSpecStream in;
  in.LoadFromFile(dir / "a.kfo370");
  EXPECT_EQ(in.Bytes(), out.Bytes());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary left
  EXPECT_THROW(in.LoadFromFile(dir / "missing.kfo370"), EKvfError);
  EXPECT_THROW(out.SaveToFile(dir / "no" / "such" / "x.kfo370"), EKvfError);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kvf
