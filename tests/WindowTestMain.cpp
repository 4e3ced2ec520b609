// The window tests run against the real Qt platform, offscreen.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "platform/Application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  testing::InitGoogleTest(&argc, argv);
  TApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
