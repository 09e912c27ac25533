// tamrel: the explorer's window. Run it in the runtime folder (BDict/ and data/ beside it).
#include "ui/tamrel_app.h"

int main(int argc, char** argv) {
  CTamrelApp::PrepareStart();
  CTamrelApp app(argc, argv);
  app.InitInstance();
  return 0;
}
