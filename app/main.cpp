// tamrel: the explorer's window. It works in its runtime folder (BDict/ and data/): the current
// folder when it holds BDict/, one named by --root DIR or TAMREL_ROOT, or for an installed program
// the user's own (app/runtime_start.h). --trace prints the times of each search (app/search_trace.h).
#include <cstdio>
#include <string_view>

#include "app/application.h"
#include "app/search_trace.h"

int main(int argc, char** argv) {
  // Answered before the application object, which needs a display.
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--version") {
      std::puts("tamrel " TAMREL_VERSION);
      return 0;
    }
    if (std::string_view(argv[i]) == "--trace") tamrel::SearchTrace::enable();
  }
  tamrel::Application::prepareStart();
  tamrel::Application app(argc, argv);
  if (!app.enterRuntimeFolder()) return 2;
  return app.run();
}
