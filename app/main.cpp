// tamrel: the explorer's window. Run it in the runtime folder (BDict/ and data/ beside it).
#include "app/application.h"

int main(int argc, char** argv) {
  tamrel::Application::prepareStart();
  tamrel::Application app(argc, argv);
  return app.run();
}
