// Vidurara: a ring around the mouse pointer for presentations.
#include "TestSupport.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include <csignal>
#include <cstdlib>

namespace testsupport {

bool run(const QString &program, const QStringList &arguments, QString *output, int timeoutMs) {
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, arguments);
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
    return false;
  }
  if (output)
    *output = QString::fromLocal8Bit(p.readAll());
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool xdotool(const QStringList &arguments) { return run(QStringLiteral("xdotool"), arguments); }

QImage grabScreen() {
  QScreen *screen = QGuiApplication::primaryScreen();
  return screen ? screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

namespace {
qint64 compositorPid = -1;
}

bool stopCompositor() {
  if (compositorPid < 0)
    compositorPid = qEnvironmentVariableIntValue("VIDURARA_TEST_COMPMGR_PID");
  if (compositorPid <= 0)
    return false;
  ::kill(pid_t(compositorPid), SIGTERM);
  compositorPid = 0;
  QTest::qWait(300);
  return true;
}

bool startCompositor() {
  qint64 pid = 0;
  if (!QProcess::startDetached(QStringLiteral("xcompmgr"), {}, QString(), &pid))
    return false;
  compositorPid = pid;
  QTest::qWait(300);
  return true;
}

bool near(QColor a, QColor b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace testsupport
