// The window: start-up, the designed layout, resizing and the error handler.
#include "WindowFixture.h"

#include <cmath>

namespace {

using WindowTest = WindowFixture;

TEST_F(WindowTest, StartsWithTheDesignedControlsAndTheButtonHidden) {
  EXPECT_EQ(form->window().qt->windowTitle().toStdString(), "Analiza Składowych Głównych");
  EXPECT_EQ(form->PressX, -1);
  EXPECT_EQ(form->ReleaseX, 0);
  EXPECT_EQ(form->Table[1][1], 0.0);  // nothing generated before the window shows
  EXPECT_FALSE(form->Kl_A->Visible());
  EXPECT_EQ(form->Kl_A->Width(), 193);
  EXPECT_EQ(form->Kl_A->Height(), 33);
  EXPECT_EQ(form->Label1->Width(), 121);
  auto* label = static_cast<QLabel*>(form->Label1->widget().qt.data());
  EXPECT_EQ(label->text().toStdString(), " Klikaj na zmiennych");
  auto* button = static_cast<QPushButton*>(form->Kl_A->widget().qt.data());
  EXPECT_EQ(button->text().toStdString(), "&Oblicz składowe główne");
  EXPECT_EQ(button->font().pixelSize(), 13);
  EXPECT_EQ(form->Ramka->widget().qt->objectName().toStdString(), "Ramka");  // the designed names
  EXPECT_EQ(label->objectName().toStdString(), "Label1");
  EXPECT_EQ(button->objectName().toStdString(), "Kl_A");
}

TEST_F(WindowTest, TableIsFilledBeforeTheFirstPaintAndComponentsAreShown) {
  double firstSeen = 99.0;
  const TNotifyEvent paint = form->OnPaint;
  form->OnPaint = [&](TObject* s) {
    if (firstSeen == 99.0) firstSeen = form->Table[1][1];
    paint(s);
  };
  ShowAt();
  EXPECT_NEAR(firstSeen, -0.144774, 5e-7);
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(form->Ramka->Width(), 547);
  EXPECT_EQ(form->Ramka->Height(), 492);
  EXPECT_NEAR(std::fabs(form->Table[9][11]), 0.3, 1e-15);  // the scores were computed
}

TEST_F(WindowTest, ResizeKeepsTheButtonAtTheBottomAndThePaintBoxFilling) {
  ShowAt();
  EXPECT_EQ(form->Kl_A->Top(), 492 - 37);
  Resize(700, 300);
  EXPECT_EQ(form->Kl_A->Top(), 300 - 37);
  EXPECT_EQ(form->Kl_A->Left(), 8);
  EXPECT_EQ(form->Ramka->Width(), 700);
  EXPECT_EQ(form->Ramka->Height(), 300);
  EXPECT_EQ(form->Ramka->Picture().ImageWidth(), 700);
}

// The picture of the real window at the designed size.
TEST_F(WindowTest, PixelsOfTheComponentsView) {
  ShowAt();
  EXPECT_EQ(Pixel(10, 20), clGray);      // strip 1's left frame line
  EXPECT_EQ(Pixel(200, 10), clWhite);    // inside strip 1
  EXPECT_EQ(Pixel(16, 31), clRed);       // marker of observation 1: outline in the pen colour
  EXPECT_EQ(Pixel(17, 31), clYellow);    // and yellow inside
  EXPECT_EQ(Pixel(494, 274), clBlack);   // outline of the longest bar

  const TColor face = ResolveColor(clBtnFace);
  int olive = 0, gaps = 0, other = 0;
  for (int y = 275; y < 297; ++y)
    for (int x = 495; x < 516; ++x) {
      const TColor c = Pixel(x, y);
      (c == clOlive ? olive : c == face ? gaps : other) += 1;
    }
  EXPECT_GT(olive, 30);
  EXPECT_GT(gaps, 150);
  EXPECT_EQ(other, 0);

  int black = 0, red = 0;
  for (int y = 390; y < 426; ++y)
    for (int x = 11; x < 389; ++x) {
      black += Pixel(x, y) == clBlack;
      red += Pixel(x, y) == clRed;
    }
  EXPECT_GT(black, 300);  // the score polyline and marker outlines of component 1
  EXPECT_EQ(red, 0);
}

TEST(ApplicationText, TitleAndFullStopRules) {
  EXPECT_EQ(TitleFromProgramPath("C:\\APPS\\DEMO.EXE"), "Demo");
  EXPECT_EQ(TitleFromProgramPath("/usr/bin/pca"), "pca");  // the first character as it is
  EXPECT_EQ(TitleFromProgramPath("/opt/MY.PROG.EXE"), "My");
  EXPECT_EQ(TitleFromProgramPath("ŁÓDŹ"), "Łódź");
  EXPECT_EQ(TitleFromProgramPath(""), "");
  EXPECT_EQ(WithFullStop("Floating point division by zero"), "Floating point division by zero.");
  EXPECT_EQ(WithFullStop("Done."), "Done.");
  EXPECT_EQ(WithFullStop("Why!"), "Why!");  // '!' sorts before '.'
  EXPECT_EQ(WithFullStop("Range check error"), "Range check error.");
  EXPECT_EQ(WithFullStop(""), "");
}

TEST_F(WindowTest, AnErrorInAHandlerIsReportedOnceAndTheNextEventIsHandled) {
  ShowAt();
  int calls = 0;
  form->OnResize = [&](TObject*) {
    ++calls;
    guarded::Raise(guarded::Fault::IntegerOverflow);
  };
  Resize(600, 500);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].caption, Application->Title);
  EXPECT_EQ(reports[0].message, "Integer overflow.");
  form->OnResize = [this](TObject* s) { form->Resize(s); };
  Resize(620, 480);
  EXPECT_EQ(reports.size(), 1u);
  EXPECT_EQ(form->Kl_A->Top(), 480 - 37);
  EXPECT_EQ(calls, 1);
}

// A paint event that fails shows its box after the paint, once.
TEST_F(WindowTest, AFailingWindowPaintIsReportedAfterThePaint) {
  ShowAt();
  form->Table = ObservationTable{};
  Resize(560, 500);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].message, "Floating point division by zero.");
  EXPECT_EQ(Pixel(10, 20), clGray);  // the ten strips stayed
  EXPECT_EQ(Pixel(442 + 13, 100), ResolveColor(clBtnFace));
}

}  // namespace
