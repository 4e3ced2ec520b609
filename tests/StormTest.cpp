// A long, seeded random storm of real events on the offscreen window: presses and releases with
// every button anywhere, keys and Tab, resizes, clicks of the button, repaints (with the accessible
// tree listening), and now and then a table whose
// data leave nothing to analyse. After every event the table, the view and the error reports must
// still be what the program promises.
//
// PCA_STORM_SEED and PCA_STORM_EVENTS choose the sequence and its length; a failure names the seed
// and the event, so that the same storm can be run again.
#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include <QAccessible>
#include <QKeySequence>

#include "WindowFixture.h"
#include "analysis/SyntheticData.h"

namespace {

uint64_t FromEnvironment(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  return std::strtoull(text, nullptr, 10);
}

// The only texts an error box may show.
const std::set<std::string> kMessages = {
    "Range check error.", "Integer overflow.", "Floating point division by zero.",
    "Invalid floating point operation.", "Floating point overflow."};

class Storm : public WindowFixture {
 protected:
  Storm()
      : seed(FromEnvironment("PCA_STORM_SEED", 20240607)),
        wanted(FromEnvironment("PCA_STORM_EVENTS", 100000)),
        rng(seed) {}

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }

  // A coordinate along an axis of the given size: mostly inside, on the edges, beyond the far
  // edge, negative, and now and then far away.
  int Coordinate(int size) {
    const int kind = Uniform(0, 99);
    if (kind < 60) return Uniform(0, std::max(0, size - 1));
    if (kind < 70) return Uniform(-1, 1) + (Chance(0.5) ? 0 : size);
    if (kind < 82) return size + Uniform(0, 2000);
    if (kind < 95) return Uniform(-2000, -1);
    return Chance(0.5) ? Uniform(-1000000, -2001) : Uniform(2001, 1000000);
  }

  static constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton,
                                                  Qt::BackButton, Qt::ForwardButton};
  static constexpr const char* kButtonNames[] = {"left", "right", "middle", "back", "forward"};
  Qt::KeyboardModifiers AnyModifiers() {
    Qt::KeyboardModifiers m;
    if (Chance(0.1)) m |= Qt::ShiftModifier;
    if (Chance(0.1)) m |= Qt::ControlModifier;
    if (Chance(0.1)) m |= Qt::AltModifier;
    return m;
  }

  // Client sizes: mostly ordinary, often tiny, rarely very large.
  QSize AnySize() {
    const int kind = Uniform(0, 999);
    if (kind < 5) return {Uniform(1, 4000), Uniform(1, 3000)};
    if (kind < 400) return {Uniform(1, 40), Uniform(1, 40)};
    return {Uniform(1, 900), Uniform(1, 700)};
  }

  // What the user's actions promise, followed alongside the window.
  bool pressPending = false;  // a press at x >= 0 that no release has ended yet
  bool dataView = false;      // the button shown

  const uint64_t seed;
  const uint64_t wanted;
  std::mt19937_64 rng;
  std::map<std::string, long> counts;
};

