// Help on F1 and "?", the chosen point's value beside it and the point under a resting pointer:
// windows and texts over the picture, never in it.
#include <QDialog>
#include <QHelpEvent>
#include <QImage>
#include <QTextBrowser>
#include <QToolTip>

#include "WindowFixture.h"
#include "platform/qt/ImageCanvasImpl.h"

namespace {

class Help : public WindowFixture {
 protected:
  QDialog* HelpWindow() const { return form->window().qt->findChild<QDialog*>("Pomoc"); }
  QString HelpText() const {
    const QDialog* help = HelpWindow();
    const auto* text = help ? help->findChild<QTextBrowser*>() : nullptr;
    return text ? text->toPlainText() : QString();
  }
  QLabel* ValueTag() const { return form->window().qt->findChild<QLabel*>("ChosenValue"); }
};

TEST_F(Help, F1OpensItEscapeClosesItAndTheFocusGoesBack) {
  ShowAt();
  FocusChart();
  Key(Qt::Key_F1);
  QDialog* help = HelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Pomoc");
  EXPECT_TRUE(help->isModal() || help->windowModality() != Qt::NonModal);
  const QString text = HelpText();
  EXPECT_TRUE(text.startsWith("Co pokazuje ten program")) << text.left(80).toStdString();
  EXPECT_TRUE(text.contains("Na składową 1 najmocniej składają się zmienna 2")) << "what it shows now";
  for (const char* term : {"obserwacj", "zmienn", "Składowa główna", "Wariancja", "ładunek", "Wynik"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(term))) << term;
  EXPECT_NE(help->findChild<QPushButton*>(), nullptr);
  EXPECT_EQ(help->findChild<QPushButton*>()->text(), "Zamknij");

  Key(Qt::Key_Escape);
  EXPECT_EQ(HelpWindow(), nullptr) << "closed and gone";
  EXPECT_TRUE(Box()->hasFocus()) << "the focus is back on the chart";
  EXPECT_TRUE(DataView() == false);
}

TEST_F(Help, TheQuestionMarkOpensItInTheDataViewAndItsButtonClosesIt) {
  ShowAt();
  Edit(95, 100, 90);  // the data view
  ASSERT_TRUE(DataView());
  form->window().qt->activateWindow();
  form->Kl_A->widget().qt->setFocus();
  Settle();
  QWidget* before = QApplication::focusWidget();
  ASSERT_EQ(before, form->Kl_A->widget().qt.data());
  Key(Qt::Key_Question, Qt::ShiftModifier);
  ASSERT_NE(HelpWindow(), nullptr);
  EXPECT_TRUE(HelpText().contains("składowe główne zmienionej tabeli nie są jeszcze policzone"));
  EXPECT_FALSE(HelpText().contains("Na składową 1 najmocniej"));
  HelpWindow()->findChild<QPushButton*>()->click();
  Settle();
  EXPECT_EQ(HelpWindow(), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), before);
}

TEST_F(Help, TheHintTellsWhereTheHelpIs) {
  ShowAt();
  EXPECT_EQ(form->Label1->widget().qt->toolTip(), "Klawisz F1 albo znak zapytania otwiera pomoc.");
}

// The chosen point's name and value beside its ring while the chart has the focus; the picture
// stays what the paint routine drew.
TEST_F(Help, TheChosenValueIsShownBesideThePointNotInThePicture) {
  ShowAt();
  const QImage start = Picture();
  FocusChart();
  EXPECT_FALSE(ValueTag()->isVisible()) << "no point chosen yet";
  Key(Qt::Key_Down);
  for (int k = 1; k < 3; ++k) Key(Qt::Key_Down);
  for (int i = 1; i < 5; ++i) Key(Qt::Key_Right);
  ASSERT_TRUE(ValueTag()->isVisible());
  EXPECT_EQ(ValueTag()->text(), "Zmienna 3, obserwacja 5: 0,12");
  EXPECT_GT(ValueTag()->x(), 95) << "right of the point";
  EXPECT_EQ(Picture(), start);

  Key(Qt::Key_PageUp);  // the value follows an edit
  EXPECT_EQ(ValueTag()->text().left(25), "Zmienna 3, obserwacja 5: ");
  EXPECT_NE(ValueTag()->text(), "Zmienna 3, obserwacja 5: 0,12");

  for (int i = 5; i < 20; ++i) Key(Qt::Key_Right);  // the last point: the text goes left of it
  EXPECT_LT(ValueTag()->geometry().right(), form->Ramka->Width());
  EXPECT_TRUE(ValueTag()->text().startsWith("Zmienna 3, obserwacja 20: "));

  form->Kl_A->widget().qt->setFocus();
  Settle();
  EXPECT_FALSE(ValueTag()->isVisible()) << "gone with the focus";
}

TEST_F(Help, APointUnderTheRestingPointerTellsItsValue) {
  ShowAt();
  TChartDescription d;
  ASSERT_TRUE(ReadDescription(*form->Ramka, d));
  const TBox& marker = d.Parts[2].Cells[4].Box;
  const QPoint at((marker.Left + marker.Right) / 2, (marker.Top + marker.Bottom) / 2);
  QHelpEvent beside(QEvent::ToolTip, QPoint(at.x() + 9, at.y() - 12), Box()->mapToGlobal(at));
  QApplication::sendEvent(Box(), &beside);
  EXPECT_FALSE(QToolTip::isVisible()) << "nothing between the points";
  QHelpEvent over(QEvent::ToolTip, at, Box()->mapToGlobal(at));
  QApplication::sendEvent(Box(), &over);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "Zmienna 3, obserwacja 5: 0,12");
  QToolTip::hideText();
}

}  // namespace
