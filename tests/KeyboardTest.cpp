// Editing with the keyboard: Tab order, the chosen cell, and key edits that equal mouse edits.
#include <QImage>

#include "WindowFixture.h"
#include "analysis/SyntheticData.h"
#include "platform/qt/ImageCanvasImpl.h"
#include "window/DrawSeries.h"

namespace {

class Keyboard : public WindowFixture {
 protected:
  // Chooses (variable, observation) from the first cell.
  void Choose(int variable, int observation) {
    Key(Qt::Key_Down);  // the first key chooses variable 1, observation 1
    for (int k = 1; k < variable; ++k) Key(Qt::Key_Down);
    for (int i = 1; i < observation; ++i) Key(Qt::Key_Right);
  }
  int32_t DrawnY(int observation, int variable) {
    const ChartLayout l = ChartLayout::For(Box()->width(), Box()->height());
    return ValueY(l, VariableStrip(l, variable).StripMid(), form->Table[observation][variable]);
  }
};

// Each key edit against a mouse edit from the same table and view: a press on the point (or on
// the strip's nearest row when the point is drawn beyond it) and a release one row off.
TEST_F(Keyboard, KeyEditsEqualMouseEditsAtTheEdgesToo) {
  ShowAt();  // RowHeight 37: strip 3's rows 84..120 belong to it, 121 to strip 4
  const ObservationTable start = form->Table;
  const struct {
    double value;   // of variable 3, observation 5, before the edit
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int pressY;     // of the matching mouse edit
    int releaseY;
  } cases[] = {
      {2.0 / 37, Qt::Key_PageUp, {}, 100, 99},               // drawn at 100
      {2.0 / 37, Qt::Key_Up, Qt::ShiftModifier, 100, 99},
      {2.0 / 37, Qt::Key_PageDown, {}, 100, 101},
      {2.0 / 37, Qt::Key_Down, Qt::ShiftModifier, 100, 101},
      {18.0 / 37, Qt::Key_PageUp, {}, 84, 83},               // top row: clamped 2 below it
      {-18.0 / 37, Qt::Key_PageDown, {}, 120, 121},          // onto the frame line shared with 4
      {-19.0 / 37, Qt::Key_PageDown, {}, 120, 122},          // drawn on 121, below: clamped
      {0.9, Qt::Key_PageDown, {}, 84, 70},                   // drawn above the strip, at 69
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " key " << c.key);
    form->Table = start;
    form->Table[5][3] = c.value;
    form->Kl_A->Click();  // the components view of this table
    FocusChart();
    if (form->Chosen.Variable == 0) Choose(3, 5);
    ASSERT_EQ(form->Chosen.Variable, 3);
    ASSERT_EQ(form->Chosen.Observation, 5);
    ASSERT_EQ(c.releaseY, DrawnY(5, 3) + (c.key == Qt::Key_PageUp || c.key == Qt::Key_Up ? -1 : 1));
    Key(c.key, c.modifiers);
    EXPECT_TRUE(DataView());
    EXPECT_EQ(form->PressX, -1);
    const ObservationTable byKey = form->Table;
    const QImage keyPicture = Picture();

    form->Table = start;
    form->Table[5][3] = c.value;
    form->Kl_A->Click();
    Edit(95, c.pressY, c.releaseY);
    EXPECT_EQ(form->Table[5][3], byKey[5][3]);
    EXPECT_NE(form->Table[5][3], c.value);
    for (int j = 1; j <= 20; ++j)
      for (int i = 1; i <= 12; ++i) ASSERT_EQ(form->Table[j][i], byKey[j][i]) << j << "," << i;
    EXPECT_EQ(Picture(), keyPicture) << "the same picture as the mouse edit";
  }
  EXPECT_TRUE(reports.empty());
}

// At an even RowHeight a release draws the point one row above it: a key edit still moves the
// point exactly one pixel either way, as the mouse edit with the release that draws it there.
TEST_F(Keyboard, AKeyEditMovesThePointOnePixelAtAnEvenStepToo) {
  ShowAt(547, 520);  // RowHeight 40
  FocusChart();
  Choose(3, 5);
  const ObservationTable start = form->Table;
  const int32_t drawn = DrawnY(5, 3);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(DrawnY(5, 3), drawn - 1);
  const double raised = form->Table[5][3];
  Key(Qt::Key_PageDown);
  EXPECT_EQ(DrawnY(5, 3), drawn);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(DrawnY(5, 3), drawn + 1);

  form->Table = start;
  form->Kl_A->Click();
  const int32_t x = ChartLayout::For(Box()->width(), Box()->height()).ObservationX(5);
  Edit(x, drawn, drawn);  // released on the point's own row: drawn one above it
  EXPECT_EQ(form->Table[5][3], raised);
  EXPECT_TRUE(reports.empty());
}

