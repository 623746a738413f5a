#include "catalog/paradox_import.h"

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
      if (PX_get_data_alpha(doc, data, f.px_flen, &value) <= 0 || !value) return std::monostate{};
      std::string text = Cp1251ToUtf8(value);
      doc->free(doc, value);
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
      char* value = nullptr;
      if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char*>(data), f.px_fdc, &value) <= 0 || !value)
        return std::monostate{};
      std::string text = value;
      doc->free(doc, value);
      for (char& c : text)
        if (c == ',') c = '.';
      return std::strtod(text.c_str(), nullptr);
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

}  // namespace

std::vector<std::vector<TFieldValue>> ReadParadoxTable(const fs::path& file, const TTableDef& def) {
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

TImportResult ImportParadoxCatalog(const fs::path& srcDir, const fs::path& destDir) {
  if (!fs::is_directory(srcDir)) throw EKvfError(fmt::format("Папка {} не найдена", srcDir.string()));
  TImportResult result;
  WriteDatabaseAtomically(destDir / DatabaseFileOfAlias("KMDB_Catalog"), [&](TDatabase& db) {
    for (const TTableDef& def : AllTableDefs()) {
      if (def.alias != "KMDB_Catalog") continue;
      CreateTable(db, def);
      const fs::path file = FindFileNoCase(srcDir, def.fileName);
      if (file.empty()) {
        result.failures.push_back(fmt::format("{}: файл не найден", def.fileName));
        continue;
      }
      std::vector<std::vector<TFieldValue>> rows;
      try {
        rows = ReadParadoxTable(file, def);
      } catch (const EKvfError& e) {
        result.failures.push_back(fmt::format("{}: {}", def.fileName, e.what()));
        continue;
      }
      std::string names, marks;
      for (size_t i = 0; i < def.stored.size(); ++i) {
        names += (i ? ", " : "") + QuoteIdent(def.stored[i].name);
        marks += i ? ", ?" : "?";
      }
      db.Exec("SAVEPOINT px_table");
      try {
        TStatement& s = db.Prepare("INSERT INTO " + QuoteIdent(def.sqlName) + " (" + names + ") VALUES (" + marks + ")");
        int64_t nextAuto = 1;
        for (auto& row : rows)
          for (size_t i = 0; i < row.size(); ++i)
            if (def.stored[i].type == TFieldType::AutoInc && !IsBlank(row[i]))
              nextAuto = std::max(nextAuto, ValueAsInteger(row[i]) + 1);
        for (auto& row : rows) {
          for (size_t i = 0; i < row.size(); ++i)
            if (def.stored[i].type == TFieldType::AutoInc && IsBlank(row[i])) row[i] = nextAuto++;
          TStatement& ins = db.Prepare("INSERT INTO " + QuoteIdent(def.sqlName) + " (" + names + ") VALUES (" + marks + ")");
          ins.BindAll(row);
          ins.Step();
        }
        (void)s;
        db.Exec("RELEASE px_table");
        result.imported.push_back({def.fileName, static_cast<int>(rows.size())});
      } catch (const EKvfError& e) {
        db.Exec("ROLLBACK TO px_table");
        db.Exec("RELEASE px_table");
        result.failures.push_back(fmt::format("{}: {}", def.fileName, e.what()));
      }
    }
  });
  return result;
}

}  // namespace kvf
