#pragma once
// The list of alternatives shown when a catalog search leaves several rows:
// the chooser moves the table to the row the user takes. Without a person
// (kvf, tests) the row the list opens on is taken.
#include <string>
#include <vector>

#include "catalog/table.h"

namespace kvf {

struct TRowChoice {
  std::string caption;               // "Список артикулов"
  std::string text;                  // the question above the list
  std::string keyField;              // "CatalogID"
  std::vector<std::string> columns;  // shown columns
};

class TRowChooser {
 public:
  virtual ~TRowChooser() = default;
  // The table stands on the row the list opens on; the chooser may move it.
  virtual void Choose(TTable& table, const TRowChoice& choice) = 0;
};

// Installs the process-wide chooser (not owned; null: take the current row).
void SetRowChooser(TRowChooser* chooser);
void ChooseRow(TTable& table, const TRowChoice& choice);

}  // namespace kvf
