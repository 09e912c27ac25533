// tamrel: the explorer's window. Run it in the runtime folder (BDict/ and data/ beside it).
#include "app/application.h"

int main(int argc, char** argv) {
  Application::PrepareStart();
  Application app(argc, argv);
  app.InitInstance();
  return 0;
}
