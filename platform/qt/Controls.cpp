#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/qt/Accessibility.h"
#include "platform/Application.h"
#include "platform/qt/ImageCanvasImpl.h"
#include "platform/qt/QtWidgets.h"

namespace {

QWidget* FormWidget(TForm& form) { return form.window().qt; }

TControl::Widget* Wrap(QWidget* qt) { return new TControl::Widget{qt}; }

}  // namespace

QFont ToQFont(const TControlFont& font) {
  QFont f(QString::fromStdString(font.Name));
  f.setPixelSize(font.Height < 0 ? -font.Height : std::max(1, font.Height));
  return f;
}

// ---- TControl ---------------------------------------------------------------------------------

TControl::TControl(TForm& owner, Widget* widget) : owner_(owner), widget_(widget) {}
TControl::~TControl() { delete widget_; }

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (widget_->qt) widget_->qt->setGeometry(left, top, width, height);
}
int32_t TControl::Left() const { return widget_->qt ? widget_->qt->x() : 0; }
int32_t TControl::Top() const { return widget_->qt ? widget_->qt->y() : 0; }
int32_t TControl::Width() const { return widget_->qt ? widget_->qt->width() : 0; }
int32_t TControl::Height() const { return widget_->qt ? widget_->qt->height() : 0; }
bool TControl::Visible() const { return widget_->qt && !widget_->qt->isHidden(); }
void TControl::SetVisible(bool visible) {
  if (widget_->qt) widget_->qt->setVisible(visible);
}
void TControl::SetName(const std::string& name) {
  if (widget_->qt) widget_->qt->setObjectName(QString::fromStdString(name));
}
void TControl::SetHint(const std::string& hint) {
  if (widget_->qt) widget_->qt->setToolTip(QString::fromStdString(hint));
}

// ---- TPaintBox --------------------------------------------------------------------------------

PaintBoxWidget::PaintBoxWidget(TPaintBox& box, TForm& form, QWidget* parent)
    : QWidget(parent), box_(box), form_(form), valueTag_(new QLabel(parent)) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers every pixel
  valueTag_->setObjectName("ChosenValue");
  valueTag_->setAutoFillBackground(true);
  valueTag_->setFrameShape(QFrame::Box);
  valueTag_->setMargin(2);
  valueTag_->setFont(ToQFont({"Arial", -13}));
  QPalette tag = valueTag_->palette();
  tag.setColor(QPalette::Window, palette().color(QPalette::ToolTipBase));
  tag.setColor(QPalette::WindowText, palette().color(QPalette::ToolTipText));
  valueTag_->setPalette(tag);
  valueTag_->setAttribute(Qt::WA_TransparentForMouseEvents);
  valueTag_->hide();
}

// The chosen point's name and value beside its ring, while the chart has the focus: on the
// screen over the picture, never in it. Right of the ring where it fits, else left of it. The
// text is the window's child, above the hint too: a child of the paint box under the hint
// would leave the hint unpainted when it moves.
void PaintBoxWidget::FollowChosenCell() {
  TChartDescription d;
  const TDescribedCell* cell = nullptr;
  if (hasFocus() && ReadDescription(box_, d) && d.FocusPart >= 0 &&
      d.FocusPart < static_cast<int>(d.Parts.size()) && d.FocusCell >= 0 &&
      d.FocusCell < static_cast<int>(d.Parts[d.FocusPart].Cells.size()))
    cell = &d.Parts[d.FocusPart].Cells[d.FocusCell];
  if (!cell) {
    valueTag_->hide();
    return;
  }
  valueTag_->setText(QString::fromStdString(cell->Name));
  valueTag_->adjustSize();
  const QSize size = valueTag_->size();
  const TBox& b = d.FocusBox;
  int x = b.Right + 6;
  if (x + size.width() > width()) x = b.Left - 6 - size.width();
  const int y = std::clamp((b.Top + b.Bottom - size.height()) / 2, 0, std::max(0, height() - size.height()));
  valueTag_->move(mapToParent(QPoint(std::max(0, x), y)));
  valueTag_->show();
  valueTag_->raise();
}

