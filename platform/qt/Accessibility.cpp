#include "platform/qt/Accessibility.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QHash>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/qt/QtWidgets.h"

namespace {

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

// Qt before 6.8 sends a name change with the object where the new name belongs, and Orca 43
// cannot speak it; the chosen point's new value is then told by a notification of its own.
constexpr bool kNameChangesAreSpoken = QT_VERSION >= QT_VERSION_CHECK(6, 8, 0);

const TDescribedCell* ChosenCell(const TChartDescription& d) {
  if (d.FocusPart < 0 || d.FocusPart >= static_cast<int>(d.Parts.size())) return nullptr;
  const std::vector<TDescribedCell>& cells = d.Parts[d.FocusPart].Cells;
  return d.FocusCell >= 0 && d.FocusCell < static_cast<int>(cells.size()) ? &cells[d.FocusCell] : nullptr;
}

void Send(QAccessibleInterface* iface, QAccessible::Event type) {
  QAccessibleEvent event(iface, type);
  QAccessible::updateAccessibility(&event);
}

// A drawn label's box: its text measured in the font the canvas draws it with.
void MeasureLabels(TChartDescription& d) {
  for (TDescribedPart& part : d.Parts) {
    if (part.DrawnText.empty()) continue;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, PointsToPixels(part.DrawnPoints)));
    const QFontMetrics metrics(font);
    part.Box.Right = part.Box.Left + metrics.horizontalAdvance(ToQ(part.DrawnText));
    part.Box.Bottom = part.Box.Top + metrics.height();
  }
}

class ChartAccessible;
QHash<const void*, ChartAccessible*>& Charts() {
  static QHash<const void*, ChartAccessible*> charts;  // by paint box widget
  return charts;
}

// Interfaces without a QObject are registered once and keep their id; whoever made one deletes
// it with its own interface.
QAccessibleInterface* Registered(std::vector<QAccessible::Id>& ids, size_t i,
                                 QAccessibleInterface* (*make)(void*, int), void* owner) {
  if (ids.size() <= i) ids.resize(i + 1, 0);
  if (!ids[i]) ids[i] = QAccessible::registerAccessibleInterface(make(owner, static_cast<int>(i)));
  return QAccessible::accessibleInterface(ids[i]);
}

QAccessibleInterface* Existing(const std::vector<QAccessible::Id>& ids, size_t i) {
  return i < ids.size() && ids[i] ? QAccessible::accessibleInterface(ids[i]) : nullptr;
}

void DeleteAll(const std::vector<QAccessible::Id>& ids) {
  for (QAccessible::Id id : ids)
    if (id) QAccessible::deleteAccessibleInterface(id);
}

// The paint box: a chart whose children are the parts of its description.
class ChartAccessible final : public QAccessibleWidget {
 public:
  explicit ChartAccessible(PaintBoxWidget* widget)
      : QAccessibleWidget(widget, QAccessible::Chart), key_(widget) {
    Charts().insert(key_, this);
    if (ReadDescription(widget->box(), d_)) MeasureLabels(d_);
  }
  ~ChartAccessible() override {
    if (Charts().value(key_) == this) Charts().remove(key_);
    DeleteAll(partIds_);
    DeleteAll(noticeIds_);
  }

  PaintBoxWidget* Box() const { return static_cast<PaintBoxWidget*>(widget()); }
  const TDescribedPart* Part(int i) const {
    return i >= 0 && i < static_cast<int>(d_.Parts.size()) ? &d_.Parts[i] : nullptr;
  }
  bool Chosen(int part, int cell) const {
    return d_.FocusPart == part && d_.FocusCell == cell && Box() && Box()->hasFocus();
  }
  QRect OnScreen(const TBox& b) const {
    if (!Box()) return {};
    return QRect(Box()->mapToGlobal(QPoint(b.Left, b.Top)), QSize(b.Right - b.Left, b.Bottom - b.Top));
  }
  QAccessibleInterface* Cell(int part, int cell) const {
    QAccessibleInterface* p = Part(part) ? child(part) : nullptr;
    return p ? p->child(cell) : nullptr;
  }

