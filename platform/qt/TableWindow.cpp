// The table window: a dialog beside the form, where it hides the least of the chart, not modal,
// with a real table (headed rows and columns for assistive technology), the note under it, the
// message about the last typed value and a button that closes it, as Escape does. A value typed
// into a cell goes to the form, never straight into the table: what the table shows comes from the
// form after every event.
#include <algorithm>

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/QtWidgets.h"

namespace {

const char* const kTableName = "TabelaDanych";

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Enter on a cell that takes values starts editing it, as typing does; Enter in the editor takes
// the value.
class Grid final : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && currentItem() && (currentItem()->flags() & Qt::ItemIsEditable)) {
      editItem(currentItem());
      return;
    }
    QTableWidget::keyPressEvent(event);
  }
};

// The typed text goes to the window's handler, never into the model.
class TypedCellDelegate final : public QStyledItemDelegate {
 public:
  using Typed = std::function<void(int row, int column, const QString& text)>;
  TypedCellDelegate(Typed typed, QObject* parent) : QStyledItemDelegate(parent), typed_(std::move(typed)) {}
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    if (const auto* line = qobject_cast<QLineEdit*>(editor)) typed_(index.row(), index.column(), line->text());
  }

 private:
  Typed typed_;
};

class DataTableWindow final : public QDialog {
 public:
  DataTableWindow(TForm& form, QWidget* owner) : QDialog(owner), form_(form) {
    setObjectName(kTableName);
    setAttribute(Qt::WA_DeleteOnClose);
    setPalette(owner->palette());
    grid_ = new Grid(this);
    // The form takes the value or says why not; the table then shows what the form has.
    grid_->setItemDelegate(new TypedCellDelegate(
        [this](int row, int column, const QString& text) {
          form_.DoCellTyped(row, column, text.toStdString());
          Refresh();
          // Refused: the cell's editor opens again with the typed text and the message, which a
          // reader speaks with it.
          if (!shown_.Message.empty())
            QTimer::singleShot(0, this, [this, row, column, text] { EditAgain(row, column, text); });
        },
        grid_));
    grid_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::DoubleClicked);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setFont(ToQFont({"Arial", -13}));
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    message_ = new QLabel(this);
    message_->setObjectName("TableMessage");
    message_->setWordWrap(true);
    auto* close = new QPushButton("Zamknij", this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addWidget(note_);
    layout->addWidget(message_);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(900, 560);
    connect(this, &QDialog::finished, owner, [owner] { owner->activateWindow(); });
  }

  // As wide as its columns where the screen allows, beside the chart.
  void FitAndPlace(QWidget* owner) {
    const QMargins margins = layout()->contentsMargins();
    int width = grid_->verticalHeader()->sizeHint().width() + grid_->horizontalHeader()->length() +
                2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width() + margins.left() +
                margins.right();
    if (const QScreen* screen = owner->screen()) width = std::min(width, screen->availableGeometry().width());
    resize(std::max(width, 400), height());
    PlaceBeside(owner);
  }

  // Undo and redo reach the form from the table too (a cell's editor keeps them for its text).
  void keyPressEvent(QKeyEvent* event) override {
    const FormKey key = FormKeyOf(event);
    if ((key == FormKey::Undo || key == FormKey::Redo) && DoFormKey(form_, key)) event->accept();
    else QDialog::keyPressEvent(event);
  }