// A point under the resting pointer tells its name and value, as long as the pointer stays on it.
bool PaintBoxWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  TChartDescription d;
  if (ReadDescription(box_, d))
    for (const TDescribedPart& part : d.Parts)
      for (const TDescribedCell& cell : part.Cells) {
        const QRect marker(cell.Box.Left - 1, cell.Box.Top - 1, cell.Box.Right - cell.Box.Left + 3,
                           cell.Box.Bottom - cell.Box.Top + 3);
        if (!marker.contains(help->pos())) continue;
        QToolTip::showText(help->globalPos(), QString::fromStdString(cell.Name), this, marker);
        return true;
      }
  QToolTip::hideText();
  event->ignore();
  return true;
}

void PaintBoxWidget::Repaint() {
  stale = false;
  box_.Picture().Fill(clBtnFace);
  form_.DoPaint(/*insideWindowPaint=*/false);
  box_.Picture().Finish();
  update();
}

void PaintBoxWidget::paintEvent(QPaintEvent*) {
  ImageCanvas& picture = box_.Picture();
  if (stale) {
    stale = false;
    picture.Fill(clBtnFace);
    form_.DoPaint(/*insideWindowPaint=*/true);
  }
  picture.Finish();
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), picture.impl().image);
  if (hasFocus()) DrawFocusMark(painter);
}

// A ring two pixels outside the chosen cell's marker (or the strips, before a cell is chosen),
// drawn on the screen only: the picture itself stays as the paint routine left it.
void PaintBoxWidget::DrawFocusMark(QPainter& painter) {
  TChartDescription d;
  if (!ReadDescription(box_, d)) return;
  const TBox& b = d.FocusBox;
  if (b.Right <= b.Left || b.Bottom <= b.Top) return;
  const QColor ring = palette().color(QPalette::Highlight);
  const QRect around(b.Left - 3, b.Top - 3, b.Right - b.Left + 6, b.Bottom - b.Top + 6);
  painter.fillRect(QRect(around.left(), around.top(), around.width(), 2), ring);
  painter.fillRect(QRect(around.left(), around.bottom() - 1, around.width(), 2), ring);
  painter.fillRect(QRect(around.left(), around.top(), 2, around.height()), ring);
  painter.fillRect(QRect(around.right() - 1, around.top(), 2, around.height()), ring);
}

void PaintBoxWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  box_.Picture();  // sized anew, erased and stale
}

void PaintBoxWidget::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  stale = true;
}

namespace {

TMouseButton ButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return mbLeft;
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbExtra;
  }
}

TShiftState ShiftOf(const QMouseEvent& e) {
  TShiftState s = 0;
  if (e.modifiers() & Qt::ShiftModifier) s |= ssShift;
  if (e.modifiers() & Qt::AltModifier) s |= ssAlt;
  if (e.modifiers() & Qt::ControlModifier) s |= ssCtrl;
  if (e.buttons() & Qt::LeftButton) s |= ssLeft;
  if (e.buttons() & Qt::RightButton) s |= ssRight;
  if (e.buttons() & Qt::MiddleButton) s |= ssMiddle;
  if (e.type() == QEvent::MouseButtonDblClick) s |= ssDouble;
  return s;
}

// Whole logical pixels, clamped so that no window-system coordinate can overflow a 32-bit
// handler. The position is floored, not rounded: on a scaled screen a press on any device pixel
// of a logical pixel is a press on that logical pixel, the one the picture shows there.
int32_t Pixel(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (!(v < 1e9)) return 1000000000;
  return static_cast<int32_t>(std::floor(v));
}