  int childCount() const override { return static_cast<int>(d_.Parts.size()); }
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i)
      if (Existing(partIds_, i) == child) return i;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = childCount() - 1; i >= 0; --i)
      if (OnScreen(d_.Parts[i].Box).contains(x, y)) return child(i);
    return nullptr;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return ToQ(d_.Name);
    if (t == QAccessible::Description) return ToQ(d_.Description);
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;  // by Tab
    return s;
  }
  QAccessibleInterface* focusChild() const override {
    return Box() && Box()->hasFocus() ? Cell(d_.FocusPart, d_.FocusCell) : nullptr;
  }

  // What the notifications tell: the chosen point (while the chart has the focus), the status.
  enum Notice { kPoint, kStatus };
  std::string NoticeText(Notice n) const {
    if (n == kStatus) return d_.Status;
    const TDescribedCell* chosen = ChosenCell(d_);
    return chosen && Box() && Box()->hasFocus() ? chosen->Name : std::string();
  }
  // Children of the window after its widgets: the point's notification where it is needed, then
  // the status.
  std::vector<QAccessibleInterface*> Notices() const {
    if (kNameChangesAreSpoken) return {Notification(kStatus)};
    return {Notification(kPoint), Notification(kStatus)};
  }
  QAccessibleInterface* Notification(Notice n) const;

  void Refresh();

 private:
  const void* key_;
  TChartDescription d_;
  mutable std::vector<QAccessible::Id> partIds_;
  mutable std::vector<QAccessible::Id> noticeIds_;
  bool focusReported_ = false;
  int focusPart_ = -1;
  int focusCell_ = -1;
};

// What the window shows (or the chosen point's value), as a notification: Orca speaks a
// notification each time it is shown, whatever has the focus, as a browser speaks a live status.
// It covers the chart it tells of: Qt gives an object without a box no place on the screen at
// all, which readers expect.
class NoticeAccessible final : public QAccessibleInterface {
 public:
  NoticeAccessible(ChartAccessible* chart, ChartAccessible::Notice notice)
      : chart_(chart), notice_(notice) {}

  bool isValid() const override { return true; }  // as long as its chart
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return chart_->window(); }
  QAccessibleInterface* parent() const override { return chart_->parent(); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? ToQ(chart_->NoticeText(notice_)) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return chart_->rect(); }
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    s.invisible = chart_->NoticeText(notice_).empty();  // nothing painted, or no point chosen
    return s;
  }

 private:
  ChartAccessible* chart_;
  ChartAccessible::Notice notice_;
};

// A point of a variable strip, raised and lowered by the keys one pixel of the strip at a time.
// It is a slider whose value is in its name, worded as the program words it ("-0,14"), and it
// hands a reader no bare number: Orca speaks a slider's numeric value with a decimal point (which
// a Polish voice reads as a pause, dropping the minus sign) or with all its digits, and adds a
// percentage of the range; Qt before 6.8 cannot give it a value text instead. A new value is a
// new name, which a reader speaks for the focused point.
class CellAccessible final : public QAccessibleInterface {
 public:
  CellAccessible(ChartAccessible* chart, int part, int cell) : chart_(chart), part_(part), cell_(cell) {}

