// The pixel rules of the real canvas.
#include <gtest/gtest.h>

#include "platform/qt/ImageCanvasImpl.h"

namespace {

class CanvasPixels : public testing::Test {
 protected:
  void SetUp() override {
    canvas.SetSize(40, 30);
    canvas.Fill(clWhite);
  }
  // Pixels of colour c in the rectangle [x0, x1) x [y0, y1).
  int Count(TColor c, int x0 = 0, int y0 = 0, int x1 = 40, int y1 = 30) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += canvas.PixelAt(x, y) == c;
    return n;
  }
  ImageCanvas canvas;
};

TEST_F(CanvasPixels, RectangleCoversMinToMaxMinusOneWithOutlineAndFill) {
  canvas.Pen.Color = clRed;
  canvas.Brush.Color = clYellow;
  canvas.MoveTo(3, 4);
  canvas.Rectangle(5, 6, 12, 10);  // columns 5..11, rows 6..9
  EXPECT_EQ(canvas.PenPos(), (TPoint{3, 4}));
  EXPECT_EQ(Count(clRed), 2 * 7 + 2 * 2);
  EXPECT_EQ(Count(clYellow), 5 * 2);
  EXPECT_EQ(canvas.PixelAt(5, 6), clRed);
  EXPECT_EQ(canvas.PixelAt(11, 9), clRed);
  EXPECT_EQ(canvas.PixelAt(12, 9), clWhite);
  EXPECT_EQ(canvas.PixelAt(11, 10), clWhite);
  EXPECT_EQ(canvas.PixelAt(6, 7), clYellow);
}

TEST_F(CanvasPixels, CornersInEitherOrderAndEmptyRectangles) {
  canvas.Pen.Color = clBlack;
  canvas.Brush.Color = clOlive;
  canvas.Rectangle(12, 10, 5, 6);
  ImageCanvas other;
  other.SetSize(40, 30);
  other.Fill(clWhite);
  other.Pen = canvas.Pen;
  other.Brush = canvas.Brush;
  other.Rectangle(5, 10, 12, 6);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(canvas.PixelAt(x, y), other.PixelAt(x, y)) << x << "," << y;
  EXPECT_EQ(Count(clBlack), 18);

  canvas.Fill(clWhite);
  canvas.Rectangle(5, 6, 5, 20);
  canvas.Rectangle(5, 6, 20, 6);
  EXPECT_EQ(Count(clWhite), 40 * 30);
  canvas.Rectangle(5, 6, 6, 7);  // one pixel: all outline
  EXPECT_EQ(Count(clBlack), 1);
}

TEST_F(CanvasPixels, LineLeavesOutItsEndPointAndZeroLengthDrawsNothing) {
  canvas.Pen.Color = clRed;
  canvas.MoveTo(2, 3);
  canvas.LineTo(10, 3);
  EXPECT_EQ(canvas.PenPos(), (TPoint{10, 3}));
  EXPECT_EQ(Count(clRed), 8);  // 2..9
  EXPECT_EQ(canvas.PixelAt(2, 3), clRed);
  EXPECT_EQ(canvas.PixelAt(10, 3), clWhite);

  canvas.MoveTo(20, 20);
  canvas.LineTo(20, 20);
  EXPECT_EQ(canvas.PixelAt(20, 20), clWhite);

  canvas.MoveTo(30, 5);
  canvas.LineTo(30, 1);  // upwards
  EXPECT_EQ(canvas.PixelAt(30, 5), clRed);
  EXPECT_EQ(canvas.PixelAt(30, 2), clRed);
  EXPECT_EQ(canvas.PixelAt(30, 1), clWhite);
}

TEST_F(CanvasPixels, DiagonalCrossHatchLeavesTheGapsAsTheyWere) {
  canvas.Fill(clGray);
  canvas.Pen.Color = clBlack;
  canvas.Brush.Color = clOlive;
  canvas.Brush.Style = bsDiagCross;
  canvas.Rectangle(2, 2, 34, 26);
  const int inside = 30 * 22;
  const int olive = Count(clOlive, 3, 3, 33, 25);
  const int gray = Count(clGray, 3, 3, 33, 25);
  EXPECT_EQ(olive + gray, inside);
  EXPECT_GT(olive, inside / 8);
  EXPECT_GT(gray, inside / 3);
  // Both diagonals: a hatch line crosses every row and every column of the inside.
  for (int y = 3; y < 25; ++y) EXPECT_GT(Count(clOlive, 3, y, 33, y + 1), 1) << y;
  EXPECT_EQ(Count(clBlack), 2 * 32 + 2 * 22);
}

