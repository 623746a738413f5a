// The data-aware grid and the record navigator on the price-group table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "catalog/dm.h"
#include "catalog/table.h"
#include "catalog/ui/grid_view.h"
#include "catalog/ui/table_model.h"
#include "support/catalog_fixture.h"
#include "support/qt_app.h"
#include "support/scripted_ui.h"

namespace kvf {
namespace {

class GridViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::QtApp();
    const char* names[] = {"Базовая", "Оптовая", "Розничная", "Дилерская", "Специальная"};
    for (int id = 1; id <= 5; ++id)
      fx_.Insert("PriceGrp.DB", {{"GroupID", int64_t{id}}, {"Name", std::string(names[id - 1])},
                                 {"Reduce_1", double(5 * id)}});
    fx_.OpenDM();
  }
  test::TScriptedUi ui_;
  test::TCatalogFixture fx_;
};

TEST_F(GridViewTest, TheGridAndTheTableCursorFollowEachOther) {
  TTable& groups = DM().T_PriceGrp;
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* navigator = new TRecordNavigator(groups, {TRecordNavigator::First, TRecordNavigator::Prior,
                                                  TRecordNavigator::Next, TRecordNavigator::Last,
                                                  TRecordNavigator::Insert, TRecordNavigator::Delete,
                                                  TRecordNavigator::Edit, TRecordNavigator::Post,
                                                  TRecordNavigator::Cancel, TRecordNavigator::Refresh},
                                        &window);
  auto* grid = new TGridView(groups, {{"GroupID", "Код группы", 10}, {"Name", "Наименование", 28},
                                      {"Reduce_1", "Скидка, %", 10}},
                             &window);
  layout->addWidget(navigator);
  layout->addWidget(grid);
  window.resize(520, 260);
  window.show();
  EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QString::fromUtf8("Наименование"));
  EXPECT_EQ(navigator->Button(TRecordNavigator::Next)->toolTip(), QString::fromUtf8("Следующая"));
  EXPECT_FALSE(navigator->Button(TRecordNavigator::Post)->isEnabled());

  grid->setCurrentIndex(grid->model()->index(2, 1));  // a click on the third row
  EXPECT_EQ(groups.AsString("Name"), "Розничная");
  groups.Next();  // the table moves: the grid follows
  EXPECT_EQ(grid->currentIndex().row(), 3);
  navigator->Button(TRecordNavigator::Edit)->click();
  EXPECT_EQ(groups.State(), TDataSetState::Edit);
  EXPECT_TRUE(navigator->Button(TRecordNavigator::Post)->isEnabled());
  EXPECT_FALSE(navigator->Button(TRecordNavigator::Next)->isEnabled());
  navigator->Button(TRecordNavigator::Cancel)->click();
  test::Screenshot(window, "price-group-grid");

  // Ctrl+Delete on two marked rows, after the question
  grid->selectionModel()->select(grid->model()->index(0, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  grid->selectionModel()->select(grid->model()->index(4, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  ASSERT_EQ(grid->MarkedRows(), (std::vector<int>{0, 3, 4}));  // the current row is selected too
  ui_.answers = {1};
  test::SendKey(*grid, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(ui_.boxes.back().text, "Удалить 3 записей?");
  EXPECT_EQ(groups.ViewCount(), 2);
  EXPECT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(grid->model()->data(grid->model()->index(0, 1)).toString(), QString::fromUtf8("Оптовая"));

  test::SendKey(*grid, Qt::Key_Insert, Qt::ControlModifier);  // Ctrl+Insert copies the cell
  EXPECT_FALSE(grid->ClipboardText().empty());
}

}  // namespace
}  // namespace kvf