  const TDescribedCell* Cell() const {
    const TDescribedPart* p = chart_->Part(part_);
    return p && cell_ < static_cast<int>(p->Cells.size()) ? &p->Cells[cell_] : nullptr;
  }
  bool isValid() const override { return Cell() != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return chart_->window(); }
  QAccessibleInterface* parent() const override { return chart_->child(part_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && Cell() ? ToQ(Cell()->Name) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return Cell() ? chart_->OnScreen(Cell()->Box) : QRect(); }
  // A slider: a reader speaks the new name of a focused slider, of a focused table cell nothing.
  QAccessible::Role role() const override { return QAccessible::Slider; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.focusable = true;
    s.focused = chart_->Chosen(part_, cell_);
    s.invisible = !isValid();
    return s;
  }

 private:
  ChartAccessible* chart_;
  int part_;
  int cell_;
};

// A strip, a column of loadings or a share: its name, its values as text, its cells.
class PartAccessible final : public QAccessibleInterface, public QAccessibleTextInterface {
 public:
  PartAccessible(ChartAccessible* chart, int index) : chart_(chart), index_(index) {}
  ~PartAccessible() override { DeleteAll(cellIds_); }

  const TDescribedPart* Part() const { return chart_->Part(index_); }
  QString Text() const { return Part() ? ToQ(Part()->Text) : QString(); }
  QAccessibleInterface* ExistingCell(int i) const { return Existing(cellIds_, i); }

  bool isValid() const override { return Part() != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return chart_->window(); }
  QAccessibleInterface* parent() const override { return chart_; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    struct Maker {
      static QAccessibleInterface* Make(void* self, int i) {
        auto* part = static_cast<PartAccessible*>(self);
        return new CellAccessible(part->chart_, part->index_, i);
      }
    };
    return Registered(cellIds_, index, &Maker::Make, const_cast<PartAccessible*>(this));
  }
  int childCount() const override { return Part() ? static_cast<int>(Part()->Cells.size()) : 0; }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i)
      if (Existing(cellIds_, i) == child) return i;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i)
      if (chart_->OnScreen(Part()->Cells[i].Box).contains(x, y)) return child(i);
    return nullptr;
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && Part() ? ToQ(Part()->Name) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return Part() ? chart_->OnScreen(Part()->Box) : QRect(); }
  QAccessible::Role role() const override {
    if (!Part()) return QAccessible::NoRole;
    return Part()->Role == TPartRole::Label ? QAccessible::StaticText : QAccessible::Chart;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    s.invisible = !isValid();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface && Part() && !Part()->Text.empty())
      return static_cast<QAccessibleTextInterface*>(this);
    return nullptr;
  }

  // Read-only text: no selection, no caret, no character boxes.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return Text().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Text().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = 0;
    *end = std::max(offset, characterCount());
    return {};
  }

 private:
  ChartAccessible* chart_;
  int index_;
  mutable std::vector<QAccessible::Id> cellIds_;
};

QAccessibleInterface* ChartAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  struct Maker {
    static QAccessibleInterface* Make(void* self, int i) {
      return new PartAccessible(static_cast<ChartAccessible*>(self), i);
    }
  };
  return Registered(partIds_, index, &Maker::Make, const_cast<ChartAccessible*>(this));
}

QAccessibleInterface* ChartAccessible::Notification(Notice n) const {
  struct Maker {
    static QAccessibleInterface* Make(void* self, int i) {
      return new NoticeAccessible(static_cast<ChartAccessible*>(self), static_cast<Notice>(i));
    }
  };
  return Registered(noticeIds_, n, &Maker::Make, const_cast<ChartAccessible*>(this));
}

