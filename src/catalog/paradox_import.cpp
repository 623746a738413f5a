#include "catalog/paradox_import.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fmt/format.h>
#include <memory>
extern "C" {
#include <paradox.h>
}

#include "catalog/database.h"
#include "catalog/schema_sql.h"
#include "core/cp1251.h"
#include "core/error.h"
#include "core/text_utils.h"
#include "core/file_io.h"

namespace kvf {
namespace fs = std::filesystem;
namespace {

// Paradox counts dates in days from 01.01.0001 (day 1); the stored form counts
// from 30.12.1899.
constexpr double kParadoxDateShift = 693594;

struct TPxCloser {
  void operator()(pxdoc_t* doc) const {
    PX_close(doc);
    PX_delete(doc);
  }
};

std::string g_lastError;

void ErrorHandler(pxdoc_t*, int, const char* msg, void*) { g_lastError = msg ? msg : ""; }

TFieldValue ReadField(pxdoc_t* doc, const pxfield_t& f, char* data) {
  switch (f.px_ftype) {
    case pxfAlpha: {
      char* value = nullptr;
      const int got = PX_get_data_alpha(doc, data, f.px_flen, &value);
      const std::string raw = value ? value : "";
      if (value) doc->free(doc, value);  // also when pxlib reports no value
      if (got <= 0 || raw.empty()) return std::monostate{};
      std::string text = Cp1251ToUtf8(raw);
      while (!text.empty() && text.back() == ' ') text.pop_back();
      if (text.empty()) return std::monostate{};
      return text;
    }
    case pxfShort: {
      short v = 0;
      return PX_get_data_short(doc, data, f.px_flen, &v) > 0 ? TFieldValue(int64_t{v}) : TFieldValue{};
    }
    case pxfLong:
    case pxfAutoInc: {
      long v = 0;
      return PX_get_data_long(doc, data, f.px_flen, &v) > 0 ? TFieldValue(static_cast<int64_t>(v)) : TFieldValue{};
    }
    case pxfLogical: {
      char v = 0;
      return PX_get_data_byte(doc, data, f.px_flen, &v) > 0 ? TFieldValue(int64_t{v != 0 ? 1 : 0}) : TFieldValue{};
    }
    case pxfCurrency:
    case pxfNumber: {
      double v = 0;
      return PX_get_data_double(doc, data, f.px_flen, &v) > 0 ? TFieldValue(v) : TFieldValue{};
    }
    case pxfDate: {
      long v = 0;
      if (PX_get_data_long(doc, data, f.px_flen, &v) <= 0) return std::monostate{};
      return static_cast<double>(v) - kParadoxDateShift;
    }
    case pxfTimestamp: {
      double v = 0;
      if (PX_get_data_double(doc, data, f.px_flen, &v) <= 0) return std::monostate{};
      return v / 86400000.0 - kParadoxDateShift;
    }
    case pxfBCD: {
      // pxlib leaks its buffer when the stored digit count differs from the field's
      if (data[0] == 0 || (static_cast<unsigned char>(data[0]) & 0x3f) != f.px_fdc) return std::monostate{};
      char* value = nullptr;
      const int got = PX_get_data_bcd(doc, reinterpret_cast<unsigned char*>(data), f.px_fdc, &value);
      const std::string text = value ? value : "";
      if (value) doc->free(doc, value);  // also when pxlib reports no value
      if (got <= 0 || text.empty()) return std::monostate{};
      double d = 0;
      return ParseRealText(text, d) ? TFieldValue(d) : TFieldValue{};
    }
    default: return std::monostate{};
  }
}

// The value in the kind the schema stores for the field.
TFieldValue Fit(const TFieldDef& field, TFieldValue v) {
  if (IsBlank(v)) return v;
  if (field.IsText()) return ValueAsString(v);
  if (field.IsInteger()) return ValueAsInteger(v);
  return ValueAsFloat(v);
}

uint16_t U16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
int16_t S16(std::string_view b, size_t at) { return static_cast<int16_t>(U16(b, at)); }
int32_t S32(std::string_view b, size_t at) {
  return static_cast<int32_t>(static_cast<uint32_t>(U16(b, at)) | static_cast<uint32_t>(U16(b, at + 2)) << 16);
}

// Byte length of a field of the data record by its type code and declared size.
int FieldLength(int type, int size) { return type == pxfBCD ? 17 : size; }

}  // namespace

std::string ParadoxFileProblem(std::string_view b) {
  constexpr size_t kCommonHeader = 0x58, kDataHeader = 0x78, kBlockHead = 6;
  if (b.size() < kCommonHeader) return fmt::format("файл короче заголовка таблицы ({} байт)", b.size());
  const int recordSize = U16(b, 0x00);
  const size_t headerSize = U16(b, 0x02);
  const int fileType = static_cast<unsigned char>(b[0x04]);
  const int maxTableSize = static_cast<unsigned char>(b[0x05]);
  const int32_t numRecords = S32(b, 0x06);
  const int fileBlocks = U16(b, 0x0C);
  const int firstBlock = U16(b, 0x0E);
  const int numFields = S16(b, 0x21);
  const int version = static_cast<unsigned char>(b[0x39]);
  // 0xFF00FF00 in the common header sends the reader to the data header's field
  uint32_t encryption = static_cast<uint32_t>(S32(b, 0x25));
  if (encryption == 0xFF00FF00u) encryption = b.size() >= 0x60 ? static_cast<uint32_t>(S32(b, 0x5C)) : 1;
  if (encryption != 0) return "таблица зашифрована паролем, выгрузите ее без пароля";
  if (fileType != pxfFileTypIndexDB && fileType != pxfFileTypNonIndexDB)
    return fmt::format("это не таблица данных Paradox (тип файла {})", fileType);
  if (version < 3 || version > 15) return fmt::format("неизвестная версия файла ({})", version);
  if (maxTableSize < 1 || maxTableSize > 32) return fmt::format("неверный размер блока ({})", maxTableSize);
  const size_t blockSize = static_cast<size_t>(maxTableSize) * 0x400;
  if (recordSize <= 0 || static_cast<size_t>(recordSize) > blockSize - kBlockHead)
    return fmt::format("неверный размер записи ({})", recordSize);
  if (numFields <= 0 || numFields > 255) return fmt::format("неверное число полей ({})", numFields);
  const size_t fieldsAt = version >= 5 ? kDataHeader : kCommonHeader;
  const size_t tableNameLength = version >= 12 ? 261 : 79;
  // field types, the table name pointer, the field name pointers, the table name
  const size_t fixedPart = fieldsAt + static_cast<size_t>(numFields) * 6 + 4 + tableNameLength;
  if (headerSize < fixedPart || headerSize > b.size())
    return fmt::format("неверный размер заголовка ({} байт при длине файла {})", headerSize, b.size());
  int length = 0;
  for (int i = 0; i < numFields; ++i)
    length += FieldLength(static_cast<unsigned char>(b[fieldsAt + static_cast<size_t>(i) * 2]),
                          static_cast<unsigned char>(b[fieldsAt + static_cast<size_t>(i) * 2 + 1]));
  if (length != recordSize) return fmt::format("длина полей ({}) не равна размеру записи ({})", length, recordSize);
  size_t names = fixedPart, terminated = 0;  // every field name ends inside the header
  for (; names < headerSize && terminated < static_cast<size_t>(numFields); ++names)
    if (b[names] == '\0') ++terminated;
  if (terminated < static_cast<size_t>(numFields)) return "имена полей выходят за заголовок";
  const size_t blocksInFile = (b.size() - headerSize) / blockSize;
  if (static_cast<size_t>(fileBlocks) > blocksInFile)
    return fmt::format("заголовок называет {} блоков, в файле их {}", fileBlocks, blocksInFile);
  if (numRecords < 0) return fmt::format("неверное число записей ({})", numRecords);
  const int perBlock = static_cast<int>((blockSize - kBlockHead) / static_cast<size_t>(recordSize));
  std::vector<bool> seen(blocksInFile + 1, false);
  int64_t records = 0;
  int chain = 0;
  for (int block = fileBlocks > 0 ? firstBlock : 0; block != 0;) {
    if (block < 0 || static_cast<size_t>(block) > blocksInFile || seen[static_cast<size_t>(block)])
      return fmt::format("цепочка блоков повреждена (блок {})", block);
    seen[static_cast<size_t>(block)] = true;
    if (++chain > fileBlocks) return "цепочка блоков длиннее числа блоков";
    const size_t at = headerSize + static_cast<size_t>(block - 1) * blockSize;
    // the offset of the block's last record: -recordSize for an empty block
    const int addDataSize = S16(b, at + 4);
    const int inBlock = addDataSize / recordSize + 1;
    if (addDataSize % recordSize != 0 || addDataSize < -recordSize || inBlock > perBlock)
      return fmt::format("неверное число записей в блоке {}", block);
    records += inBlock;
    block = U16(b, at);
  }
  if (records != numRecords)
    return fmt::format("в блоках {} записей, в заголовке {}", records, numRecords);
  return {};
}

std::vector<std::vector<TFieldValue>> ReadParadoxTable(const fs::path& file, const TTableDef& def) {
  if (const std::string problem = ParadoxFileProblem(ReadWholeFile(file)); !problem.empty())
    throw EKvfError(fmt::format("Таблица {} повреждена: {}", file.string(), problem));
  g_lastError.clear();
  std::unique_ptr<pxdoc_t, TPxCloser> doc(PX_new2(ErrorHandler, nullptr, nullptr, nullptr));
  if (!doc) throw EKvfError("pxlib: нет памяти");
  if (PX_open_file(doc.get(), file.c_str()) < 0)
    throw EKvfError(fmt::format("Не удается прочитать {}: {}", file.string(), g_lastError));
  const int numFields = PX_get_num_fields(doc.get());
  const int numRecords = PX_get_num_records(doc.get());
  pxfield_t* fields = PX_get_fields(doc.get());
  if (!fields || numFields <= 0) throw EKvfError(fmt::format("{}: нет полей", file.string()));
  std::vector<int> target(static_cast<size_t>(numFields));
  std::vector<int> offset(static_cast<size_t>(numFields));
  int pos = 0;
  for (int i = 0; i < numFields; ++i) {
    target[static_cast<size_t>(i)] = def.StoredIndex(Cp1251ToUtf8(fields[i].px_fname));
    offset[static_cast<size_t>(i)] = pos;
    pos += fields[i].px_flen;
  }
  std::vector<char> data(static_cast<size_t>(PX_get_recordsize(doc.get())) + 16);
  std::vector<std::vector<TFieldValue>> rows;
  rows.reserve(static_cast<size_t>(std::max(numRecords, 0)));
  for (int r = 0; r < numRecords; ++r) {
    if (!PX_get_record(doc.get(), r, data.data()))
      throw EKvfError(fmt::format("{}: не удается прочитать запись {}: {}", file.string(), r + 1, g_lastError));
    std::vector<TFieldValue> row(def.stored.size());
    for (int i = 0; i < numFields; ++i) {
      const int t = target[static_cast<size_t>(i)];
      if (t < 0) continue;
      row[static_cast<size_t>(t)] =
          Fit(def.stored[static_cast<size_t>(t)], ReadField(doc.get(), fields[i], data.data() + offset[static_cast<size_t>(i)]));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

TImportResult ImportParadoxCatalog(const fs::path& srcDir, const fs::path& destDir, bool partial) {
  if (!fs::is_directory(srcDir)) throw EKvfError(fmt::format("Папка {} не найдена", srcDir.string()));
  struct TReadTable {
    const TTableDef* def;
    std::vector<std::vector<TFieldValue>> rows;
    bool read = false;
  };
  TImportResult result;
  std::vector<TReadTable> tables;
  for (const TTableDef& def : AllTableDefs()) {
    if (def.alias != "KMDB_Catalog") continue;
    TReadTable table{&def, {}, false};
    const fs::path file = FindFileNoCase(srcDir, def.fileName);
    if (file.empty()) {
      result.failures.push_back(fmt::format("{}: файл не найден", def.fileName));
    } else {
      try {
        table.rows = ReadParadoxTable(file, def);
        table.read = true;
      } catch (const EKvfError& e) {
        result.failures.push_back(fmt::format("{}: {}", def.fileName, e.what()));
      }
    }
    tables.push_back(std::move(table));
  }
  const auto articles = std::find_if(tables.begin(), tables.end(),
                                     [](const TReadTable& t) { return t.def->fileName == kArticleTable; });
  auto refuse = [&](const std::string& why) {
    std::string text = fmt::format("Каталог не импортирован: {}", why);
    for (const std::string& f : result.failures) text += "\n" + f;
    throw EKvfError(text);
  };
  if (articles == tables.end() || !articles->read || articles->rows.empty())
    refuse("нет таблицы артикулов Catalog.DB с записями, каталог в " + destDir.string() + " не изменен");
  if (!partial && !result.failures.empty())
    refuse("не все таблицы прочитаны (--partial импортирует прочитанные), каталог в " + destDir.string() +
           " не изменен");
  WriteDatabaseAtomically(destDir / DatabaseFileOfAlias("KMDB_Catalog"), [&](TDatabase& db) {
    for (TReadTable& table : tables) {
      const TTableDef& def = *table.def;
      CreateTable(db, def);
      if (!table.read) continue;
      std::string names, marks;
      for (size_t i = 0; i < def.stored.size(); ++i) {
        names += (i ? ", " : "") + QuoteIdent(def.stored[i].name);
        marks += i ? ", ?" : "?";
      }
      db.Exec("SAVEPOINT px_table");
      try {
        const std::string sql = "INSERT INTO " + QuoteIdent(def.sqlName) + " (" + names + ") VALUES (" + marks + ")";
        int64_t nextAuto = 1;
        for (auto& row : table.rows)
          for (size_t i = 0; i < row.size(); ++i)
            if (def.stored[i].type == TFieldType::AutoInc && !IsBlank(row[i]))
              nextAuto = std::max(nextAuto, ValueAsInteger(row[i]) + 1);
        for (auto& row : table.rows) {
          for (size_t i = 0; i < row.size(); ++i)
            if (def.stored[i].type == TFieldType::AutoInc && IsBlank(row[i])) row[i] = nextAuto++;
          TStatement& ins = db.Prepare(sql);
          ins.BindAll(row);
          ins.Step();
        }
        db.Exec("RELEASE px_table");
        result.imported.push_back({def.fileName, static_cast<int>(table.rows.size())});
      } catch (const EKvfError& e) {
        db.Exec("ROLLBACK TO px_table");
        db.Exec("RELEASE px_table");
        if (!partial) throw EKvfError(fmt::format("Каталог не импортирован: {}: {}", def.fileName, e.what()));
        result.failures.push_back(fmt::format("{}: {}", def.fileName, e.what()));
      }
    }
  });
  return result;
}

}  // namespace kvf