// The shared raster carries the hatch as constants; the desktop's hatch was Qt's own pattern, and
// must stay so.
TEST_F(CanvasPixels, TheHatchIsQtsOwnDiagonalCrossPattern) {
  QImage tile(8, 8, QImage::Format_RGB32);
  tile.fill(Qt::white);
  {
    QPainter painter(&tile);
    painter.fillRect(QRect(0, 0, 8, 8), QBrush(Qt::black, Qt::DiagCrossPattern));
  }
  canvas.Fill(clWhite);
  canvas.Pen.Color = clWhite;
  canvas.Brush.Color = clBlack;
  canvas.Brush.Style = bsDiagCross;
  canvas.Rectangle(7, 7, 18, 18);  // inside: columns and rows 8..16
  for (int y = 8; y < 16; ++y)
    for (int x = 8; x < 16; ++x)
      EXPECT_EQ(canvas.PixelAt(x, y) == clBlack, qRed(tile.pixel(x & 7, y & 7)) < 128) << x << "," << y;
}

TEST_F(CanvasPixels, TextBackgroundUnderSolidBrushOnlyAndPenMovesOn) {
  canvas.SetSize(120, 40);
  canvas.Fill(clGray);
  canvas.Font.Size = 12;
  canvas.Font.Color = clBlack;
  canvas.Brush.Color = clYellow;
  canvas.Brush.Style = bsSolid;
  const int32_t width = canvas.TextWidth("59%");
  EXPECT_GT(width, 10);
  canvas.TextOut(5, 4, "59%");
  EXPECT_EQ(canvas.PenPos(), (TPoint{5 + width, 4}));
  EXPECT_EQ(canvas.PixelAt(5, 4), clYellow);  // top-left corner of the text cell
  EXPECT_EQ(canvas.PixelAt(4, 4), clGray);

  canvas.Fill(clGray);
  canvas.Brush.Style = bsDiagCross;
  canvas.TextOut(5, 4, "59%");
  int yellow = 0, ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      yellow += canvas.PixelAt(x, y) == clYellow;
      ink += canvas.PixelAt(x, y) != clGray;
    }
  EXPECT_EQ(yellow, 0);
  EXPECT_GT(ink, 40);  // the glyphs, and nothing under them
}

TEST_F(CanvasPixels, ColoursAreBlueGreenRedWithRedInTheLowByte) {
  canvas.Pen.Color = 0x0000FF;
  canvas.Brush.Color = 0xFF0000;  // blue
  canvas.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(canvas.PixelAt(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.PixelAt(2, 2), RGB(0, 0, 255));
  EXPECT_EQ(RedOf(clOlive), 128);
  EXPECT_EQ(GreenOf(clOlive), 128);
  EXPECT_EQ(BlueOf(clOlive), 0);
  EXPECT_FALSE(IsSystemColor(ResolveColor(clBtnFace)));
}

// A rectangle, a hatched bar and two lines at ratio 3 and at ratio 1: every device pixel at 3 is
// the colour of the logical pixel it lies in, so each logical pixel is a 3 x 3 block and the end
// point of a line stays out in logical pixels.
TEST_F(CanvasPixels, AtAWholeRatioEveryLogicalPixelIsABlockOfDevicePixels) {
  auto draw = [](ImageCanvas& c) {
    c.Fill(clWhite);
    c.Pen.Color = clRed;
    c.Brush.Color = clYellow;
    c.Rectangle(3, 2, 17, 11);
    c.Pen.Color = clBlack;
    c.Brush.Color = clOlive;
    c.Brush.Style = bsDiagCross;
    c.Rectangle(20, 4, 39, 28);
    c.MoveTo(1, 29);
    c.LineTo(38, 13);
    c.LineTo(38, 0);
  };
  draw(canvas);
  ImageCanvas scaled;
  scaled.SetSize(40, 30, 3.0);
  draw(scaled);
  scaled.Finish();
  const QImage& image = scaled.impl().image;
  ASSERT_EQ(image.width(), 120);
  ASSERT_EQ(image.height(), 90);
  int unlike = 0;
  for (int dy = 0; dy < 90; ++dy)
    for (int dx = 0; dx < 120; ++dx) {
      const QRgb p = image.pixel(dx, dy);
      unlike += RGB(qRed(p), qGreen(p), qBlue(p)) != canvas.PixelAt(dx / 3, dy / 3);
    }
  EXPECT_EQ(unlike, 0);
  EXPECT_EQ(scaled.PixelAt(38, 0), clWhite);  // the end point
  EXPECT_EQ(scaled.PixelAt(38, 1), clBlack);
  EXPECT_EQ(scaled.ImageWidth(), 40);
}

TEST_F(CanvasPixels, FarAwayCoordinatesAndAnEmptyPictureAreHarmless) {
  canvas.Pen.Color = clRed;
  canvas.Brush.Color = clRed;
  canvas.Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_EQ(Count(clRed), 40 * 30);
  ImageCanvas empty;
  empty.SetSize(0, 0);
  empty.Rectangle(0, 0, 10, 10);
  empty.MoveTo(0, 0);
  empty.LineTo(5, 5);
  empty.TextOut(1, 1, "x");
  EXPECT_EQ(empty.PenPos().Y, 1);
}

}  // namespace
