// Vidurara: a ring around the mouse pointer for presentations.
#include "App.h"
#include "NativeInterface.h"

#include <QTimer>

int main(int argc, char *argv[]) {
  // The program reads no command line: Qt is given the program name only.
  (void)argc;
  int qtArgc = 1;
  char *qtArgv[] = {argv[0], nullptr};

  platform::prepareApplication();
  App app(qtArgc, qtArgv);
  app.InstallMenuBar();
  QTimer::singleShot(0, &app, &App::Event_Open);
  const int code = app.exec();
  app.Finalise();
  return code;
}
