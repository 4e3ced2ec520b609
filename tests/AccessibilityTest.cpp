// The accessible tree of the window as a screen reader reads it, queried in-process. (Offscreen,
// Qt drops accessibility events; scripts/atspi-check.sh hears them on the real bus.)
#include <QAccessible>

#include "WindowFixture.h"
#include "window/ChartLayout.h"

namespace {

class Accessibility : public WindowFixture {
 protected:
  QAccessibleInterface* Chart() { return QAccessible::queryAccessibleInterface(Box()); }
  static std::string Name(QAccessibleInterface* i) { return i->text(QAccessible::Name).toStdString(); }
  std::vector<std::string> ChildNames() {
    std::vector<std::string> names;
    for (int i = 0; i < Chart()->childCount(); ++i) names.push_back(Name(Chart()->child(i)));
    return names;
  }
  // The window's last child: what it shows, as a notification.
  std::string Status() {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form->window().qt);
    QAccessibleInterface* status = window->child(window->childCount() - 1);
    if (!status || status->role() != QAccessible::Notification) return "(no status)";
    EXPECT_EQ(status->parent(), window);
    EXPECT_EQ(window->indexOfChild(status), window->childCount() - 1);
    return Name(status);
  }
  QRect OnScreen(int left, int top, int width, int height) {
    return QRect(Box()->mapToGlobal(QPoint(left, top)), QSize(width, height));
  }
};

TEST_F(Accessibility, TheComponentsViewAtStart) {
  ShowAt();  // RowHeight 37, ColumnStep 19, ChartRight 390, loading axes at 442 and 494
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form->window().qt);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(Name(window), "Analiza Składowych Głównych");
  ASSERT_EQ(window->indexOfChild(Chart()), 0);

  QAccessibleInterface* chart = Chart();
  EXPECT_EQ(chart->role(), QAccessible::Chart);
  EXPECT_EQ(Name(chart), "Wykres składowych głównych");
  // The shares first, then what the components are made of, then where the help is.
  const std::string description = chart->text(QAccessible::Description).toStdString();
  EXPECT_EQ(description.rfind("Składowa 1: 59% wariancji, składowa 2: 10% wariancji. Na składową 1 ", 0), 0u)
      << description;
  EXPECT_TRUE(description.ends_with(". Klawisz F1 albo znak zapytania otwiera pomoc.")) << description;
  const std::vector<std::string> names = ChildNames();
  ASSERT_EQ(names.size(), 16u);
  EXPECT_EQ(names[0], "Zmienna 1");
  EXPECT_EQ(names[9], "Zmienna 10");
  EXPECT_EQ(names[10], "Wyniki składowej 1");
  EXPECT_EQ(names[11], "Wyniki składowej 2");
  EXPECT_EQ(names[12].rfind("Ładunki składowej 1: 0,31; 0,37; -0,33;", 0), 0u) << names[12];
  EXPECT_EQ(names[14], "Składowa 1: 59% wariancji");
  EXPECT_EQ(names[15], "Składowa 2: 10% wariancji");

  // Strip 3: its frame, its values as text, and a cell per observation.
  QAccessibleInterface* strip3 = chart->child(2);
  EXPECT_EQ(strip3->rect(), OnScreen(10, 83, 380, 38));
  EXPECT_EQ(strip3->parent(), chart);
  QAccessibleTextInterface* text = strip3->textInterface();
  ASSERT_TRUE(text);
  const QString values = text->text(0, text->characterCount());
  EXPECT_EQ(values.split("; ").size(), 20);
  EXPECT_FALSE(values.contains('.'));
  ASSERT_EQ(strip3->childCount(), 20);
  QAccessibleInterface* cell = strip3->child(4);
  EXPECT_EQ(cell->role(), QAccessible::Slider);
  EXPECT_EQ(Name(cell).rfind("Zmienna 3, obserwacja 5: ", 0), 0u) << Name(cell);
  EXPECT_EQ(Name(cell)[Name(cell).size() - 3], ',') << "two decimals after a comma";
  EXPECT_EQ(cell->parent(), strip3);
  EXPECT_EQ(strip3->indexOfChild(cell), 4);
  EXPECT_EQ(cell->rect().left(), OnScreen(92, 0, 1, 1).x());  // observation 5's marker, x = 95 ± 3
  EXPECT_EQ(cell->rect().width(), 6);
  EXPECT_EQ(strip3->child(4), cell) << "the same interface every time";

  EXPECT_EQ(chart->child(10)->rect(), OnScreen(10, 389, 380, 38));  // score strip 1
  const QRect bars1 = chart->child(12)->rect();
  EXPECT_TRUE(bars1.contains(OnScreen(442, 9, 1, 1).topLeft()));  // its axis
  EXPECT_LE(bars1.right(), OnScreen(493, 0, 1, 1).x());           // not into the next column
  const QRect share1 = chart->child(14)->rect();
  EXPECT_EQ(share1.topLeft(), OnScreen(422, 389, 1, 1).topLeft());  // where the text is drawn
  EXPECT_GT(share1.width(), 20);
  EXPECT_EQ(share1.height(), QFontMetrics([] { QFont f("Arial"); f.setPixelSize(16); return f; }()).height());
  EXPECT_EQ(chart->childAt(share1.center().x(), share1.center().y()), chart->child(14));
}

