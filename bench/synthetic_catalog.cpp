#include "synthetic_catalog.h"

#include <fmt/format.h>
#include <random>

#include "catalog/catalog_files.h"
#include "catalog/database.h"
#include "catalog/schema.h"
#include "catalog/schema_sql.h"

namespace kvf::bench {

std::string ElementCode(int i) { return fmt::format("EL-{:05}", i); }
std::string ArticleCode(int i) { return fmt::format("AR-{:06}", i); }
std::string ComplectCode(int i) { return fmt::format("KM-{:04}", i); }

void WriteSyntheticCatalog(const std::filesystem::path& dir, const TSyntheticSize& size) {
  std::mt19937 rng(20261211);
  const char* colors[] = {"WH", "BR", "SL", "GD"};
  WriteDatabaseAtomically(dir / DatabaseFileOfAlias("KMDB_Catalog"), [&](TDatabase& db) {
    for (const TTableDef& def : AllTableDefs())
      if (def.alias == "KMDB_Catalog") CreateTable(db, def);
    db.Exec("INSERT INTO Currency (ID, Name, Value, Dec) VALUES (1, 'RUB', 1, 2), (2, 'EUR', 95.5, 2)");
    db.Exec("INSERT INTO PriceGrp (GroupID, Name, Reduce_1) VALUES (1, 'Опт', -10)");
    db.Exec("INSERT INTO ParamList (ID, Name, FalzLuft, FalzSize, FalzPos, DornMass, OpenType) VALUES "
            "(101, '12/20-9', 12, 20, 9, NULL, NULL), (201, 'ДМ 15', NULL, NULL, NULL, 15, NULL), "
            "(401, 'Внутрь', NULL, NULL, NULL, NULL, 0)");
    for (const char* c : colors) db.Exec(fmt::format("INSERT INTO COLORSET (Color, Name) VALUES ('{}', '{}')", c, c));
    TStatement& art = db.Prepare(
        "INSERT INTO Catalog (ID, \"Group\", Name, Unit, Price, Currency, PriceGrp, ProdArticle, UseArticle) "
        "VALUES (?, ?, ?, 'шт', ?, 2, 1, ?, 1)");
    for (int i = 0; i < size.articles; ++i) {
      art.Reset();
      art.BindAll({ArticleCode(i), int64_t{i % 40}, fmt::format("Артикул номер {}", i), (i % 997) * 0.25 + 1,
                   fmt::format("P{:07}", i)});
      art.Step();
    }
    TStatement& item = db.Prepare("INSERT INTO FrnItem (ID, Name, HasColor, HasFalzLuft) VALUES (?, ?, 1, 1)");
    for (int i = 0; i < size.elements; ++i) {
      item.Reset();
      item.BindAll({ElementCode(i), fmt::format("Элемент {}", i)});
      item.Step();
    }
    TStatement& frnArt = db.Prepare(
        "INSERT INTO FrnArt (ID, CatalogID, Key, FFBMin, FFBMax, FalzLuft, Color, HandleHeight) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    const int perElement = size.articleRows / size.elements;
    for (int i = 0; i < size.articleRows; ++i) {
      const int element = i / perElement % size.elements;
      const int slot = i % perElement;
      const int ffb = 30 + (slot % 12) * 10;
      frnArt.Reset();
      frnArt.BindAll({ElementCode(element), ArticleCode(static_cast<int>(rng() % size.articles)), int64_t{i + 1},
                      int64_t{ffb}, int64_t{ffb + 9}, int64_t{slot / 12 % 2 == 0 ? 12 : 9},
                      std::string(colors[slot / 24 % 4]), int64_t{slot % 3 == 0 ? 1050 : 0}});
      frnArt.Step();
    }
    TStatement& comp = db.Prepare("INSERT INTO FrnComp (ID, \"Group\", Name, Image, Use) VALUES (?, ?, ?, 1, 1)");
    TStatement& set = db.Prepare(
        "INSERT INTO FrnSet (ID, Item, Key, Number, FFBMin, FFBMax, Condition, Required) VALUES (?, ?, ?, 1, 30, 150, 1, 0)");
    TStatement& side = db.Prepare(
        "INSERT INTO FrnSide (ID, Side, MinSize, MaxSize, MinAngle, MaxAngle) VALUES (?, ?, 200, 3000, 89, 91)");
    int key = 1;
    for (int c = 0; c < size.complects; ++c) {
      comp.Reset();
      comp.BindAll({ComplectCode(c), int64_t{10 + c % 3}, fmt::format("Комплект {}", c)});
      comp.Step();
      for (int l = 0; l < size.linesPerComplect; ++l) {
        set.Reset();
        set.BindAll({ComplectCode(c), ElementCode(static_cast<int>(rng() % size.elements)), int64_t{key++}});
        set.Step();
      }
      for (int s = 1; s <= 4; ++s) {
        side.Reset();
        side.BindAll({ComplectCode(c), int64_t{s}});
        side.Step();
      }
    }
  });
}

}  // namespace kvf::bench
