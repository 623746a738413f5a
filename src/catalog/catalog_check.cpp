#include "catalog/catalog_check.h"

#include <fmt/format.h>

#include "catalog/database.h"
#include "catalog/schema.h"
#include "core/error.h"

namespace kvf {
namespace {

struct TReference {
  const char* table;     // SQL name of the referring table
  const char* rowLabel;  // SQL expression naming the row
  const char* field;     // referring field
  const char* target;    // referred table
  const char* targetKey;
  const char* what;      // what the field names
};

// SQL that names a row of a table in a message.
constexpr const char* kSetKeyRow = "'комплект ' || IFNULL(ID,'') || ', Key ' || IFNULL(Key,'')";
constexpr const char* kArtKeyRow = "'элемент ' || IFNULL(ID,'') || ', Key ' || IFNULL(Key,'')";
constexpr const char* kKeyedArticleRow = "'артикул ' || IFNULL(CatalogID,'') || ', Key ' || IFNULL(Key,'')";
constexpr const char* kColouredArticleRow = "'артикул ' || IFNULL(CatalogID,'') || ', цвет ' || IFNULL(Color,'')";
constexpr const char* kCompositeRow = "'составной элемент ' || IFNULL(ID,'')";
constexpr const char* kSideRow = "'комплект ' || IFNULL(ID,'') || ', сторона ' || IFNULL(Side,'')";

constexpr TReference kReferences[] = {
    {"FrnSet", kSetKeyRow, "Item", "FrnItem", "ID", "элемент"},
    {"FrnArt", kArtKeyRow, "CatalogID", "Catalog", "ID", "артикул"},
    {"FrnArt", kArtKeyRow, "ID", "FrnItem", "ID", "элемент"},
    {"FrnSchl", kKeyedArticleRow, "CatalogID", "Catalog", "ID", "артикул"},
    {"FrnSchl", kKeyedArticleRow, "Item", "FrnItem", "ID", "элемент"},
    {"FrnDop", kKeyedArticleRow, "CatalogID", "Catalog", "ID", "артикул"},
    {"FrnDop", kKeyedArticleRow, "AccessoryID", "Catalog", "ID", "артикул"},
    {"FrnAbd", kColouredArticleRow, "CatalogID", "Catalog", "ID", "артикул"},
    {"FrnAbd", kColouredArticleRow, "AccessoryID", "Catalog", "ID", "артикул"},
    {"FrnItoI", kCompositeRow, "ID", "FrnItem", "ID", "элемент"},
    {"FrnItoI", kCompositeRow, "Item", "FrnItem", "ID", "элемент"},
    {"FrnSet", kSetKeyRow, "ID", "FrnComp", "ID", "комплект"},
    {"FrnSide", kSideRow, "ID", "FrnComp", "ID", "комплект"},
};

struct TRange {
  const char* table;
  const char* rowLabel;
  const char* min;
  const char* max;
  bool zeroMaxIsOpen = false;  // complect lines: a maximum of 0 sets no upper limit
};

constexpr const char* kSetRow = "'комплект ' || IFNULL(ID,'') || ', элемент ' || IFNULL(Item,'') || ', Key ' || IFNULL(Key,'')";
constexpr const char* kArtRow = "'элемент ' || IFNULL(ID,'') || ', артикул ' || IFNULL(CatalogID,'') || ', Key ' || IFNULL(Key,'')";

const TRange kRanges[] = {
    {"FrnSet", kSetRow, "FFBMin", "FFBMax", true},       {"FrnSet", kSetRow, "FFHMin", "FFHMax", true},
    {"FrnSet", kSetRow, "FFL1Min", "FFL1Max", true},     {"FrnSet", kSetRow, "FFL2Min", "FFL2Max", true},
    {"FrnSet", kSetRow, "FFL21Min", "FFL21Max", true},   {"FrnSet", kSetRow, "FFL22Min", "FFL22Max", true},
    {"FrnSet", kSetRow, "FFAMin", "FFAMax", true},       {"FrnSet", kSetRow, "FFR1Min", "FFR1Max", true},
    {"FrnSet", kSetRow, "FFR2Min", "FFR2Max", true},     {"FrnArt", kArtRow, "DornMassMin", "DornMassMax"},
    {"FrnArt", kArtRow, "HandleMin", "HandleMax"}, {"FrnArt", kArtRow, "WeightMin", "WeightMax"},
    {"FrnArt", kArtRow, "ThicknessMin", "ThicknessMax"}, {"FrnArt", kArtRow, "ProfWidthMin", "ProfWidthMax"},
    {"FrnArt", kArtRow, "FFBMin", "FFBMax"},       {"FrnArt", kArtRow, "FFHMin", "FFHMax"},
    {"FrnArt", kArtRow, "FFL1Min", "FFL1Max"},     {"FrnArt", kArtRow, "FFL2Min", "FFL2Max"},
    {"FrnArt", kArtRow, "FFAMin", "FFAMax"},       {"FrnArt", kArtRow, "FFR1Min", "FFR1Max"},
    {"FrnArt", kArtRow, "FFR2Min", "FFR2Max"},     {"FrnSide", kSideRow, "MinSize", "MaxSize"},
    {"FrnSide", kSideRow, "MinAngle", "MaxAngle"}, {"FrnSide", kSideRow, "MinRadius", "MaxRadius"},
};

}  // namespace

std::vector<std::string> CheckCatalog(const std::filesystem::path& catalogDir) {
  const std::filesystem::path file = catalogDir / DatabaseFileOfAlias("KMDB_Catalog");
  if (!std::filesystem::exists(file)) throw EKvfError(fmt::format("Каталог фурнитуры не найден: {}", file.string()));
  TDatabase db(file, false, true);
  std::vector<std::string> problems;
  auto fileOf = [](const char* sqlName) { return TableDef(sqlName).fileName; };
  for (const char* table : {"Catalog", "FrnComp", "FrnItem"}) {  // a catalog without these calculates nothing
    if (!db.TableExists(table)) {
      problems.push_back(fmt::format("{}: таблицы нет в каталоге", fileOf(table)));
      continue;
    }
    TStatement& count = db.Prepare(fmt::format("SELECT COUNT(*) FROM {}", QuoteIdent(table)));
    if (count.Step() && count.ColumnInt(0) == 0) problems.push_back(fmt::format("{}: таблица пуста", fileOf(table)));
  }

  for (const TReference& ref : kReferences) {
    const std::string sql =
        fmt::format("SELECT {label}, {field} FROM {table} r WHERE IFNULL({field}, '') = '' OR NOT EXISTS "
                    "(SELECT 1 FROM {target} t WHERE t.{key} = r.{field}) ORDER BY rowid",
                    fmt::arg("label", ref.rowLabel), fmt::arg("field", QuoteIdent(ref.field)),
                    fmt::arg("table", QuoteIdent(ref.table)), fmt::arg("target", QuoteIdent(ref.target)),
                    fmt::arg("key", QuoteIdent(ref.targetKey)));
    TStatement& s = db.Prepare(sql);
    while (s.Step()) {
      const std::string value = ValueAsString(s.Column(1));
      problems.push_back(value.empty()
                             ? fmt::format("{}: {}: пустое поле {} ({})", fileOf(ref.table), ValueAsString(s.Column(0)),
                                           ref.field, ref.what)
                             : fmt::format("{}: {}: поле {} называет {} '{}', которого нет в {}", fileOf(ref.table),
                                           ValueAsString(s.Column(0)), ref.field, ref.what, value, fileOf(ref.target)));
    }
  }

  TStatement& mains = db.Prepare(
      "SELECT ID, \"Group\" FROM FrnComp c WHERE \"Group\" BETWEEN 10 AND 12 AND NOT EXISTS "
      "(SELECT 1 FROM FrnSide s WHERE s.ID = c.ID) ORDER BY ID");
  while (mains.Step())
    problems.push_back(fmt::format("FrnComp.DB: комплект {} (группа {}): основной комплект без строк сторон в FrnSide.DB",
                                   ValueAsString(mains.Column(0)), ValueAsInteger(mains.Column(1))));

  for (const TRange& range : kRanges) {
    const std::string sql = fmt::format(
        "SELECT {label}, {min}, IFNULL({max}, 0) FROM {table} WHERE {min} IS NOT NULL AND {min} > IFNULL({max}, 0) "
        "{open} ORDER BY rowid",
        fmt::arg("label", range.rowLabel), fmt::arg("min", QuoteIdent(range.min)), fmt::arg("max", QuoteIdent(range.max)),
        fmt::arg("table", QuoteIdent(range.table)),
        fmt::arg("open", range.zeroMaxIsOpen ? fmt::format("AND IFNULL({}, 0) > 0", QuoteIdent(range.max)) : ""));
    TStatement& s = db.Prepare(sql);
    while (s.Step())
      problems.push_back(fmt::format("{}: {}: {} = {} больше {} = {}", fileOf(range.table), ValueAsString(s.Column(0)),
                                     range.min, ValueAsString(s.Column(1)), range.max, ValueAsString(s.Column(2))));
  }
  return problems;
}

}  // namespace kvf
