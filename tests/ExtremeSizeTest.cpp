// Both views of the real window at sizes where the layout degenerates, and at a very large one:
// painted by the window system and by Refresh, with no error and with what the layout predicts.
#include <set>

#include "WindowFixture.h"

namespace {

class ExtremeSizes : public WindowFixture {
 protected:
  // Brings a view the way the user does: a press and release for the data view (here on the
  // loadings, which edits nothing), the button for the components view.
  void EnterView(bool data) {
    Resize(547, 492);
    if (data) {
      Edit(500, 20, 20);
    } else if (DataView()) {
      form->Kl_A->Click();
    }
    ASSERT_EQ(DataView(), data);
  }

  // Paints the view at w x h: first the window system's paint after the resize, then Refresh,
  // then the whole window as it would appear on screen. The components view computes the scores
  // afresh at these sizes too; the data view leaves them alone.
  void PaintAt(int w, int h) {
    for (int j = 1; j <= 20; ++j) form->Table[j][11] = 0.0;
    Resize(w, h);
    form->Ramka->Refresh();
    const QPixmap shown = form->window().qt->grab();
    EXPECT_EQ(shown.width(), w);
    EXPECT_EQ(shown.height(), h);
    EXPECT_EQ(form->Ramka->Picture().ImageWidth(), w);
    EXPECT_EQ(form->Ramka->Picture().ImageHeight(), h);
    bool scored = false;
    for (int j = 1; j <= 20; ++j) scored = scored || form->Table[j][11] != 0.0;
    EXPECT_EQ(scored, !DataView()) << w << "x" << h;
  }

  std::set<TColor> Colours() {
    std::set<TColor> seen;
    ImageCanvas& picture = form->Ramka->Picture();
    for (int y = 0; y < picture.ImageHeight(); ++y)
      for (int x = 0; x < picture.ImageWidth(); ++x) seen.insert(picture.PixelAt(x, y));
    return seen;
  }
};

TEST_F(ExtremeSizes, TinySizesPaintBothViewsWithoutErrors) {
  ShowAt();
  const TColor face = ResolveColor(clBtnFace);
  for (const bool data : {false, true}) {
    SCOPED_TRACE(data ? "data view" : "components view");
    EnterView(data);

    PaintAt(0, 0);
    PaintAt(1, 1);
    EXPECT_EQ(Pixel(0, 0), face);  // nothing of the chart reaches the first pixel

    // RowHeight 0 and ColumnStep 0: every frame is empty and every point of every strip sits at
    // (10, 9), so one marker remains, red around yellow; the components' strips, axes, bars and
    // labels all fall outside the picture or have no extent.
    PaintAt(27, 12);
    EXPECT_EQ(Pixel(8, 7), clRed);
    EXPECT_EQ(Pixel(9, 8), clYellow);
    EXPECT_EQ(Pixel(10, 9), clYellow);
    EXPECT_EQ(Pixel(12, 9), face);
    EXPECT_EQ(Colours(), (std::set<TColor>{face, clRed, clYellow}));

    // RowHeight 1 and ColumnStep 1: markers four pixels wide, one pixel apart, each drawn over
    // the frames and the interiors of the ones before; red outlines and lines are all that is
    // left. The components' strips, axes (on ChartRight 30), bars and labels lie beyond.
    PaintAt(29, 13);
    EXPECT_EQ(Pixel(8, 8), clRed);
    EXPECT_EQ(Pixel(28, 12), clRed);
    EXPECT_EQ(Pixel(7, 10), face);
    EXPECT_EQ(Colours(), (std::set<TColor>{face, clRed}));

    EXPECT_EQ(DataView(), data);
  }
  EXPECT_TRUE(reports.empty()) << reports.front().message;
}

TEST_F(ExtremeSizes, AVeryLargeWindowPaintsBothViewsWithoutErrors) {
  ShowAt();
  const TColor face = ResolveColor(clBtnFace);
  // 8192 x 8192: ColumnStep 286, ChartRight 5730, RowHeight 630; strip 11 spans 6319 to 6950;
  // LoadingColumnWidth 820 puts the axes at x = 6550 and 7370, from y = 9, and the first bars
  // begin at y = 114.
  for (const bool data : {false, true}) {
    SCOPED_TRACE(data ? "data view" : "components view");
    EnterView(data);
    PaintAt(8192, 8192);
    EXPECT_EQ(Pixel(10, 100), clGray);
    EXPECT_EQ(Pixel(5729, 100), clGray);
    EXPECT_EQ(Pixel(5730, 100), face);
    EXPECT_EQ(Pixel(10, 7000), data ? face : clGray);
    EXPECT_EQ(Pixel(6550, 50), data ? face : clGray);
    EXPECT_EQ(Pixel(7370, 50), data ? face : clGray);
    EXPECT_EQ(DataView(), data);
  }
  EXPECT_TRUE(reports.empty()) << reports.front().message;
}

}  // namespace
