#include <QCloseEvent>
#include <QKeyEvent>
#include <QWindow>

#include "platform/Application.h"
#include "platform/qt/FixedPalette.h"
#include "platform/qt/ImageCanvasImpl.h"
#include "platform/qt/QtWidgets.h"

FormWindow::FormWindow(TForm& form) : QWidget(nullptr), form_(form) {
  setPalette(FixedPalette());  // the controls inherit it
}

// The window's own keys, whichever control has the focus: the controls pass these on to their
// window. "?" and T are matched by their text, whatever key and modifiers type them; undo and
// redo by the keys every editor takes, the same on every desktop.
FormKey FormKeyOf(const QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const bool ctrlOrAlt = mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (!ctrlOrAlt && (event->key() == Qt::Key_F1 || event->text() == QStringLiteral("?"))) return FormKey::Help;
  if (!ctrlOrAlt && event->text().compare(QStringLiteral("t"), Qt::CaseInsensitive) == 0) return FormKey::Table;
  const bool z = event->key() == Qt::Key_Z, y = event->key() == Qt::Key_Y;
  if (z && mods == Qt::ControlModifier) return FormKey::Undo;
  if ((z && mods == (Qt::ControlModifier | Qt::ShiftModifier)) || (y && mods == Qt::ControlModifier))
    return FormKey::Redo;
  return FormKey::None;
}

bool DoFormKey(TForm& form, FormKey key) {
  switch (key) {
    case FormKey::Help: form.DoHelp(); return true;
    case FormKey::Table: form.DoTable(); return true;
    case FormKey::Undo: form.DoUndo(); return true;
    case FormKey::Redo: form.DoRedo(); return true;
    case FormKey::None: return false;
  }
  return false;
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (DoFormKey(form_, FormKeyOf(event))) event->accept();
  else QWidget::keyPressEvent(event);
}

void FormWindow::SetDesignedOuterSize(int width, int height) {
  designedOuter_ = QSize(width, height);
  outerSizePending_ = true;
  resize(designedOuter_);
  FitOuterSize();
}

void FormWindow::SetClientSize(int width, int height) {
  outerSizePending_ = false;  // an explicit client size replaces the designed outer one
  resize(width, height);
}

// The designed size is the outer one. Qt sizes the client area, and the frame is known only once
// a window manager has framed the window; without one, client and outer size are the same.
void FormWindow::FitOuterSize() {
  if (!outerSizePending_ || !windowHandle()) return;
  const QMargins frame = windowHandle()->frameMargins();
  if (frame.isNull()) return;
  outerSizePending_ = false;
  resize(designedOuter_.width() - frame.left() - frame.right(),
         designedOuter_.height() - frame.top() - frame.bottom());
}

void FormWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FitOuterSize();
  form_.DoActivate();
}

void FormWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  FitOuterSize();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (clientPaintBox) clientPaintBox->SetBounds(0, 0, width(), height());
  form_.DoResize();
}

void FormWindow::closeEvent(QCloseEvent* event) {
  form_.DoClose();
  event->accept();
}

TForm::TForm() : window_(std::make_unique<Window>()) {
  window_->qt = new FormWindow(*this);
  window_->qt->setAttribute(Qt::WA_DeleteOnClose, false);
}

TForm::~TForm() {
  // The handlers belong to the derived window, whose members are gone by now; deleting the widgets
  // still sends focus and accessibility events, which must not reach them.
  OnCreate = OnActivate = OnPaint = OnResize = OnClose = OnHelp = nullptr;
  for (auto& control : controls_) control->DropHandlers();
  delete window_->qt.data();  // with it the controls' widgets
  controls_.clear();
}

// On Wayland a window cannot place itself: the compositor chooses Left and Top there, and the
// move is ignored. The size holds everywhere.
void TForm::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  window_->qt->move(left, top);
  window_->qt->SetDesignedOuterSize(width, height);
}

void TForm::SetCaption(const std::string& caption) {
  window_->qt->setWindowTitle(QString::fromStdString(caption));
}

void TForm::SetColor(TColor color) {
  QPalette palette = window_->qt->palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  window_->qt->setPalette(palette);
  window_->qt->setAutoFillBackground(true);
}

void TForm::SetFont(const TControlFont& font) { window_->qt->setFont(ToQFont(font)); }

int32_t TForm::ClientWidth() const { return window_->qt->width(); }
int32_t TForm::ClientHeight() const { return window_->qt->height(); }
void TForm::SetClientSize(int32_t width, int32_t height) { window_->qt->SetClientSize(width, height); }
void TForm::Show() { window_->qt->show(); }
void TForm::Close() { window_->qt->close(); }
