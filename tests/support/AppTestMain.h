// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

// main() of a test that drives the real application object: a private configuration
// folder, the App with its menu bar, the test, then the App's own finalisation.

#include "App.h"
#include "SingleInstance.h"
#include "Window1.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

template <typename Test> int runWithApp(int argc, char **argv) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  App app(argc, argv);
  app.InstallMenuBar();
  int rc = 0;
  {
    Test test(app);
    rc = QTest::qExec(&test, argc, argv);
  }
  delete SingleInstance<Window1>::find();
  app.Finalise();
  return rc;
}
