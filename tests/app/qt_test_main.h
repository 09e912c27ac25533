// The main function of the window suites: the web view's renderer needs its sandbox off under
// root and in containers, without an X display the suites run on the offscreen platform, and the
// program's link scheme is registered as the program registers it.
#pragma once

#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "app/search_link_page.h"

inline void PrepareWindowTests() {
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox", 0);
  const char* display = std::getenv("DISPLAY");
  if ((display == nullptr || *display == '\0') && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  tamrel::SearchLinkPage::RegisterScheme();  // as the program does before its QApplication
}

#define TAMREL_WINDOW_TEST_MAIN(TestClass)   \
  int main(int argc, char** argv) {          \
    PrepareWindowTests();                    \
    QApplication app(argc, argv);            \
    TestClass suite;                         \
    return QTest::qExec(&suite, argc, argv); \
  }
