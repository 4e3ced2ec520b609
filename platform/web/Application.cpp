#include "platform/Application.h"
#include "platform/HandlerFailure.h"

#include <algorithm>

#include "platform/Form.h"
#include "platform/web/ImageCanvasImpl.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebWidgets.h"

TApplication* Application = nullptr;

struct TApplication::Impl {};

TApplication::TApplication(int& argc, char** argv) : impl_(std::make_unique<Impl>()) {
  Application = this;
  Title = TitleFromProgramPath(argc > 0 && argv[0] ? argv[0] : "");
}

TApplication::TApplication(TApplication&& other) noexcept = default;

TApplication::~TApplication() {
  forms_.clear();
  if (Application == this) Application = nullptr;
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) { forms_.push_back(std::move(form)); }

// Shows the main form; the browser's own event loop then runs the handlers, after main has
// returned (the runtime lives on). So the application moves to the heap for the page's
// lifetime, and main's own object is left empty: nothing unwinds main's frame to keep it.
int TApplication::Run() {
  if (forms_.empty()) return 0;
  Application = new TApplication(std::move(*this));
  TForm* main = Application->forms_.front().get();
  main->Show();
  page::ListenToViewport(main);
  return 0;
}

// Events reach the program from the browser's loop one at a time; there is nothing to pump.
void TApplication::ProcessMessages() {}

void TApplication::HandleException(const std::exception& error) {
  const std::string message = WithFullStop(error.what());
  if (reporter_) {
    reporter_(Title, message);
    return;
  }
  page::ShowError(Title.c_str(), message.c_str());
}

// The page's box is modal but does not block: it is shown after the handler's drawing, which is
// what the desktop does for a failed window paint, and the same for every other handler.
void TApplication::Dispatch(const std::function<void()>& handler, ReportTiming) {
  const std::optional<std::string> failure = FailureOf(handler);
  PresentPictures();
  for (TPaintBox* box : paintBoxes_) DescribeToPage(*box);
  for (const auto& form : forms_) TableMayHaveChanged(*form);
  if (!failure) return;
  page::ReleasePointer();
  HandleException(std::runtime_error(*failure));
}

void TApplication::RegisterPaintBox(TPaintBox* box) { paintBoxes_.push_back(box); }

void TApplication::UnregisterPaintBox(TPaintBox* box) {
  paintBoxes_.erase(std::remove(paintBoxes_.begin(), paintBoxes_.end(), box), paintBoxes_.end());
}

// Whatever a handler drew is shown as it stands, without a new paint.
void TApplication::PresentPictures() {
  for (TPaintBox* box : paintBoxes_) {
    ImageCanvas& picture = box->Picture();
    if (!picture.Finish()) continue;
    const ImageCanvas::Impl& d = picture.impl();
    page::ShowPicture(box->widget().handle, d.pixels.data(), d.deviceWidth, d.deviceHeight);
  }
}
