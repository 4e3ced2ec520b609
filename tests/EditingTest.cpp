// Editing values with the mouse, the two views, and errors that never trap the user.
#include "WindowFixture.h"

#include "analysis/SyntheticData.h"

namespace {

using Editing = WindowFixture;

// Values of columns 1..10 that differ from the generated table, as (observation, variable).
std::vector<std::pair<int, int>> ChangedCells(const ObservationTable& t) {
  ObservationTable generated{};
  GenerateObservations(generated);
  std::vector<std::pair<int, int>> changed;
  for (int j = 1; j <= 20; ++j)
    for (int i = 1; i <= 10; ++i)
      if (t[j][i] != generated[j][i]) changed.push_back({j, i});
  return changed;
}

using Cells = std::vector<std::pair<int, int>>;

TEST_F(Editing, PressesOnTheBordersOfTheStripAreaEditNothing) {
  ShowAt();  // ChartRight 390, RowHeight 37
  for (auto [x, y] : {std::pair{10, 100}, {100, 9}, {390, 100}, {100, 380}}) {
    Edit(x, y, 60);
    EXPECT_EQ(ChangedCells(form->Table), Cells{}) << x << "," << y;
    EXPECT_TRUE(DataView());
    EXPECT_EQ(form->PressX, -1);
  }
  EXPECT_TRUE(reports.empty());
}

TEST_F(Editing, TheLastColumnAndRowInsideTheAreaEdit) {
  ShowAt();
  Edit(389, 100, 100);
  EXPECT_EQ(ChangedCells(form->Table), (Cells{{20, 3}}));
  Edit(19, 379, 370);
  EXPECT_EQ(ChangedCells(form->Table), (Cells{{1, 10}, {20, 3}}));
}

TEST_F(Editing, ObservationBordersWithOddAndEvenSteps) {
  ShowAt(547, 492);  // ColumnStep 19: ranges meet without overlap
  Edit(28, 20, 20);
  Edit(29, 60, 60);
  EXPECT_EQ(ChangedCells(form->Table), (Cells{{1, 1}, {2, 2}}));

  form->Table = ObservationTable{};
  GenerateObservations(form->Table);
  Resize(572, 492);  // ColumnStep 20: the border column goes to the right-hand observation
  Edit(30, 20, 20);
  EXPECT_EQ(ChangedCells(form->Table), (Cells{{2, 1}}));
}

TEST_F(Editing, ReleaseHeightGivesTheNewValueAndThePointFollows) {
  ShowAt();
  const int x5 = 10 + 9 + 4 * 19;  // observation 5
  Edit(x5, 100, 100);              // strip 3
  EXPECT_EQ(form->Table[5][3], 2.0 / 37);
  EXPECT_EQ(Pixel(x5 - 3, 100), clRed);  // the marker's left outline, centred on y = 100
  EXPECT_EQ(Pixel(x5 - 2, 98), clYellow);

  const struct { int releaseY; double value; } cases[] = {
      {47, -19.0 / 37}, {48, -15.0 / 37}, {9, 16.0 / 37}, {10, 18.0 / 37}};
  for (const auto& c : cases) {
    Edit(19, 20, c.releaseY);
    EXPECT_EQ(form->Table[1][1], c.value) << c.releaseY;
  }
}

TEST_F(Editing, ReleaseBelowALowStripClampsTwice) {
  ShowAt(547, 40);  // RowHeight 3
  Edit(19, 11, 100);
  EXPECT_EQ(form->Table[1][1], -1.0 / 3);
}

TEST_F(Editing, RightAndMiddleButtonsEditLikeTheLeft) {
  ShowAt();
  Edit(19, 20, 20, mbRight);
  Edit(38, 20, 20, mbMiddle);
  EXPECT_EQ(form->Table[1][1], 8.0 / 37);  // release offset 10
  EXPECT_EQ(form->Table[2][1], 8.0 / 37);
  EXPECT_EQ(ChangedCells(form->Table), (Cells{{1, 1}, {2, 1}}));
}

TEST_F(Editing, ReleaseInTheComponentsViewWipesAndShowsTheDataView) {
  ShowAt();
  const TColor face = ResolveColor(clBtnFace);
  EXPECT_EQ(Pixel(442, 100), clGray);  // the first loading axis
  Edit(200, 100, 90);
  EXPECT_TRUE(DataView());
  EXPECT_EQ(Pixel(442, 100), face);    // wiped
  EXPECT_EQ(Pixel(100, 400), face);    // the score strips too
  EXPECT_EQ(Pixel(10, 20), clGray);    // the data strips drawn again

  // Data view to data view: drawn over, no wipe needed, still the data view.
  Edit(200, 100, 110);
  EXPECT_TRUE(DataView());
  EXPECT_EQ(ChangedCells(form->Table).size(), 1u);
}

TEST_F(Editing, TheButtonBringsTheComponentsOfTheEditedTable) {
  ShowAt();
  const double scoreBefore = form->Table[1][11];
  Edit(19 + 8 * 19, 100, 50);
  ASSERT_TRUE(DataView());
  form->Kl_A->Click();
  EXPECT_FALSE(DataView());
  EXPECT_NE(form->Table[1][11], scoreBefore);
  EXPECT_EQ(Pixel(442, 100), clGray);
  EXPECT_TRUE(reports.empty());

  Edit(100, 100, 100);  // and back once more, with the access key this time
  form->window().qt->activateWindow();
  Settle();
  QTest::keyClick(form->window().qt, Qt::Key_O, Qt::AltModifier);
  QTest::qWait(250);  // a button clicks 100 ms after its access key, as it shows itself pressed
  EXPECT_FALSE(DataView());
}

TEST_F(Editing, AReleaseWithoutAPendingPressChangesNothing) {
  ShowAt();
  Release(100, 100);
  EXPECT_FALSE(DataView());
  EXPECT_EQ(Pixel(442, 100), clGray);

  Press(-5, 100);  // as reported while the mouse is captured elsewhere
  Release(100, 100);
  EXPECT_FALSE(DataView());
  EXPECT_EQ(ChangedCells(form->Table), Cells{});
}

// A press edits only together with its own release.
TEST_F(Editing, APaintBetweenPressAndReleaseWritesNothing) {
  ShowAt();
  Press(19, 100);
  form->Ramka->Refresh();
  EXPECT_EQ(ChangedCells(form->Table), Cells{});
  EXPECT_EQ(form->PressX, 19);  // still pending
  Release(19, 100);
  EXPECT_EQ(ChangedCells(form->Table), (Cells{{1, 3}}));
  EXPECT_EQ(form->Table[1][3], 2.0 / 37);
}

TEST_F(Editing, APressOutsideTheStripsIsNotEditedByALaterResize) {
  ShowAt();
  Edit(500, 100, 100);  // on the loadings; ChartRight is 390
  EXPECT_TRUE(DataView());
  Resize(800, 492);  // ChartRight 570: the old press would now lie inside
  form->Ramka->Refresh();
  EXPECT_EQ(ChangedCells(form->Table), Cells{});

  Press(600, 100);  // outside even now, and never released
  Resize(900, 492);
  form->Ramka->Refresh();
  EXPECT_EQ(ChangedCells(form->Table), Cells{});
}

TEST_F(Editing, AFailingComponentsViewShowsOneBoxAndCanBeLeft) {
  ShowAt();
  Edit(100, 100, 100);
  form->Table = ObservationTable{};
  form->Kl_A->Click();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].message, "Floating point division by zero.");
  EXPECT_FALSE(DataView());

  form->Ramka->Refresh();
  Resize(600, 500);
  Resize(547, 492);
  EXPECT_EQ(reports.size(), 1u);  // repaints do not stack more boxes
  EXPECT_EQ(Pixel(10, 20), clGray);

  Edit(19, 20, 20);
  EXPECT_TRUE(DataView());
  EXPECT_EQ(reports.size(), 1u);
  form->Kl_A->Click();  // asking again is a new failure, and gets its one box
  EXPECT_EQ(reports.size(), 2u);
}

}  // namespace
