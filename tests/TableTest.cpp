// The table window: the table's numbers as the chart words them, values typed into it (taken,
// or refused with a message and nothing changed), and its following every change while open.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "WindowFixture.h"
#include "analysis/SyntheticData.h"
#include "window/ChartMeaning.h"
#include "window/DrawSeries.h"
#include "window/TypedValue.h"

namespace {

class Table : public WindowFixture {
 protected:
  QDialog* Window() const { return form->window().qt->findChild<QDialog*>("TabelaDanych"); }
  QTableWidget* Grid() const { return Window() ? Window()->findChild<QTableWidget*>() : nullptr; }
  QString Message() const { return Window()->findChild<QLabel*>("TableMessage")->text(); }
  QString Cell(int row, int column) const { return Grid()->item(row, column)->text(); }
  // The open cell editor.
  QLineEdit* Editor() const { return qobject_cast<QLineEdit*>(Grid()->indexWidget(Grid()->currentIndex())); }
  void Open() {
    Key(Qt::Key_T);
    ASSERT_NE(Grid(), nullptr);
  }
  // Types `text` into cell (row, column), both from 0, and Enter, as a user at the table does.
  void Type(int row, int column, const QString& text) {
    Grid()->setCurrentCell(row, column);
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Return);  // Enter starts editing
    QLineEdit* line = Editor();
    ASSERT_NE(line, nullptr);
    line->clear();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
    Settle();
  }
};

TEST_F(Table, ItHoldsTheTableAsTheChartWordsItAndFollowsEveryChange) {
  ShowAt();
  Open();
  EXPECT_EQ(Window()->windowTitle(), "Tabela danych");
  ASSERT_EQ(Grid()->rowCount(), 22);  // 20 observations, the loadings of two components
  ASSERT_EQ(Grid()->columnCount(), 12);
  EXPECT_EQ(Grid()->verticalHeaderItem(4)->text(), "Obserwacja 5");
  EXPECT_EQ(Grid()->horizontalHeaderItem(2)->text(), "Zmienna 3");
  EXPECT_EQ(Grid()->horizontalHeaderItem(10)->text(), "Wynik 1");
  EXPECT_EQ(Grid()->verticalHeaderItem(21)->text(), "Ładunki składowej 2");
  for (int j = 1; j <= 20; ++j)
    for (int i = 1; i <= 12; ++i)
      ASSERT_EQ(Cell(j - 1, i - 1).toStdString(), PolishNumber(form->Table[j][i])) << j << "," << i;
  EXPECT_EQ(Cell(20, 1).toStdString(), PolishNumber(form->Drawn.Loadings[2][1]));
  EXPECT_EQ(Cell(21, 7).toStdString(), PolishNumber(form->Drawn.Loadings[8][2]));
  EXPECT_EQ(Cell(4, 2), "0,12");
  EXPECT_TRUE(Window()->findChild<QLabel*>()->text().startsWith("Składowa 1: 59% wariancji"));

  Edit(95, 100, 60);  // a mouse edit of variable 3, observation 5 while the table is open
  ASSERT_EQ(Grid()->columnCount(), 10) << "no scores in the data view";
  EXPECT_EQ(Grid()->rowCount(), 20);
  EXPECT_EQ(Cell(4, 2).toStdString(), PolishNumber(form->Table[5][3]));
  EXPECT_NE(Cell(4, 2), "0,12");
  EXPECT_TRUE(Window()->findChild<QLabel*>()->text().startsWith("Wyniki, ładunki i udziały wariancji nie są pokazane."));
  Key(Qt::Key_Z, Qt::ControlModifier);  // typed in the table window
  EXPECT_EQ(Cell(4, 2), "0,12");
  EXPECT_EQ(Grid()->columnCount(), 12);

  QTest::keyClick(Grid(), Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(Window() == nullptr || !Window()->isVisible());
  EXPECT_TRUE(reports.empty());
}

TEST_F(Table, ATypedValueIsAnEditOnTheChartInTheReadersTreeAndUndone) {
  ShowAt();
  const QImage start = Picture();
  Open();
  Type(4, 2, "0,3");
  EXPECT_EQ(form->Table[5][3], 0.3);
  EXPECT_TRUE(DataView());
  EXPECT_EQ(Cell(4, 2), "0,30");
  EXPECT_TRUE(Message().isEmpty());
  const ChartLayout l = ChartLayout::For(547, 492);
  const int32_t y = ValueY(l, VariableStrip(l, 3).StripMid(), 0.3);
  EXPECT_EQ(Pixel(l.ObservationX(5) - 2, y - 2), clYellow);
  EXPECT_EQ(Pixel(l.ObservationX(5) - 3, y), clRed) << "the marker's outline";
  const TChartDescription d = form->Opis(nullptr);
  EXPECT_EQ(d.Parts[2].Cells[4].Name, "Zmienna 3, obserwacja 5: 0,30");
  EXPECT_EQ(d.Status, "Wpisano: Zmienna 3, obserwacja 5: 0,30. Wykres danych");

  Type(0, 0, "-,25");
  Type(19, 9, " 0.5 ");
  EXPECT_EQ(form->Table[1][1], -0.25);
  EXPECT_EQ(form->Table[20][10], 0.5);
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(DataView());
  EXPECT_EQ(Picture(), start) << "the typed values undone: the start again";
  EXPECT_EQ(Cell(4, 2), "0,12");
  EXPECT_TRUE(reports.empty());
}

TEST_F(Table, ABadValueChangesNothingAndSaysWhy) {
  ShowAt();
  Open();
  const ObservationTable before = form->Table;
  const QImage picture = Picture();
  for (const char* bad : {"", "abc", "1e400", "nan", "0,9", "-0,51", "1,2,3", "--1", ",",
                          "0,1234567890123456789012345678901"}) {
    SCOPED_TRACE(bad);
    Type(4, 2, bad);
    for (int j = 1; j <= 20; ++j)
      for (int i = 1; i <= 10; ++i) ASSERT_EQ(form->Table[j][i], before[j][i]);
    EXPECT_FALSE(DataView());
    EXPECT_EQ(Picture(), picture);
    EXPECT_EQ(Cell(4, 2), "0,12");
    EXPECT_TRUE(Message().contains("Wpisz liczbę od -0,5 do 0,5")) << Message().toStdString();
    Settle();  // the editor opens again with the text and the message
    QLineEdit* line = Editor();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->accessibleDescription(), Message());
    QTest::keyClick(line, Qt::Key_Escape);  // gives the editing up
    Settle();
  }
  EXPECT_EQ(form->History.Undo(), std::nullopt) << "no edit recorded";
  EXPECT_TRUE(reports.empty());
}