  // The form's table, where it differs from what is shown.
  void Refresh() {
    if (!form_.OnDescribeTable) return;
    const TDataTable t = form_.OnDescribeTable(&form_);
    if (t == shown_) return;
    const bool reshaped = t.ColumnHeaders != shown_.ColumnHeaders;
    setWindowTitle(Q(t.Title));
    grid_->setColumnCount(static_cast<int>(t.ColumnHeaders.size()));
    grid_->setRowCount(static_cast<int>(t.RowHeaders.size()));
    QStringList columns, rows;
    for (const auto& h : t.ColumnHeaders) columns << Q(h);
    for (const auto& h : t.RowHeaders) rows << Q(h);
    grid_->setHorizontalHeaderLabels(columns);
    grid_->setVerticalHeaderLabels(rows);
    for (int r = 0; r < grid_->rowCount(); ++r)
      for (int c = 0; c < grid_->columnCount(); ++c) {
        const std::string& text = c < static_cast<int>(t.Cells[r].size()) ? t.Cells[r][c] : std::string();
        QTableWidgetItem* item = grid_->item(r, c);
        if (!item) grid_->setItem(r, c, item = new QTableWidgetItem);
        if (item->text() != Q(text)) item->setText(Q(text));
        // A reader speaks a cell by its headers and its value: "Obserwacja 5, Zmienna 3, 0,12".
        const QString spoken = Q(t.RowHeaders[r] + ", " + t.ColumnHeaders[c] + ", " + text);
        if (item->data(Qt::AccessibleTextRole).toString() != spoken) item->setData(Qt::AccessibleTextRole, spoken);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (r < t.EditableRows && c < t.EditableColumns) flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
      }
    if (reshaped) grid_->resizeColumnsToContents();
    note_->setText(Q(t.Note));
    message_->setText(Q(t.Message));
    message_->setVisible(!t.Message.empty());
    shown_ = t;
  }
  void Choose(const TTableCell& at) {
    if (at.Row >= 0 && at.Row < grid_->rowCount() && at.Column >= 0 && at.Column < grid_->columnCount())
      grid_->setCurrentCell(at.Row, at.Column);
    grid_->setFocus(Qt::OtherFocusReason);
    if (at.Edit && grid_->currentItem()) grid_->editItem(grid_->currentItem());
  }

 private:
  // Beside the window, on the side where the screen has the most room: right, left, below or
  // above, kept on the screen, whichever hides the least of the chart that a typed value changes.
  // (On Wayland the compositor places windows itself.)
  void PlaceBeside(QWidget* owner) {
    const QScreen* screen = owner->screen();
    if (!screen) return;
    const QRect room = screen->availableGeometry();
    const QRect frame = owner->frameGeometry();
    if (room.width() < width() || room.height() < height()) return;
    const auto kept = [&](int x, int y) {
      return QRect(std::clamp(x, room.left(), room.right() + 1 - width()),
                   std::clamp(y, room.top(), room.bottom() + 1 - height()), width(), height());
    };
    const int gap = 8;
    const QRect sides[] = {kept(frame.left() + frame.width() + gap, frame.top()),
                           kept(frame.left() - gap - width(), frame.top()),
                           kept(frame.left(), frame.top() + frame.height() + gap),
                           kept(frame.left(), frame.top() - gap - height())};
    const auto hidden = [&](const QRect& r) {
      const QRect both = r.intersected(frame);
      return both.isEmpty() ? 0 : both.width() * both.height();
    };
    const QRect* best = &sides[0];
    for (const QRect& side : sides)
      if (hidden(side) < hidden(*best)) best = &side;
    move(best->topLeft());
  }

  void EditAgain(int row, int column, const QString& text) {
    QTableWidgetItem* item = grid_->item(row, column);
    if (!item) return;
    grid_->setCurrentItem(item);
    grid_->editItem(item);
    if (auto* line = qobject_cast<QLineEdit*>(grid_->indexWidget(grid_->model()->index(row, column)))) {
      line->setText(text);
      line->selectAll();
      line->setAccessibleDescription(Q(shown_.Message));
      line->setToolTip(Q(shown_.Message));
    }
  }

  TForm& form_;
  QTableWidget* grid_;
  QLabel* note_;
  QLabel* message_;
  TDataTable shown_;
};

// The owner's table window; found by its name, as it has no meta-object of its own.
DataTableWindow* TableOf(QWidget* owner) {
  return static_cast<DataTableWindow*>(owner->findChild<QDialog*>(kTableName, Qt::FindDirectChildrenOnly));
}

}  // namespace

void TForm::ShowTable(const TTableCell& at) {
  FormWindow* owner = window_->qt;
  DataTableWindow* table = TableOf(owner);
  const bool opening = !table;
  if (opening) table = new DataTableWindow(*this, owner);
  table->Refresh();
  if (opening) table->FitAndPlace(owner);
  table->show();
  table->raise();
  table->activateWindow();
  table->Choose(at);
}

void DataTablesMayHaveChanged() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (DataTableWindow* table = TableOf(top)) table->Refresh();
}
