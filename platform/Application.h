// The application object: the event loop, the forms, and the one place where an error raised in
// an event handler is caught and shown to the user.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TForm;
class TPaintBox;

class TApplication {
 public:
  TApplication(int& argc, char** argv);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;
  TApplication(TApplication&& other) noexcept;  // where the platform's loop outlives main

  void Initialize() {}

  // Makes the form, points `ref` at it and runs its OnCreate; the first form is the main one.
  template <typename T>
  void CreateForm(T*& ref) {
    auto form = std::make_unique<T>();
    ref = form.get();
    AdoptForm(std::move(form));
    ref->DoCreate();
  }

  // Shows the main form and handles events until it is closed. Returns the exit code. In the
  // browser it returns at once: the page's own loop handles the events from then on.
  int Run();
  void ProcessMessages();

  // The caption of error boxes: the program file's name as the title rule makes it.
  std::string Title;

  // Shows one error to the user. Tests replace it so that nothing modal blocks them.
  using ErrorReporter = std::function<void(const std::string& caption, const std::string& message)>;
  void SetErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }
  void HandleException(const std::exception& error);

  // Runs one event handler. An error it raises ends it there and is reported; nothing escapes
  // into the window system's event loop. Inside a window paint the report waits until the paint
  // is over, since a modal box must not run inside it.
  enum class ReportTiming { Now, AfterWindowPaint };
  void Dispatch(const std::function<void()>& handler, ReportTiming timing = ReportTiming::Now);

  // For the platform: paint boxes whose drawing is shown after every handler.
  void RegisterPaintBox(TPaintBox* box);
  void UnregisterPaintBox(TPaintBox* box);

 private:
  void AdoptForm(std::unique_ptr<TForm> form);
  void PresentPictures();

  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::vector<std::unique_ptr<TForm>> forms_;
  std::vector<TPaintBox*> paintBoxes_;
  ErrorReporter reporter_;
};

extern TApplication* Application;

// "/usr/bin/DEMO.EXE" -> "Demo": no directory, nothing from the first "." on, the first
// character as it is and the rest in lower case.
std::string TitleFromProgramPath(const std::string& path);

// An error message as shown: with a full stop appended when its last character sorts after ".".
std::string WithFullStop(const std::string& message);