// Home / End and Ctrl+Home / Ctrl+End jump along the variable and across the variables; Shift+Page
// Up / Down move the value ten pixels, as the mouse edit released ten rows off does.
TEST_F(Keyboard, JumpsAndTenPixelEditsAreTheMouseEditsTheyStandFor) {
  ShowAt();
  FocusChart();
  Choose(3, 5);
  Key(Qt::Key_End);
  EXPECT_EQ(form->Chosen.Observation, 20);
  EXPECT_EQ(form->Chosen.Variable, 3);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(form->Chosen.Variable, 10);
  Key(Qt::Key_Home);
  EXPECT_EQ(form->Chosen.Observation, 1);
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(form->Chosen.Variable, 1);
  EXPECT_EQ(form->Chosen.Observation, 1);

  for (int k = 1; k < 3; ++k) Key(Qt::Key_Down);
  for (int i = 1; i < 5; ++i) Key(Qt::Key_Right);
  const ObservationTable start = form->Table;
  const int32_t x = ChartLayout::For(Box()->width(), Box()->height()).ObservationX(5);
  for (const auto& [key, rows] : {std::pair{Qt::Key_PageUp, -10}, std::pair{Qt::Key_PageDown, 10}}) {
    SCOPED_TRACE(rows);
    form->Table = start;
    form->Kl_A->Click();
    const int32_t drawn = DrawnY(5, 3);
    Key(key, Qt::ShiftModifier);
    EXPECT_TRUE(DataView());
    EXPECT_EQ(DrawnY(5, 3), drawn + rows);
    const double keyed = form->Table[5][3];
    const QImage keyedPicture = Picture();
    form->Table = start;
    form->Kl_A->Click();
    Edit(x, drawn, drawn + rows);
    EXPECT_EQ(form->Table[5][3], keyed);
    EXPECT_EQ(Picture(), keyedPicture);
  }
  EXPECT_TRUE(reports.empty());
}

TEST_F(Keyboard, ArrowsStopAtTheEdgesAndAKeyEditInATinyWindowDoesNothing) {
  ShowAt();
  FocusChart();
  Key(Qt::Key_Up);  // chooses 1, 1
  Key(Qt::Key_Up);
  Key(Qt::Key_Left);
  EXPECT_EQ(form->Chosen.Variable, 1);
  EXPECT_EQ(form->Chosen.Observation, 1);
  for (int i = 0; i < 25; ++i) Key(Qt::Key_Right), Key(Qt::Key_Down);
  EXPECT_EQ(form->Chosen.Variable, 10);
  EXPECT_EQ(form->Chosen.Observation, 20);

  Resize(25, 40);  // ColumnStep 0: no strip area
  const ObservationTable before = form->Table;
  Key(Qt::Key_PageUp);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_FALSE(DataView()) << "nothing happened, as with a press there";
  EXPECT_EQ(form->PressX, -1);
  for (int j = 1; j <= 20; ++j)
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(form->Table[j][i], before[j][i]);
}

// Tab goes button, chart, button; the mouse never gives the chart the focus, and the focus mark
// lies only on the screen, never in the picture.
TEST_F(Keyboard, TabReachesTheChartTheMouseNeverDoes) {
  ShowAt();
  form->window().qt->activateWindow();
  Settle();
  EXPECT_FALSE(Box()->hasFocus()) << "not at start";
  Edit(95, 100, 100);  // to the data view, the button shown
  EXPECT_FALSE(Box()->hasFocus()) << "not by a click";
  QWidget* button = form->Kl_A->widget().qt;
  const QImage picture = Picture();

  Key(Qt::Key_Tab);
  EXPECT_TRUE(button->hasFocus());
  Key(Qt::Key_Tab);
  EXPECT_TRUE(Box()->hasFocus());
  Key(Qt::Key_Down);  // chooses variable 1, observation 1
  EXPECT_EQ(Picture(), picture) << "focus and choice draw nothing into the picture";
  const QImage screen = Box()->grab().toImage();
  const QRgb ring = Box()->palette().color(QPalette::Highlight).rgb();
  const int x1 = 19, y1 = DrawnY(1, 1);  // marker 16..21 wide, the ring 3 pixels out
  EXPECT_EQ(screen.pixel(x1 - 6, y1) & 0xFFFFFF, ring & 0xFFFFFF);
  EXPECT_EQ(screen.pixel(x1 + 3 + 2, y1) & 0xFFFFFF, ring & 0xFFFFFF);
  EXPECT_NE(picture.pixel(x1 - 6, y1) & 0xFFFFFF, ring & 0xFFFFFF);
  Key(Qt::Key_Backtab);
  EXPECT_TRUE(button->hasFocus());

  // Clicking the button hides it; the focus must not fall to the chart.
  QTest::mouseClick(button, Qt::LeftButton);
  Settle();
  EXPECT_FALSE(DataView());
  EXPECT_FALSE(Box()->hasFocus());
  Press(95, 100);
  Release(95, 90);
  EXPECT_FALSE(Box()->hasFocus());
}

}  // namespace
