// The frame every dialog of the program wears: a title bar with the close button and the window
// menu, no resizing (the form fixes the size), no context help button; the frame of the main
// window, which grows; and the registration of the windows' resources (the program icon), which
// their forms use.
#pragma once

class QWidget;

namespace tamrel {

// Registers the icon of resources/tamrel.qrc (once; later calls do nothing). Call before setupUi.
void RegisterWindowResources();

// Call after setupUi. `minimiseBox` adds the minimise button.
void SetDialogFrame(QWidget& dialog, bool minimiseBox = false);

// The frame of the main window: a window that can be resized, minimised and maximised, never
// smaller than its form. Call after setupUi.
void SetGrowingWindowFrame(QWidget& window);

}  // namespace tamrel
