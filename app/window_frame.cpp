#include "app/window_frame.h"

#include <QLayout>
#include <QWidget>

// The resource file is compiled into this static library, whose objects the linker keeps only
// when referenced, so it is registered by hand; Q_INIT_RESOURCE must stand outside any namespace.
static bool RegisterResourceFile() {
  Q_INIT_RESOURCE(tamrel);
  return true;
}

namespace tamrel {

void RegisterWindowResources() {
  static const bool registered = RegisterResourceFile();
  (void)registered;
}

void SetDialogFrame(QWidget& dialog, bool minimiseBox) {
  Qt::WindowFlags flags = (minimiseBox ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
  if (minimiseBox) flags |= Qt::WindowMinimizeButtonHint;
  dialog.setWindowFlags(flags);
  dialog.setFixedSize(dialog.sizeHint().expandedTo(dialog.minimumSize()));
}

}  // namespace tamrel

namespace tamrel {

void SetGrowingWindowFrame(QWidget& window) {
  window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
  // The form's layout does not fix the size: it only keeps the window from getting smaller.
  if (window.layout() != nullptr) window.layout()->setSizeConstraint(QLayout::SetMinimumSize);
  window.resize(window.sizeHint().expandedTo(window.minimumSizeHint()));
}

}  // namespace tamrel
