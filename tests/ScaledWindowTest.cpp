// The window on a scaled screen: run with QT_SCALE_FACTOR set (ctest runs it at 2 and at 1.5).
// The picture is compared with the same paint into a plain picture at ratio 1.
#include <QImage>
#include <QWindow>
#include <cmath>
#include <set>

#include "RecordingCanvas.h"
#include "WindowFixture.h"
#include "analysis/SyntheticData.h"
#include "platform/qt/ImageCanvasImpl.h"

namespace {

double ScaleFactor() {
  bool ok = false;
  const double f = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
  return ok && f > 0 ? f : 1.0;
}

struct TextCell {
  int left, top, right, bottom;  // logical pixels, right and bottom excluded
  bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class Scaled : public WindowFixture {
 protected:
  void SetUp() override {
    ASSERT_GT(ScaleFactor(), 1.0) << "run with QT_SCALE_FACTOR set";
    WindowFixture::SetUp();
    ShowAt();
    ratio = Box()->devicePixelRatioF();
    ImageCanvas& picture = form->Ramka->Picture();
    picture.Finish();
    image = picture.impl().image;
    reference.SetSize(547, 492);
    reference.Fill(clBtnFace);
    form->Paint(reference, 547, 492);
  }

  // The text cells of the shares, with a margin for glyphs that reach outside their advance.
  std::vector<TextCell> Texts() {
    RecordingCanvas recording;
    form->Paint(recording, 547, 492);
    std::vector<TextCell> boxes;
    reference.Font.Size = 12;
    for (const CanvasOp& op : recording.ops) {
      int x = 0, y = 0;
      char text[16] = {};
      if (std::sscanf(op.text.c_str(), "TextOut %d %d %15s", &x, &y, text) != 3) continue;
      boxes.push_back({x - 2, y - 2, x + reference.TextWidth(text) + 2, y + 22});
    }
    return boxes;
  }
  bool InText(int x, int y) {
    if (texts.empty()) texts = Texts();
    for (const TextCell& b : texts)
      if (b.Holds(x, y)) return true;
    return false;
  }
  // The logical pixel that device pixel d shows, as a press there maps back.
  int Logical(int d) const { return static_cast<int>(std::floor(d / ratio)); }
  TColor Device(int dx, int dy) const {
    const QRgb p = image.pixel(dx, dy);
    return RGB(qRed(p), qGreen(p), qBlue(p));
  }

  // A press or a release on device pixel (dx, dy) of the window, through the window system's
  // entry, which takes the unrounded logical position.
  void DeviceMouse(QEvent::Type type, int dx, int dy) {
    QWindow* window = form->window().qt->windowHandle();
    const QPointF local(dx / ratio, dy / ratio);
    const Qt::MouseButtons state = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    timestamp += 1000;  // far apart: no double click
    qt_handleMouseEvent(window, local, window->mapToGlobal(local), state, Qt::LeftButton, type,
                        Qt::NoModifier, timestamp);
    Settle();
  }
  int timestamp = 0;

  double ratio = 1.0;
  QImage image;
  ImageCanvas reference;
  std::vector<TextCell> texts;
};

TEST_F(Scaled, ThePictureIsKeptAtTheScreensRatio) {
  EXPECT_DOUBLE_EQ(ratio, ScaleFactor());
  EXPECT_EQ(form->Ramka->Picture().ImageWidth(), 547);
  EXPECT_EQ(image.width(), static_cast<int>(std::ceil(547 * ratio)));
  EXPECT_EQ(image.height(), static_cast<int>(std::ceil(492 * ratio)));
  EXPECT_DOUBLE_EQ(image.devicePixelRatio(), ratio);
}

// At a whole ratio k every logical pixel outside the text covers its k x k device pixels in its
// own colour; at any ratio every device pixel outside the text is one of the picture's colours,
// and every logical pixel shows at the device pixel of its centre, so no frame line vanishes.
TEST_F(Scaled, OutsideTheTextEveryDevicePixelIsThePicturesOwn) {
  std::set<TColor> colours;
  for (int y = 0; y < 492; ++y)
    for (int x = 0; x < 547; ++x)
      if (!InText(x, y)) colours.insert(reference.PixelAt(x, y));
  EXPECT_EQ(colours.size(), 7u);  // face, white, gray, red, yellow, black, olive

  const bool whole = ratio == std::floor(ratio);
  int offPalette = 0, notItsOwn = 0;
  for (int dy = 0; dy < image.height(); ++dy)
    for (int dx = 0; dx < image.width(); ++dx) {
      const int x = Logical(dx), y = Logical(dy);
      if (InText(x, y)) continue;
      const TColor c = Device(dx, dy);
      offPalette += colours.count(c) == 0;
      if (whole) notItsOwn += c != reference.PixelAt(x, y);
    }
  EXPECT_EQ(offPalette, 0);
  EXPECT_EQ(notItsOwn, 0);

  int unseen = 0;
  ImageCanvas& picture = form->Ramka->Picture();
  for (int y = 0; y < 492; ++y)
    for (int x = 0; x < 547; ++x)
      if (!InText(x, y)) unseen += picture.PixelAt(x, y) != reference.PixelAt(x, y);
  EXPECT_EQ(unseen, 0);
}

// A picture merely blown up would give every device pixel of the shares the colour of the
// logical pixel it lies in; drawn at device resolution, many differ.
TEST_F(Scaled, TheSharesAreDrawnAtDeviceResolution) {
  ASSERT_EQ(Texts().size(), 2u);
  for (const TextCell& b : Texts()) {
    int ink = 0, unlikeBlownUp = 0;
    for (int dy = static_cast<int>(b.top * ratio); dy < static_cast<int>(b.bottom * ratio); ++dy)
      for (int dx = static_cast<int>(b.left * ratio); dx < static_cast<int>(b.right * ratio); ++dx) {
        const TColor c = Device(dx, dy);
        ink += c != ResolveColor(clBtnFace);
        unlikeBlownUp += c != reference.PixelAt(static_cast<int>(dx / ratio), static_cast<int>(dy / ratio));
      }
    EXPECT_GT(ink, 100);
    EXPECT_GT(unlikeBlownUp, ink / 5) << "ink " << ink;
  }
}

// Logical column 28 is observation 1's last, 29 observation 2's first. The last device pixel of
// column 28 lies in its right half, where rounding the position would land on 29.
TEST_F(Scaled, APressOnTheLastDevicePixelOfAColumnEditsTheCellDrawnThere) {
  const int dx = static_cast<int>(std::ceil(29 * ratio)) - 1;
  const int dy = static_cast<int>(std::ceil(21 * ratio)) - 1;  // strip 1, logical row 20
  ASSERT_EQ(Logical(dx), 28);
  DeviceMouse(QEvent::MouseButtonPress, dx, dy);
  EXPECT_EQ(form->PressX, 28);
  EXPECT_EQ(form->PressY, 20);
  DeviceMouse(QEvent::MouseButtonRelease, dx, dy);
  ObservationTable generated{};
  GenerateObservations(generated);
  EXPECT_NE(form->Table[1][1], generated[1][1]);
  EXPECT_EQ(form->Table[2][1], generated[2][1]);
  EXPECT_TRUE(DataView());
  EXPECT_TRUE(reports.empty());
}

}  // namespace
