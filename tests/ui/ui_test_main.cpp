// Window tests need one application object that outlives every test.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // No display needed: the windows live off screen unless a platform is chosen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