TEST_F(Table, EnterOnTheChosenPointOpensItsCellForTyping) {
  ShowAt();
  FocusChart();
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Right);  // variable 2, observation 2
  Key(Qt::Key_Return);
  ASSERT_NE(Grid(), nullptr);
  EXPECT_EQ(Grid()->currentRow(), 1);
  EXPECT_EQ(Grid()->currentColumn(), 1);
  QLineEdit* line = Editor();
  ASSERT_NE(line, nullptr);
  line->clear();
  QTest::keyClicks(line, "-0,2");
  QTest::keyClick(line, Qt::Key_Return);
  Settle();
  EXPECT_EQ(form->Table[2][2], -0.2);
}

TEST_F(Table, TheHelpsButtonOpensIt) {
  ShowAt();
  Key(Qt::Key_F1);
  auto* help = form->window().qt->findChild<QDialog*>("Pomoc");
  ASSERT_NE(help, nullptr);
  QPushButton* button = nullptr;
  for (auto* b : help->findChildren<QPushButton*>())
    if (b->text() == "Tabela danych") button = b;
  ASSERT_NE(button, nullptr);
  button->click();
  Settle();
  ASSERT_NE(Grid(), nullptr);
  EXPECT_TRUE(Window()->isVisible());
  EXPECT_EQ(form->window().qt->findChild<QDialog*>("Pomoc"), nullptr);
}

TEST(TypedValue, CommaOrPointSignAndTheRangeEdges) {
  EXPECT_EQ(ReadTypedValue("0,3").Value, 0.3);
  EXPECT_EQ(ReadTypedValue("0.3").Value, 0.3);
  EXPECT_EQ(ReadTypedValue("+.5").Value, 0.5);
  EXPECT_EQ(ReadTypedValue("-0,5").Value, -0.5);
  EXPECT_EQ(ReadTypedValue("-,25").Value, -0.25);
  EXPECT_EQ(ReadTypedValue("0,1234567890123").Value, 0.1234567890123);
  EXPECT_NEAR(*ReadTypedValue("0,0000000000000000000000001").Value, 1e-25, 1e-40);
  EXPECT_EQ(ReadTypedValue("0,500000000000000000001").Value, std::nullopt) << "beyond 0.5 by its last digit";
  EXPECT_EQ(ReadTypedValue("-0,5000").Value, -0.5);
  EXPECT_EQ(ReadTypedValue("0,6").Value, std::nullopt);
  EXPECT_EQ(ReadTypedValue("1234567890123456789").Value, std::nullopt);
  EXPECT_EQ(ReadTypedValue("0,49999999999999999").Value, 0.5) << "read to fifteen digits";
  EXPECT_EQ(ReadTypedValue("5,").Value, std::nullopt);
  EXPECT_EQ(ReadTypedValue("0,5000000000000001").Value, std::nullopt);
  const auto zero = ReadTypedValue("-0");
  ASSERT_TRUE(zero.Value);
  EXPECT_FALSE(std::signbit(*zero.Value)) << "-0 is worded and drawn as 0";
}

}  // namespace
