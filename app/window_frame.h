// The frame every dialog of the program wears: a title bar with the close button and the window
// menu, no resizing (the size is fixed by the template), no context help button; and the
// registration of the windows' resources, which their templates use.
#pragma once

class QWidget;

// Registers the icon of resources/tamrel.qrc (once; later calls do nothing). Call before setupUi.
void RegisterWindowResources();

// Call after setupUi. `minimiseBox` adds the minimise button (the main window has one).
void SetDialogFrame(QWidget& dialog, bool minimiseBox = false);
