#include <gtest/gtest.h>

#include "analysis/Guarded.h"
#include "window/ChartLayout.h"

namespace {

TEST(ChartLayout, DesignedPaintBox547By492) {
  const ChartLayout l = ChartLayout::For(547, 492);
  EXPECT_EQ(l.DataAreaWidth, 383);  // 382.9
  EXPECT_EQ(l.ColumnStep, 19);
  EXPECT_EQ(l.HalfStep, 9);
  EXPECT_EQ(l.ChartWidth, 380);
  EXPECT_EQ(l.RowHeight, 37);
  EXPECT_EQ(l.MarkerHalfSize, 3);  // 19 div 6 against 37 div 6
  EXPECT_EQ(l.ChartLeft, 10);
  EXPECT_EQ(l.ChartRight, 390);
  EXPECT_EQ(VariableStrip(l, 1).StripTop, 9);
  EXPECT_EQ(VariableStrip(l, 1).StripBottom, 47);
  EXPECT_EQ(VariableStrip(l, 1).StripMid(), 28);
  EXPECT_EQ(VariableStrip(l, 10).StripTop, 342);
  EXPECT_EQ(VariableStrip(l, 10).StripBottom, 380);
  EXPECT_EQ(ComponentStrip(l, 11).StripTop, 389);
  EXPECT_EQ(ComponentStrip(l, 11).StripBottom, 427);
  EXPECT_EQ(ComponentStrip(l, 12).StripTop, 426);
  EXPECT_EQ(ComponentStrip(l, 12).StripBottom, 464);
  EXPECT_EQ(l.ObservationX(1), 19);
  EXPECT_EQ(l.ObservationX(20), 380);

  const LoadingLayout loadings = LoadingLayout::For(l, 547);
  EXPECT_EQ(loadings.LoadingColumnWidth, 52);
  EXPECT_EQ(loadings.LoadingAxisX(1), 442);
  EXPECT_EQ(loadings.LoadingAxisX(2), 494);
  EXPECT_EQ(loadings.BarHalfHeight, 12);
}

// Exact halves of 7W/10 go to the even neighbour; a double product gets 45 and 685 wrong.
TEST(ChartLayout, SevenTenthsRoundsExactHalvesToEven) {
  EXPECT_EQ(ChartLayout::For(15, 100).DataAreaWidth, 10);   // 10.5
  EXPECT_EQ(ChartLayout::For(25, 100).DataAreaWidth, 18);   // 17.5
  EXPECT_EQ(ChartLayout::For(45, 100).DataAreaWidth, 32);   // 31.5
  EXPECT_EQ(ChartLayout::For(685, 100).DataAreaWidth, 480);  // 479.5
  EXPECT_EQ(ChartLayout::For(685, 100).ColumnStep, 24);
  EXPECT_EQ(ChartLayout::For(1, 100).DataAreaWidth, 1);     // 0.7
  EXPECT_EQ(ChartLayout::For(0, 0).DataAreaWidth, 0);
}

TEST(ChartLayout, NarrowAndLowPaintBoxes) {
  const ChartLayout narrow = ChartLayout::For(27, 492);
  EXPECT_EQ(narrow.ColumnStep, 0);
  EXPECT_EQ(narrow.ChartRight, narrow.ChartLeft);
  EXPECT_EQ(narrow.ObservationX(1), 10);
  EXPECT_EQ(narrow.ObservationX(20), 10);
  EXPECT_EQ(narrow.MarkerHalfSize, 2);
  EXPECT_EQ(ChartLayout::For(28, 492).ColumnStep, 1);

  // W - 10 - ChartWidth is -2 and -1: truncation toward zero gives 0, both axes on ChartRight.
  for (int w : {28, 29}) {
    const ChartLayout l = ChartLayout::For(w, 492);
    const LoadingLayout loadings = LoadingLayout::For(l, w);
    EXPECT_EQ(loadings.LoadingColumnWidth, 0) << w;
    EXPECT_EQ(loadings.LoadingAxisX(1), l.ChartRight);
    EXPECT_EQ(loadings.LoadingAxisX(2), l.ChartRight);
  }

  const ChartLayout low = ChartLayout::For(547, 12);
  EXPECT_EQ(low.RowHeight, 0);
  EXPECT_EQ(VariableStrip(low, 7).StripTop, 9);
  EXPECT_EQ(VariableStrip(low, 7).StripBottom, 10);
  EXPECT_EQ(low.MarkerHalfSize, 2);
  EXPECT_EQ(ChartLayout::For(150, 492).ColumnStep, 5);
  EXPECT_EQ(ChartLayout::For(150, 492).MarkerHalfSize, 2);  // 5 div 6 = 0, raised to 2
}

TEST(ChartLayout, SizesBeyondThirtyTwoBitsAreAnError) {
  EXPECT_THROW(ChartLayout::For(400000000, 100), guarded::ArithmeticError);
  EXPECT_NO_THROW(ChartLayout::For(8192, 8192));
}

}  // namespace
