// The window under a dark desktop theme keeps its designed light look.
#include "WindowFixture.h"

#include <QPalette>
#include <cmath>

#include "platform/qt/FixedPalette.h"

namespace {

// Relative luminance and contrast ratio as the web's accessibility rules define them.
double Luminance(QColor c) {
  auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
double Contrast(QColor a, QColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
QColor ToColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Where no theme is set (as here, offscreen), the fixed palette is the one Qt gives: the window
// looks as it always did.
TEST(FixedPaletteTest, IsTheLightPaletteQtGivesWithoutATheme) {
  const QPalette app = QApplication::palette();
  for (int group = 0; group < QPalette::NColorGroups; ++group)
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto g = static_cast<QPalette::ColorGroup>(group);
      const auto r = static_cast<QPalette::ColorRole>(role);
      EXPECT_EQ(FixedPalette().color(g, r), app.color(g, r)) << group << " " << role;
    }
}

// A dark palette on the application, as a dark desktop theme gives, set before the window is made.
class DarkTheme : public WindowFixture {
 protected:
  void SetUp() override {
    saved = QApplication::palette();
    const QColor face(50, 50, 50), text(240, 240, 240);
    QPalette dark(text, face, face.lighter(150), face.darker(150), face.darker(130), text, face.darker(140));
    dark.setColor(QPalette::Button, face);
    dark.setColor(QPalette::ButtonText, text);
    QApplication::setPalette(dark);
    WindowFixture::SetUp();
  }
  void TearDown() override {
    WindowFixture::TearDown();
    QApplication::setPalette(saved);
  }
  QPalette saved;
};

TEST_F(DarkTheme, TheWindowKeepsItsLightFaceAndTheSharesStayLegible) {
  ShowAt();
  const QColor face(239, 239, 239);
  EXPECT_EQ(ResolveColor(clBtnFace), RGB(239, 239, 239));
  EXPECT_EQ(ResolveColor(clWindowText), clBlack);
  EXPECT_EQ(form->window().qt->palette().color(QPalette::Window), face);
  QWidget* label = form->Label1->widget().qt;
  EXPECT_EQ(label->palette().color(QPalette::Window), face);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), Qt::black);
  EXPECT_EQ(label->grab().toImage().pixelColor(1, 1), face);  // drawn, not only set
  QWidget* button = form->Kl_A->widget().qt;
  EXPECT_EQ(button->palette().color(QPalette::Button), face);
  EXPECT_EQ(button->palette().color(QPalette::ButtonText), Qt::black);

  // The shares: their darkest pixel against the window's colour.
  EXPECT_EQ(Pixel(546, 491), ResolveColor(clBtnFace));
  QColor darkest = face;
  for (int y = 385; y < 430; ++y)
    for (int x = 400; x < 547; ++x) {
      const QColor c = ToColor(Pixel(x, y));
      if (Luminance(c) < Luminance(darkest)) darkest = c;
    }
  EXPECT_GE(Contrast(darkest, form->window().qt->palette().color(QPalette::Window)), 4.5);
  EXPECT_EQ(darkest, Qt::black);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