// The event's position in this widget before rounding. Qt hands a widget its position rounded
// to whole logical pixels, so on a scaled screen the right half of a logical pixel would count as
// the next one; the window-relative (scene) position keeps the fraction. An event made up with
// another scene (as a test may send one) keeps its own position.
QPointF UnroundedPosition(const QWidget& widget, const QMouseEvent& event) {
  const QPointF rounded = event.position();
  const QPointF unrounded =
      event.scenePosition() - QPointF(widget.mapTo(widget.window(), QPoint(0, 0)));
  const QPointF off = unrounded - rounded;
  if (std::abs(off.x()) <= 0.5 && std::abs(off.y()) <= 0.5) return unrounded;
  return rounded;
}

}  // namespace

void PaintBoxWidget::Mouse(QMouseEvent* event, const TMouseEvent& handler) {
  const TMouseButton button = ButtonOf(event->button());
  const TShiftState shift = ShiftOf(*event);
  const QPointF at = UnroundedPosition(*this, *event);
  const int32_t x = Pixel(at.x());
  const int32_t y = Pixel(at.y());
  TPaintBox* box = &box_;
  Application->Dispatch([&] { if (handler) handler(box, button, shift, x, y); });
  event->accept();
}

namespace {

std::optional<TKey> KeyOf(int key) {
  switch (key) {
    case Qt::Key_Left: return vkLeft;
    case Qt::Key_Right: return vkRight;
    case Qt::Key_Up: return vkUp;
    case Qt::Key_Down: return vkDown;
    case Qt::Key_PageUp: return vkPageUp;
    case Qt::Key_PageDown: return vkPageDown;
    case Qt::Key_Home: return vkHome;
    case Qt::Key_End: return vkEnd;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vkEnter;
    default: return std::nullopt;
  }
}

}  // namespace

void PaintBoxWidget::keyPressEvent(QKeyEvent* event) {
  const std::optional<TKey> key = KeyOf(event->key());
  // Ctrl goes with Home and End alone (the first and last variable).
  const bool home = key == vkHome || key == vkEnd;
  const Qt::KeyboardModifiers refused =
      home ? Qt::AltModifier | Qt::MetaModifier : Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  if (!key || event->modifiers() & refused) {
    QWidget::keyPressEvent(event);
    return;
  }
  TShiftState shift = (event->modifiers() & Qt::ShiftModifier) ? TShiftState{ssShift} : TShiftState{0};
  if (event->modifiers() & Qt::ControlModifier) shift |= ssCtrl;
  Key(*key, shift);
  event->accept();
}

void PaintBoxWidget::Key(TKey key, TShiftState shift) {
  TPaintBox* box = &box_;
  Application->Dispatch([&] { if (box_.OnKeyDown) box_.OnKeyDown(box, key, shift); });
  update();  // the focus mark follows the chosen cell
}

// Qt sends its own focus event for the widget after this one; the chosen cell's follows it.
void PaintBoxWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  FollowChosenCell();
  QTimer::singleShot(0, this, [this] { ChartMayHaveChanged(this); });
}

void PaintBoxWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
  FollowChosenCell();
  ChartMayHaveChanged(this);
}

