// A real window on the offscreen platform, driven with real mouse events, with the error
// reporter replaced so that reports are collected instead of shown in a modal box.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "platform/Application.h"
#include "platform/qt/ImageCanvasImpl.h"
#include "platform/qt/QtWidgets.h"
#include "window/U_pca.h"

struct Report {
  std::string caption;
  std::string message;
};

class WindowFixture : public testing::Test {
 protected:
  void SetUp() override {
    Application->SetErrorReporter(
        [this](const std::string& caption, const std::string& message) {
          reports.push_back({caption, message});
        });
    form = std::make_unique<TF_PCA>();
    form->DoCreate();
  }
  void TearDown() override {
    form.reset();
    Application->SetErrorReporter(nullptr);
  }

  void ShowAt(int w = 547, int h = 492) {
    form->SetClientSize(w, h);
    form->Show();
    Settle();
  }
  void Settle() {
    for (int i = 0; i < 4; ++i) QApplication::processEvents();
  }
  QWidget* Box() const { return form->Ramka->widget().qt; }
  static Qt::MouseButton QtButton(TMouseButton b) {
    return b == mbRight ? Qt::RightButton : b == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
  }
  void Press(int x, int y, TMouseButton b = mbLeft) {
    QTest::mousePress(Box(), QtButton(b), {}, QPoint(x, y));
  }
  void Release(int x, int y, TMouseButton b = mbLeft) {
    QTest::mouseRelease(Box(), QtButton(b), {}, QPoint(x, y));
    Settle();
  }
  void Edit(int px, int py, int ry, TMouseButton b = mbLeft) {
    Press(px, py, b);
    Release(px, ry, b);
  }
  void Resize(int w, int h) {
    form->SetClientSize(w, h);
    Settle();
  }
  // A key typed to whatever has the focus (the window when nothing has).
  void Key(Qt::Key key, Qt::KeyboardModifiers m = {}) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : form->window().qt.data(), key, m);
    Settle();
  }
  // The chart takes the focus as a user gives it: by Tab.
  void FocusChart() {
    form->window().qt->activateWindow();
    Settle();
    for (int i = 0; i < 3 && !Box()->hasFocus(); ++i) Key(Qt::Key_Tab);
    ASSERT_TRUE(Box()->hasFocus());
  }
  TColor Pixel(int x, int y) { return form->Ramka->Picture().PixelAt(x, y); }
  QImage Picture() { return form->Ramka->Picture().impl().image.copy(); }
  bool DataView() const { return form->Kl_A->Visible(); }

  std::unique_ptr<TF_PCA> form;
  std::vector<Report> reports;
};
