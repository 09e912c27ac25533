// Application: the application object. It names the application, maps the templates' Windows
// fonts onto fonts of this system, runs the main window once and lets the program end when the
// window closes.
#pragma once

#include <QApplication>

class Application : public QApplication {
  Q_OBJECT

 public:
  // Settings that must precede the application object (web view sharing, sandbox under root).
  static void PrepareStart();

  Application(int& argc, char** argv);

  // Creates the main window, initialises and runs it modally, destroys it; returns false so that
  // no message loop of the application's own follows.
  bool InitInstance();
};