// Tab and Shift+Tab in this window go round its other controls in their order, then this paint
// box. Qt's own round would not do: the paint box takes no focus of its own (policy NoFocus), so
// that neither a click, nor the window's activation, nor a focused button that hides hands it the
// focus; only these keys do.
bool PaintBoxWidget::eventFilter(QObject* watched, QEvent* event) {
  if (!tabStop || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
  const bool backward = key->key() == Qt::Key_Backtab ||
                        (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
  const auto* target = qobject_cast<QWidget*>(watched);
  if (!(forward || backward) || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier) ||
      !target || target->window() != window())
    return false;
  std::vector<QWidget*> round;
  for (QWidget* w = window()->nextInFocusChain(); w != window(); w = w->nextInFocusChain())
    if (w != this && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window()) && w->isEnabled())
      round.push_back(w);
  round.push_back(this);
  const auto at = std::find(round.begin(), round.end(), QApplication::focusWidget());
  const int n = static_cast<int>(round.size());
  int next = forward ? 0 : n - 1;
  if (at != round.end()) next = (static_cast<int>(at - round.begin()) + (forward ? 1 : n - 1)) % n;
  round[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

// A double click arrives here too: QWidget passes it on as a press.
void PaintBoxWidget::mousePressEvent(QMouseEvent* event) { Mouse(event, box_.OnMouseDown); }
void PaintBoxWidget::mouseReleaseEvent(QMouseEvent* event) { Mouse(event, box_.OnMouseUp); }

TPaintBox::TPaintBox(TForm& owner)
    : TControl(owner, Wrap(new PaintBoxWidget(*this, owner, FormWidget(owner)))) {
  Application->RegisterPaintBox(this);
}

TPaintBox::~TPaintBox() { Application->UnregisterPaintBox(this); }

// The picture follows the control's size and the device pixel ratio of the screen it is on (it
// changes when the window moves to another screen); either change starts from an erased, stale
// picture.
ImageCanvas& TPaintBox::Picture() {
  const double ratio = widget().qt ? widget().qt->devicePixelRatioF() : 1.0;
  if (picture_.ImageWidth() != Width() || picture_.ImageHeight() != Height() ||
      picture_.Ratio() != ratio) {
    picture_.SetSize(Width(), Height(), ratio);
    static_cast<PaintBoxWidget*>(widget().qt.data())->stale = true;
  }
  return picture_;
}

void TPaintBox::SetAlignClient() {
  FormWindow* window = owner_.window().qt;
  window->clientPaintBox = this;
  SetBounds(0, 0, window->width(), window->height());
}

void TPaintBox::SetCursor(TCursor cursor) {
  widget().qt->setCursor(cursor == crCross ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TPaintBox::Refresh() { static_cast<PaintBoxWidget*>(widget().qt.data())->Repaint(); }

// Last in the window's keyboard order: after every control made before this call.
void TPaintBox::SetTabStop(bool tabStop) {
  auto* box = static_cast<PaintBoxWidget*>(widget().qt.data());
  box->tabStop = tabStop;
  if (tabStop) QApplication::instance()->installEventFilter(box);
}

bool TPaintBox::Focused() const { return widget().qt && widget().qt->hasFocus(); }

// ---- TLabel -----------------------------------------------------------------------------------

TLabel::TLabel(TForm& owner) : TControl(owner, Wrap(new QLabel(FormWidget(owner)))) {
  QWidget* label = widget().qt;
  label->setAutoFillBackground(true);  // opaque, in the window's colour
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, ToQColor(clBtnFace));
  palette.setColor(QPalette::WindowText, ToQColor(clWindowText));
  label->setPalette(palette);
}

void TLabel::SetCaption(const std::string& caption) {
  static_cast<QLabel*>(widget().qt.data())->setText(QString::fromStdString(caption));
}

void TLabel::SetFont(const TControlFont& font) { widget().qt->setFont(ToQFont(font)); }

// ---- TButton ----------------------------------------------------------------------------------

TButton::TButton(TForm& owner) : TControl(owner, Wrap(new QPushButton(FormWidget(owner)))) {
  QObject::connect(static_cast<QPushButton*>(widget().qt.data()), &QPushButton::clicked,
                   [this] { Application->Dispatch([this] { if (OnClick) OnClick(this); }); });
}

void TButton::SetCaption(const std::string& caption) {
  static_cast<QPushButton*>(widget().qt.data())->setText(QString::fromStdString(caption));
}

void TButton::SetFont(const TControlFont& font) { widget().qt->setFont(ToQFont(font)); }

// The first control in keyboard order takes the focus when the window opens.
void TButton::SetTabOrder(int order) {
  if (order == 0) widget().qt->setFocus(Qt::OtherFocusReason);
}

void TButton::Click() { static_cast<QPushButton*>(widget().qt.data())->click(); }
