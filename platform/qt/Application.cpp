#include "platform/Application.h"
#include "platform/HandlerFailure.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

#include "platform/qt/Accessibility.h"
#include "platform/Form.h"
#include "platform/qt/QtWidgets.h"

TApplication* Application = nullptr;

struct TApplication::Impl {
  explicit Impl(int& argc, char** argv) : qt(argc, argv) {}
  QApplication qt;
};

TApplication::TApplication(int& argc, char** argv)
    : impl_(std::make_unique<Impl>(argc, argv)) {
  Application = this;
  Title = TitleFromProgramPath(argc > 0 && argv[0] ? argv[0] : "");
  QApplication::setApplicationName(QString::fromStdString(Title));
  InstallAccessibility();
}

TApplication::~TApplication() {
  forms_.clear();  // the windows go before the Qt application object
  Application = nullptr;
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) { forms_.push_back(std::move(form)); }

int TApplication::Run() {
  if (forms_.empty()) return 0;
  forms_.front()->Show();
  return QApplication::exec();
}

void TApplication::ProcessMessages() { QApplication::processEvents(); }

void TApplication::HandleException(const std::exception& error) {
  const std::string message = WithFullStop(error.what());
  if (reporter_) {
    reporter_(Title, message);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QString::fromStdString(Title),
                  QString::fromStdString(message), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void TApplication::Dispatch(const std::function<void()>& handler, ReportTiming timing) {
  const std::optional<std::string> failure = FailureOf(handler);
  if (timing == ReportTiming::Now) PresentPictures();  // a window paint shows its own
  for (TPaintBox* box : paintBoxes_) {  // what the handler changed, told to a screen reader
    auto* widget = static_cast<PaintBoxWidget*>(box->widget().qt.data());
    ChartMayHaveChanged(widget);
    if (widget) widget->FollowChosenCell();
  }
  DataTablesMayHaveChanged();
  if (!failure) return;
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  const std::runtime_error error(*failure);
  if (timing == ReportTiming::Now) {
    HandleException(error);
  } else {
    QTimer::singleShot(0, &impl_->qt, [this, error] { HandleException(error); });
  }
}

void TApplication::RegisterPaintBox(TPaintBox* box) { paintBoxes_.push_back(box); }

void TApplication::UnregisterPaintBox(TPaintBox* box) {
  paintBoxes_.erase(std::remove(paintBoxes_.begin(), paintBoxes_.end(), box), paintBoxes_.end());
}

// Drawing done by a handler outside a window paint is shown as it stands, without a new paint.
void TApplication::PresentPictures() {
  for (TPaintBox* box : paintBoxes_)
    if (box->Picture().Finish()) box->widget().qt->update();
}
