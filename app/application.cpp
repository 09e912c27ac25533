#include "app/application.h"

#include <unistd.h>

#include <QFont>
#include <QIcon>
#include <cstdlib>

#include "app/desktop.h"
#include "app/main_window.h"
#include "app/runtime_start.h"
#include "app/search_link_page.h"
#include "app/translation.h"
#include "app/window_frame.h"
#include "settings/learner_options.h"

namespace tamrel {

void Application::prepareStart() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The web view's renderer sandbox refuses to start for the root user.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", /*overwrite=*/0);
  SearchLinkPage::RegisterScheme();
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Tamrel"));
  setOrganizationName(QStringLiteral("Tamrel"));
  RegisterWindowResources();
  setWindowIcon(QIcon(QStringLiteral(":/tamrel/tamrel.png")));
  // The forms name fonts this system lacks; use close sans-serif faces instead. For Chinese, a
  // face with compact line metrics first, so that lines fit the heights the forms give them.
  const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                            QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("WenQuanYi Zen Hei"),
                            QStringLiteral("Noto Sans CJK SC")};
  QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), sans);
  QFont::insertSubstitutions(QStringLiteral("MS Shell Dlg"), sans);
}

bool Application::enterRuntimeFolder() {
  // The system's language for what is said while the folder is prepared, then the learner's choice.
  ApplyWindowLanguage(WindowLanguage::kSystem);
  if (!EnterRuntimeFolder(arguments())) return false;
  LearnerOptions options;
  (void)ReadLearnerOptions(options, "");  // without a readable file the system's language stays
  ApplyWindowLanguage(options.language);
  return true;
}

int Application::run() {
  QtDesktop desktop;
  MainWindow window(desktop);
  window.initialize();
  window.exec();  // the window's own result does not reach the exit code
  return 0;
}

}  // namespace tamrel
