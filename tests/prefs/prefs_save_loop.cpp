// Vidurara: a ring around the mouse pointer for presentations.
// Saves the preferences over and over, alternating two sets of settings, until it is
// killed. Prints "saved" once the first save is done. The file goes where
// XDG_CONFIG_HOME says.
#include "Module1.h"
#include "PrefsFile.h"
#include "SaveLoopValues.h"
#include "prefModule.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  for (unsigned long i = 0;; ++i) {
    prefModule::setValues(i % 2 == 0 ? saveloop::first() : saveloop::second());
    prefModule::savePrefs();
    if (i == 1) {
      std::puts("saved");
      std::fflush(stdout);
    }
  }
}