TEST_F(Storm, EveryEventKeepsTableViewAndReportsSound) {
  ShowAt();
  form->window().qt->activateWindow();
  ASSERT_TRUE(QAccessible::queryAccessibleInterface(Box()));  // the chart describes every change
  static constexpr Qt::Key kKeys[] = {Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Left,   Qt::Key_Right,
                                      Qt::Key_Up,   Qt::Key_Down,    Qt::Key_PageUp, Qt::Key_PageDown};
  ObservationTable generated{};
  GenerateObservations(generated);
  const std::string title = Application->Title;

  uint64_t events = 0;
  while (events < wanted) {
    const size_t reportsBefore = reports.size();
    const ObservationTable tableBefore = form->Table;
    const int kind = Uniform(0, 999);
    bool endsPress = false;  // a release that ends a pending press: the one event that may edit
    bool keyEvent = false;   // a key edit is a press and its release, when it edits at all
    const bool viewBefore = DataView();
    std::ostringstream what;
    try {
      if (kind < 360) {  // a press, now and then as the second press of a double click
        const int x = Coordinate(Box()->width()), y = Coordinate(Box()->height());
        const int b = Uniform(0, 4);
        const bool twice = Chance(0.05);
        what << (twice ? "double press " : "press ") << kButtonNames[b] << " at " << x << "," << y;
        if (twice)
          QTest::mouseDClick(Box(), kButtons[b], AnyModifiers(), QPoint(x, y));
        else
          QTest::mousePress(Box(), kButtons[b], AnyModifiers(), QPoint(x, y));
        pressPending = x >= 0;
      } else if (kind < 720) {  // a release
        const int x = Coordinate(Box()->width()), y = Coordinate(Box()->height());
        const int b = Uniform(0, 4);
        what << "release " << kButtonNames[b] << " at " << x << "," << y;
        QTest::mouseRelease(Box(), kButtons[b], AnyModifiers(), QPoint(x, y));
        endsPress = pressPending;
        if (pressPending) dataView = true;
        pressPending = false;
      } else if (kind < 780) {  // a key where the focus is, the chart's keys and Tab
        const Qt::Key key = kKeys[Uniform(0, 7)];
        const Qt::KeyboardModifiers m = AnyModifiers();
        what << "key " << QKeySequence(key | m).toString().toStdString();
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : form->window().qt.data(), key, m);
        keyEvent = true;
      } else if (kind < 800) {
        const QSize s = AnySize();
        what << "resize to " << s.width() << "x" << s.height();
        form->SetClientSize(s.width(), s.height());
      } else if (kind < 930) {
        what << "repaint";
        form->Ramka->Refresh();
      } else if (kind < 990) {
        if (!form->Kl_A->Visible()) continue;  // only a shown button can be clicked
        what << "click of the button";
        QTest::mouseClick(form->Kl_A->widget().qt, Qt::LeftButton);
        dataView = false;
      } else {
        // Not an event of the window: data that leave nothing to analyse, or fresh data again.
        const int t = Uniform(0, 2);
        for (int j = 1; j <= 20; ++j)
          for (int i = 1; i <= 10; ++i)
            form->Table[j][i] = t == 0 ? 0.0 : t == 1 ? 0.25 : generated[j][i];
        ++counts[t == 0 ? "table of zeros" : t == 1 ? "constant table" : "table regenerated"];
        continue;
      }
      Settle();  // paints and reports queued by the event
    } catch (const std::exception& e) {
      FAIL() << "seed " << seed << ", event " << events + 1 << " (" << what.str()
             << "): an exception escaped: " << e.what();
    } catch (...) {
      FAIL() << "seed " << seed << ", event " << events + 1 << " (" << what.str()
             << "): an unknown exception escaped";
    }
    ++events;
    ++counts[what.str().substr(0, what.str().find(' '))];

    SCOPED_TRACE(testing::Message() << "seed " << seed << ", event " << events << ": "
                                    << what.str());
    for (int j = 1; j <= 20; ++j) {
      ASSERT_EQ(form->Table[j][13], 0.0) << "row " << j;
      for (int i = 1; i <= 12; ++i) {  // variables at most 2, scores scaled to at most 0.3
        const double v = form->Table[j][i], limit = i <= 10 ? 2.0 : 0.3 + 1e-12;
        ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= limit)
            << "[" << j << "][" << i << "] " << v;
      }
    }
    if (keyEvent) {  // the view may only turn to the data view, and only when no press waits
      ASSERT_TRUE(DataView() == viewBefore || (DataView() && !pressPending));
      dataView = DataView();
    }
    ASSERT_EQ(DataView(), dataView);
    ASSERT_EQ(form->PressX >= 0, pressPending) << "PressX " << form->PressX;
    ASSERT_LE(reports.size(), reportsBefore + 1) << "more than one box for one event";
    for (size_t r = reportsBefore; r < reports.size(); ++r) {
      ASSERT_EQ(kMessages.count(reports[r].message), 1u) << reports[r].message;
      ASSERT_EQ(reports[r].caption, title);
      ASSERT_FALSE(DataView()) << "the data view raised " << reports[r].message;
      ++counts["error box"];
    }
    if (DataView()) ++counts["in the data view"];
    int edited = 0;
    for (int j = 1; j <= 20; ++j)
      for (int i = 1; i <= 10; ++i) edited += form->Table[j][i] != tableBefore[j][i];
    ASSERT_LE(edited, endsPress || keyEvent ? 1 : 0) << "cells changed";
    if (keyEvent && edited) {
      ASSERT_TRUE(DataView());
    }
    counts["cell edited"] += edited;
  }

  std::ostringstream summary;
  summary << "storm of " << events << " events, seed " << seed << ":";
  for (const auto& [name, n] : counts) summary << " " << name << " " << n << ";";
  std::cout << summary.str() << "\n";
  RecordProperty("summary", summary.str());

  // The storm reached what it is meant to reach: both views, and the error path.
  if (wanted >= 10000) {
    EXPECT_GT(counts["error box"], 0) << summary.str();
    EXPECT_GT(counts["in the data view"], 0) << summary.str();
    EXPECT_LT(counts["in the data view"], static_cast<long>(events)) << summary.str();
  }
}

}  // namespace
