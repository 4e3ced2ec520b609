// The Qt widgets behind the form and its controls. Only platform/ sources include this.
#pragma once

#include <QFont>
#include <QPointer>
#include <QWidget>

#include "platform/Form.h"

class QLabel;

class QKeyEvent;

// The keys a form's windows take from any of their controls: F1 or "?", T, Ctrl+Z, Ctrl+Shift+Z
// or Ctrl+Y. DoFormKey runs the form's event for one; false for none.
enum class FormKey { None, Help, Table, Undo, Redo };
FormKey FormKeyOf(const QKeyEvent* event);
bool DoFormKey(TForm& form, FormKey key);

// Brings every open table window up to date with its form, after an event.
void DataTablesMayHaveChanged();

// A control font (negative height: the character height in pixels) as a Qt font.
QFont ToQFont(const TControlFont& font);

struct TControl::Widget {
  QPointer<QWidget> qt;
};

// The form's top-level window.
class FormWindow final : public QWidget {
 public:
  explicit FormWindow(TForm& form);
  void SetDesignedOuterSize(int width, int height);
  void SetClientSize(int width, int height);
  TPaintBox* clientPaintBox = nullptr;  // a paint box aligned to the client area

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FitOuterSize();
  TForm& form_;
  QSize designedOuter_;
  bool outerSizePending_ = false;
};

struct TForm::Window {
  QPointer<FormWindow> qt;
};

// The paint box's surface: shows the picture, erasing and repainting it when the window system
// asks for a paint of a stale picture.
class PaintBoxWidget final : public QWidget {
 public:
  PaintBoxWidget(TPaintBox& box, TForm& form, QWidget* parent);
  void Repaint();  // erase and run the form's OnPaint now
  bool stale = true;  // the picture needs the form's OnPaint before it is shown
  bool tabStop = false;
  TPaintBox& box() { return box_; }
  // Runs the paint box's key handler, as a key press does (assistive technology uses it too).
  void Key(TKey key, TShiftState shift);
  // Shows the chosen point's name and value beside it while the chart has the focus.
  void FollowChosenCell();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void DrawFocusMark(QPainter& painter);
  void Mouse(QMouseEvent* event, const TMouseEvent& handler);
  TPaintBox& box_;
  TForm& form_;
  QLabel* valueTag_;  // the chosen point's name and value, over the picture
};
