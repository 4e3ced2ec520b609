// Undo and redo: every edit, by the mouse or a key, in either view, taken back to the table, the
// view and the picture before it, and made again.
#include <functional>

#include "WindowFixture.h"

namespace {

struct WindowState {
  ObservationTable table;
  bool dataView;
  QImage picture;
};

class Undo : public WindowFixture {
 protected:
  WindowState Now() { return {form->Table, DataView(), Picture()}; }
  void ExpectNow(const WindowState& s) {
    for (int j = 1; j <= 20; ++j)
      for (int i = 1; i <= 10; ++i) ASSERT_EQ(form->Table[j][i], s.table[j][i]) << j << "," << i;
    EXPECT_EQ(DataView(), s.dataView);
    EXPECT_EQ(Picture(), s.picture);
  }
  std::string Status() { return form->Opis(nullptr).Status; }
};

TEST_F(Undo, TenMixedEditsUndoneOneByOneGiveBackEachPictureAndRedoGivesThemAgain) {
  ShowAt();
  FocusChart();
  Key(Qt::Key_Down);  // chooses variable 1, observation 1
  // Each edit, after what brings its view: Alt+O before some of them, so that edits are made
  // from both views.
  const auto components = [&] { form->Kl_A->Click(); Settle(); };
  const auto none = [] {};
  const struct {
    std::function<void()> view, edit;
  } edits[] = {
      {none, [&] { Key(Qt::Key_PageUp); }},  // from the components view
      {none, [&] { Edit(95, 100, 90); }},    // mouse, data view
      {none, [&] { Key(Qt::Key_PageDown, Qt::ShiftModifier); }},
      {components, [&] { Edit(200, 250, 230); }},  // mouse, components view
      {none, [&] { Key(Qt::Key_Up, Qt::ShiftModifier); }},
      {none, [&] { Edit(300, 370, 379); }},
      {[&] { components(); FocusChart(); Key(Qt::Key_End); }, [&] { Key(Qt::Key_PageDown); }},
      {none, [&] { Edit(19, 20, 9); }},  // clamped at the strip's top
      {none, [&] { Key(Qt::Key_PageUp, Qt::ShiftModifier); }},
      {components, [&] { Edit(389, 140, 150); }},
  };
  std::vector<WindowState> before, after;
  for (const auto& e : edits) {
    e.view();
    before.push_back(Now());
    e.edit();
    after.push_back(Now());
  }
  EXPECT_EQ(form->History.Redo(), std::nullopt) << "nothing undone yet";

  for (size_t e = before.size(); e-- > 0;) {
    SCOPED_TRACE(testing::Message() << "undo of edit " << e + 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    ExpectNow(before[e]);
  }
  EXPECT_FALSE(DataView()) << "the start: its components view";
  Key(Qt::Key_Z, Qt::ControlModifier);  // nothing left to undo: nothing changes
  ExpectNow(before[0]);

  for (size_t e = 0; e < after.size(); ++e) {
    SCOPED_TRACE(testing::Message() << "redo of edit " << e + 1);
    Key(e % 2 ? Qt::Key_Y : Qt::Key_Z, e % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    ExpectNow(after[e]);
  }
  EXPECT_TRUE(reports.empty());
}

TEST_F(Undo, ANewEditDropsWhatCouldBeRedoneAndTheReaderHearsWhatWasUndone) {
  ShowAt();
  FocusChart();
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);  // variable 3
  for (int i = 1; i < 5; ++i) Key(Qt::Key_Right);
  const std::string start = Status();
  const ObservationTable table = form->Table;
  Key(Qt::Key_PageUp);
  Key(Qt::Key_Right);  // another cell chosen: the undo chooses the edited one again
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Status(), "Cofnięto: Zmienna 3, obserwacja 5: 0,12. " + start);
  EXPECT_EQ(form->Chosen.Variable, 3);
  EXPECT_EQ(form->Chosen.Observation, 5);
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Status(), "Ponowiono: Zmienna 3, obserwacja 5: 0,14. Wykres danych");
  form->Kl_A->Click();
  Settle();
  EXPECT_EQ(Status().rfind("Wykres składowych głównych. Składowa 1: ", 0), 0u)
      << "no word of the redo once the user acts again: " << Status();

  // Ctrl+Z reaches the window from the button as well; a new edit then drops the redo.
  Edit(95, 100, 60);
  form->Kl_A->widget().qt->setFocus();
  Settle();
  const ObservationTable edited = form->Table;
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_NE(form->Table[5][3], edited[5][3]);
  const double undone = form->Table[5][3];
  Edit(19, 20, 30);
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(form->Table[5][3], undone) << "the undone edit is not made again";
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);  // the new edit, then the first one
  for (int j = 1; j <= 20; ++j)
    for (int i = 1; i <= 10; ++i) ASSERT_EQ(form->Table[j][i], table[j][i]) << j << "," << i;
  EXPECT_FALSE(DataView());
  EXPECT_TRUE(reports.empty());
}

}  // namespace