// Compares the new description with the one assistive technology knows and reports the
// differences: parts removed while they still count, parts added once they count, then names,
// texts and values, and last the chosen cell as the focus.
void ChartAccessible::Refresh() {
  TChartDescription now;
  if (!Box() || !ReadDescription(Box()->box(), now)) return;
  MeasureLabels(now);
  const int before = childCount(), after = static_cast<int>(now.Parts.size());
  for (int i = after; i < before; ++i) Send(child(i), QAccessible::ObjectDestroyed);
  const TChartDescription was = std::exchange(d_, std::move(now));
  for (int i = before; i < after; ++i) Send(child(i), QAccessible::ObjectCreated);

  if (was.Name != d_.Name) Send(this, QAccessible::NameChanged);
  if (was.Description != d_.Description) Send(this, QAccessible::DescriptionChanged);
  for (int i = 0; i < std::min(before, after); ++i) {
    auto* part = static_cast<PartAccessible*>(Existing(partIds_, i));
    if (!part) continue;  // nobody has looked at it yet
    const TDescribedPart &a = was.Parts[i], &b = d_.Parts[i];
    if (a.Name != b.Name) Send(part, QAccessible::NameChanged);
    if (a.Text != b.Text) {
      QAccessibleTextUpdateEvent event(part, 0, ToQ(a.Text), ToQ(b.Text));
      QAccessible::updateAccessibility(&event);
    }
    for (size_t j = 0; j < b.Cells.size() && j < a.Cells.size(); ++j) {
      QAccessibleInterface* cell = part->ExistingCell(static_cast<int>(j));
      if (cell && a.Cells[j].Name != b.Cells[j].Name) Send(cell, QAccessible::NameChanged);
    }
  }

  // A notification that tells something new is renamed, then shown again for a reader to speak.
  // A reader that keeps names (Orca 48) speaks the name it last heard of, so the new one must be
  // told. The chosen point's new value comes first, the state of the window last.
  const auto tell = [this](Notice n) {
    Send(Notification(n), QAccessible::NameChanged);
    Send(Notification(n), QAccessible::ObjectShow);
  };
  const TDescribedCell* chosenWas = ChosenCell(was);
  const TDescribedCell* chosenNow = ChosenCell(d_);
  if (!kNameChangesAreSpoken && Box()->hasFocus() && chosenWas && chosenNow &&
      was.FocusPart == d_.FocusPart && was.FocusCell == d_.FocusCell && chosenWas->Name != chosenNow->Name)
    tell(kPoint);
  if (!was.Status.empty() && was.Status != d_.Status) tell(kStatus);

  const bool focused = Box()->hasFocus();
  if (focused && (!focusReported_ || d_.FocusPart != focusPart_ || d_.FocusCell != focusCell_))
    if (QAccessibleInterface* cell = Cell(d_.FocusPart, d_.FocusCell))
      Send(cell, QAccessible::Focus);
  focusReported_ = focused;
  focusPart_ = d_.FocusPart;
  focusCell_ = d_.FocusCell;
}

// The window, named by its caption: its widgets, then its chart's status.
class WindowAccessible final : public QAccessibleWidget {
 public:
  explicit WindowAccessible(FormWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

  std::vector<QAccessibleInterface*> Notices() const {
    const TPaintBox* box = static_cast<FormWindow*>(widget())->clientPaintBox;
    auto* chart = box ? dynamic_cast<ChartAccessible*>(
                            QAccessible::queryAccessibleInterface(box->widget().qt.data()))
                      : nullptr;
    return chart ? chart->Notices() : std::vector<QAccessibleInterface*>();
  }
  int childCount() const override {
    return QAccessibleWidget::childCount() + static_cast<int>(Notices().size());
  }
  QAccessibleInterface* child(int index) const override {
    const int widgets = QAccessibleWidget::childCount();
    if (index < widgets) return QAccessibleWidget::child(index);
    const std::vector<QAccessibleInterface*> notices = Notices();
    return index - widgets < static_cast<int>(notices.size()) ? notices[index - widgets] : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<QAccessibleInterface*> notices = Notices();
    for (size_t i = 0; i < notices.size(); ++i)
      if (child && child == notices[i]) return QAccessibleWidget::childCount() + static_cast<int>(i);
    return QAccessibleWidget::indexOfChild(child);
  }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (auto* chart = dynamic_cast<PaintBoxWidget*>(object)) return new ChartAccessible(chart);
  if (auto* window = dynamic_cast<FormWindow*>(object)) return new WindowAccessible(window);
  return nullptr;
}

}  // namespace

void InstallAccessibility() { QAccessible::installFactory(&Factory); }

void ChartMayHaveChanged(PaintBoxWidget* chart) {
  if (ChartAccessible* accessible = Charts().value(chart)) accessible->Refresh();
}
