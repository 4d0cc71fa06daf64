// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

// Small helpers the GUI tests share. They act on the test's own X session.
namespace testsupport {

// Runs a program to its end; true when it exited with 0. Its output goes to `output`.
bool run(const QString &program, const QStringList &arguments, QString *output = nullptr,
         int timeoutMs = 15000);

// xdotool through XTEST: "mousemove_relative", "click", "keydown", ...
bool xdotool(const QStringList &arguments);

// The composited screen as the X server shows it now.
QImage grabScreen();

// The compositing manager of this session (xsession.sh): stop it, start a new one.
bool stopCompositor();
bool startCompositor();

// True when two colours differ by at most `tolerance` in each of red, green and blue.
bool near(QColor a, QColor b, int tolerance = 8);

} // namespace testsupport