// A mouse edit leaves the components view: the parts of the components go, the chart is renamed,
// the edited strip's text and cell change; the button brings the parts back.
TEST_F(Accessibility, AnEditAndTheButtonChangeTheTree) {
  ShowAt();
  QAccessibleInterface* chart = Chart();
  QAccessibleInterface* cell = chart->child(2)->child(4);
  QAccessibleInterface* bars = chart->child(12);
  const QString textBefore = chart->child(2)->textInterface()->text(0, 1000);

  EXPECT_EQ(Status(), "Wykres składowych głównych. Składowa 1: 59% wariancji, składowa 2: 10% wariancji");
  Edit(95, 100, 100);  // variable 3, observation 5 := 2/37
  EXPECT_EQ(Status(), "Wykres danych");
  EXPECT_EQ(Name(chart), "Wykres danych");
  EXPECT_EQ(chart->text(QAccessible::Description).toStdString(),
            "Wykres pokazuje same dane: składowe główne zmienionej tabeli nie są jeszcze policzone. "
            "Przycisk „Oblicz składowe główne” (Alt+O) je liczy. "
            "Klawisz T otwiera tabelę danych, Enter wpisanie wartości punktu. "
            "Klawisz F1 albo znak zapytania otwiera pomoc.");
  EXPECT_EQ(chart->childCount(), 10);
  EXPECT_EQ(Name(cell), "Zmienna 3, obserwacja 5: 0,05");
  EXPECT_NE(chart->child(2)->textInterface()->text(0, 1000), textBefore);
  EXPECT_FALSE(bars->isValid());

  form->Kl_A->Click();
  EXPECT_EQ(chart->childCount(), 16);
  EXPECT_EQ(chart->child(12), bars) << "a part keeps its interface";
  EXPECT_TRUE(bars->isValid());
  EXPECT_EQ(chart->text(QAccessible::Description).toStdString().rfind("Składowa 1: ", 0), 0u);
  // The status tells the view and the shares, the first sentence of the description.
  const std::string description = chart->text(QAccessible::Description).toStdString();
  EXPECT_EQ(Status(), "Wykres składowych głównych. " + description.substr(0, description.find(". ")));
}

// The chosen cell is the accessible focus while the chart has the keyboard focus.
TEST_F(Accessibility, TheChosenCellIsTheFocus) {
  ShowAt();
  QAccessibleInterface* chart = Chart();
  form->window().qt->activateWindow();
  Settle();
  EXPECT_EQ(chart->focusChild(), nullptr);
  QTest::keyClick(form->window().qt, Qt::Key_Tab);
  Settle();
  ASSERT_TRUE(Box()->hasFocus());
  EXPECT_TRUE(chart->state().focused);
  EXPECT_EQ(chart->focusChild(), nullptr) << "no cell chosen before the first key";

  QTest::keyClick(Box(), Qt::Key_Down);  // the first key: variable 1, observation 1
  QTest::keyClick(Box(), Qt::Key_Down);
  QTest::keyClick(Box(), Qt::Key_Right);
  QAccessibleInterface* focus = chart->focusChild();
  ASSERT_TRUE(focus);
  EXPECT_EQ(focus, chart->child(1)->child(1));
  EXPECT_TRUE(focus->state().focused);
  EXPECT_FALSE(chart->child(1)->child(0)->state().focused);
  const std::string name = Name(focus);
  EXPECT_EQ(name.rfind("Zmienna 2, obserwacja 2: ", 0), 0u) << name;

  // A reader is handed the value only as the program words it: in the name, never as a bare
  // number. Page Up raises it, and the name says so.
  EXPECT_EQ(focus->valueInterface(), nullptr);
  const double before = form->Table[2][2];
  QTest::keyClick(Box(), Qt::Key_PageUp);
  EXPECT_GT(form->Table[2][2], before);
  EXPECT_EQ(chart->focusChild(), focus);
  EXPECT_NE(Name(focus), name);
  EXPECT_EQ(Name(focus).rfind("Zmienna 2, obserwacja 2: ", 0), 0u) << Name(focus);
}

// Every point's value lies inside its slider's range, generated values beyond what a release
// inside the strip can give among them (two of the generated table's).
TEST_F(Accessibility, EveryValueLiesInsideItsRange) {
  ShowAt();
  TChartDescription d;
  ASSERT_TRUE(ReadDescription(*form->Ramka, d));
  int beyond = 0;
  for (const TDescribedPart& part : d.Parts)
    for (const TDescribedCell& cell : part.Cells) {
      EXPECT_LE(cell.Minimum, cell.Value) << cell.Name;
      EXPECT_LE(cell.Value, cell.Maximum) << cell.Name;
      if (cell.Value == cell.Maximum || cell.Value == cell.Minimum) ++beyond;
    }
  EXPECT_GE(beyond, 2) << "the generated table has values beyond a release's reach";
}

}  // namespace
