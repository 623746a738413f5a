#include "catalog/row_chooser.h"

namespace kvf {
namespace {
TRowChooser* g_chooser = nullptr;
}  // namespace

void SetRowChooser(TRowChooser* chooser) { g_chooser = chooser; }

void ChooseRow(TTable& table, const TRowChoice& choice) {
  if (g_chooser) g_chooser->Choose(table, choice);
}

}  // namespace kvf
