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

TMaterialFormat MaterialFormat(const TArgs& args) {
  if (args.Flag("csv") && args.Flag("json")) throw TUsageError("--csv и --json вместе не задаются");
  return args.Flag("json") ? TMaterialFormat::Json : args.Flag("csv") ? TMaterialFormat::Csv : TMaterialFormat::Table;
}

void PrintMaterials(const TkvfMatList& list, TMaterialFormat format, bool withCatalog, const TMaterialTotals& totals) {
  TMoney total;
  for (const TkvfMatListItem& m : list) total += m.FCost;
  const TMoney nds = totals.totalNDS ? total * (static_cast<double>(totals.ndsTax) / 100) : TMoney();
  const TMoney withNds = total + nds;
  const std::string currency = withCatalog ? GetCurrencyName(totals.currencyId) : std::string();
  if (format == TMaterialFormat::Json) {
    TJson lines = TJson::array();
    for (const TkvfMatListItem& m : list) {
      const TArticleData data = withCatalog ? GetArticleData(m.FArticle, true) : TArticleData{};
      lines.push_back({{"FArticle", m.FArticle}, {"Name", data.name}, {"Unit", data.unit},
                       {"FNumber", FloatJson(m.FNumber)}, {"FBasePrice", m.FBasePrice.ToString()},
                       {"FDiscount", m.FDiscount.ToString()}, {"FPrice", m.FPrice.ToString()},
                       {"FCost", m.FCost.ToString()}});
    }
    PrintJson({{"lines", std::move(lines)}, {"Total", total.ToString()}, {"NDS", nds.ToString()},
               {"TotalWithNDS", withNds.ToString()}, {"FCurrencyID", totals.currencyId}, {"CurrencyName", currency}});
    return;
  }
  const bool csv = format == TMaterialFormat::Csv;
  if (csv)
    std::fputs(CsvLine({"Article", "Name", "Unit", "Number", "BasePrice", "Discount", "Price", "Cost"}).c_str(), stdout);
  for (const TkvfMatListItem& m : list) {
    const TArticleData data = withCatalog ? GetArticleData(m.FArticle, true) : TArticleData{};
    const std::string number = fmt::format("{:.3f}", static_cast<double>(m.FNumber));
    if (csv) {
      std::fputs(CsvLine({m.FArticle, data.name, data.unit, number, m.FBasePrice.ToString(), m.FDiscount.ToString(),
                          m.FPrice.ToString(), m.FCost.ToString()})
                     .c_str(),
                 stdout);
    } else {
      std::string article = m.FArticle, name = data.name, unit = data.unit;
      PadRight(article, 20, false);
      PadRight(name, 50, false);
      PadRight(unit, 5, false);
      std::printf("%s %s %s %10s %12s %14s\n", article.c_str(), name.c_str(), unit.c_str(), number.c_str(),
                  m.FPrice.ToString().c_str(), m.FCost.ToString().c_str());
    }
  }
  const std::pair<const char*, TMoney> rows[] = {{"Итого", total}, {"НДС", nds}, {"Итого с НДС", withNds}};
  for (const auto& [label, amount] : rows) {
    if (csv) {
      std::fputs(CsvLine({label, "", "", "", "", "", "", amount.ToString()}).c_str(), stdout);
    } else {
      std::string text = std::string(label) + ":";
      PadRight(text, 20, false);
      std::printf("%s %14s %s\n", text.c_str(), amount.ToString().c_str(), currency.c_str());
    }
  }
}

}  // namespace kvf::cli
