#include "cli/document_io.h"

#include <cstdio>
#include <filesystem>
#include <fmt/format.h>

#include "catalog/dm.h"
#include "catalog/lookups.h"
#include "core/cp1251.h"
#include "core/csv.h"
#include "core/error.h"
#include "core/file_io.h"
#include "core/prompts.h"
#include "core/text_utils.h"
#include "orders/order_json.h"

namespace kvf::cli {

void LoadOrder(const std::string& file, const TArgs& args, TkvfOrder& order) {
  if (args.Flag("no-convert")) Console().ConfirmAnswer = false;
  bool converted = false;
  const bool ok = order.LoadFromFile(file, converted);
  Console().ConfirmAnswer.reset();
  if (!ok) throw TReportedFailure();  // the loader showed why
}

void LoadSelection(const std::string& file, const TArgs& args, TkvfOrderSelection& selection) {
  if (args.Flag("no-convert")) Console().ConfirmAnswer = false;
  bool converted = false;
  const bool ok = selection.LoadFromFile(file, converted);
  Console().ConfirmAnswer.reset();
  if (!ok) throw TReportedFailure();
}

void PrintJson(const nlohmann::ordered_json& j) {
  std::printf("%s\n", j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
}

nlohmann::ordered_json ReadJsonFile(const std::string& file) {
  return ParseJsonText(ReadWholeFile(file), file);
}

void CheckOverwrite(const std::string& file, const TArgs& args) {
  std::error_code ec;
  if (std::filesystem::exists(file, ec) && !args.Flag("force"))
    throw EKvfError(fmt::format("Файл {} уже существует (--force заменяет его)", file));
}

void PrintMaterials(const TkvfMatList& list, bool csv, bool withCatalog) {
  TMoney total;
  if (csv) std::fputs(CsvLine({"FArticle", "Name", "Unit", "FNumber", "FPrice", "FCost"}).c_str(), stdout);
  for (const TkvfMatListItem& m : list) {
    const TArticleData data = withCatalog ? GetArticleData(m.FArticle, true) : TArticleData{};
    const std::string number = fmt::format("{:.3f}", static_cast<double>(m.FNumber));
    if (csv) {
      std::fputs(CsvLine({m.FArticle, data.name, data.unit, number, m.FPrice.ToString(), m.FCost.ToString()}).c_str(),
                 stdout);
    } else {
      std::string article = m.FArticle, name = data.name;
      PadRight(article, 20, false);
      PadRight(name, 50, false);
      std::string unit = data.unit;
      PadRight(unit, 5, false);
      std::printf("%s %s %s %10s %12s %14s\n", article.c_str(), name.c_str(), unit.c_str(), number.c_str(),
                  m.FPrice.ToString().c_str(), m.FCost.ToString().c_str());
    }
    total += m.FCost;
  }
  if (!csv) std::printf("%-20s %14s\n", "Итого:", total.ToString().c_str());
}

}  // namespace kvf::cli
