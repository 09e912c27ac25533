// The frame every dialog of the program wears: a title bar with the close button and the window
// menu, no resizing (the form fixes the size), no context help button; and the registration of
// the windows' resources (the program icon), which their forms use.
#pragma once

class QWidget;

namespace tamrel {

// Registers the icon of resources/tamrel.qrc (once; later calls do nothing). Call before setupUi.
void RegisterWindowResources();

// Call after setupUi. `minimiseBox` adds the minimise button (the main window has one).
void SetDialogFrame(QWidget& dialog, bool minimiseBox = false);

}  // namespace tamrel
