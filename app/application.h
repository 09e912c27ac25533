// Application: the application object. It names the application, maps the fonts the forms name
// onto fonts of this system, and runs the main window once; the program ends when it closes.
#pragma once

#include <QApplication>

namespace tamrel {

class Application : public QApplication {
  Q_OBJECT

 public:
  // Settings that must precede the application object (web view sharing, sandbox under root).
  static void prepareStart();

  Application(int& argc, char** argv);

  // Chooses, prepares and enters the runtime folder (app/runtime_start.h); false after telling
  // the user why it cannot be used.
  bool enterRuntimeFolder();

  // Creates the desktop and the main window, initialises the window and runs it modally until it
  // closes; returns the program's exit code, 0.
  int run();
};

}  // namespace tamrel
