// Vidurara: a ring around the mouse pointer for presentations.
// The real program from outside, in the test's own X session with a window manager and
// a temporary configuration folder: where its Control Panel opens, and what closing the
// Control Panel like its close box does to the process and to the preferences file.
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QByteArray kFirstRunFile = "#Window1Position 70,10\n#AutoShutOff False\n#MyColor 0,0,255\n"
                                 "#CircleSize 100\n#CircleLineWidth 6\n";

QString output(const QString &program, const QStringList &arguments) {
  QString text;
  testsupport::run(program, arguments, &text, 5000);
  return text;
}

// The mapped top-level windows of `pid` titled exactly "Vidurara".
QStringList panelWindows(qint64 pid) {
  return output("xdotool", {"search", "--all", "--onlyvisible", "--pid", QString::number(pid),
                            "--name", "^Vidurara$"})
      .split('\n', Qt::SkipEmptyParts);
}

// The content area's top-left corner as the X server has it.
QPoint contentPosition(const QString &window) {
  const QString info = output("xwininfo", {"-id", window});
  const auto x = QRegularExpression("Absolute upper-left X:\\s*(-?\\d+)").match(info);
  const auto y = QRegularExpression("Absolute upper-left Y:\\s*(-?\\d+)").match(info);
  if (!x.hasMatch() || !y.hasMatch())
    return QPoint(INT_MIN, INT_MIN);
  return QPoint(x.captured(1).toInt(), y.captured(1).toInt());
}

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<cannot be read>");
}

} // namespace

class TestStartupShutdown : public QObject {
  Q_OBJECT

private slots:
  void panelPositionRoundTrip_data() {
    QTest::addColumn<QByteArray>("saved"); // empty: no configuration folder at all
    QTest::addColumn<QPoint>("opensAt");   // left, top of the content area
    QTest::addColumn<QPoint>("moveTo");    // where the user drags it; null: left alone
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("first run on a fresh account")
        << QByteArray() << QPoint(10, 70) << QPoint() << kFirstRunFile;
    QTest::newRow("saved position, then moved")
        << QByteArray("#Window1Position 200,300\n#AutoShutOff True\n#MyColor 10,20,30\n"
                      "#CircleSize 150\n#CircleLineWidth 8\n")
        << QPoint(300, 200) << QPoint(412, 333)
        << QByteArray("#Window1Position 333,412\n#AutoShutOff True\n#MyColor 10,20,30\n"
                      "#CircleSize 150\n#CircleLineWidth 8\n");
    QTest::newRow("saved partly off the screen")
        << QByteArray("#Window1Position -5,-20\n#AutoShutOff False\n#MyColor 0,0,255\n"
                      "#CircleSize 100\n#CircleLineWidth 6\n")
        << QPoint(-20, -5) << QPoint()
        << QByteArray("#Window1Position -5,-20\n#AutoShutOff False\n#MyColor 0,0,255\n"
                      "#CircleSize 100\n#CircleLineWidth 6\n");
    // The file's numbers saturate to 32 bits, far beyond the window system's 16: the
    // program still starts, the window manager puts the panel where it can (a null
    // opensAt: anywhere) and the file gets the live position back.
    QTest::newRow("saved at the 32-bit limits")
        << QByteArray("#Window1Position 2147483647,-2147483648\n#AutoShutOff False\n"
                      "#MyColor 0,0,255\n#CircleSize 100\n#CircleLineWidth 6\n")
        << QPoint() << QPoint()
        << QByteArray("#AutoShutOff False\n#MyColor 0,0,255\n#CircleSize 100\n"
                      "#CircleLineWidth 6\n");
  }

  void panelPositionRoundTrip() {
    QFETCH(QByteArray, saved);
    QFETCH(QPoint, opensAt);
    QFETCH(QPoint, moveTo);
    QFETCH(QByteArray, written);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString config = tmp.path() + "/config";
    const QString file = config + "/vidurara3.txt";
    if (!saved.isEmpty()) {
      QVERIFY(QDir().mkdir(config));
      QFile f(file);
      QVERIFY(f.open(QIODevice::WriteOnly) && f.write(saved) == saved.size());
    }
    const QString runtime = tmp.path() + "/runtime";
    QVERIFY(QDir().mkdir(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("XDG_RUNTIME_DIR", runtime);
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(VIDURARA_EXECUTABLE), {});
    QVERIFY(program.waitForStarted());
    // Whatever happens below, the program does not outlive the test.
    auto stop = qScopeGuard([&] {
      if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished();
      }
    });

    QStringList windows;
    QTRY_COMPARE_WITH_TIMEOUT((windows = panelWindows(program.processId())).size(), 1, 15000);
    const QString panel = windows.first();
    if (opensAt.isNull()) {
      QTest::qWait(500);
      const QPoint live = contentPosition(panel);
      written.prepend(
          QStringLiteral("#Window1Position %1,%2\n").arg(live.y()).arg(live.x()).toLatin1());
    } else {
      QTRY_COMPARE_WITH_TIMEOUT(contentPosition(panel), opensAt, 5000);
    }

    if (!moveTo.isNull()) {
      QVERIFY(testsupport::xdotool(
          {"windowmove", panel, QString::number(moveTo.x()), QString::number(moveTo.y())}));
      QTRY_COMPARE_WITH_TIMEOUT(contentPosition(panel), moveTo, 5000);
    }

    // The window manager's close request, as the close box sends it.
    QVERIFY(testsupport::run("wmctrl", {"-i", "-c", panel}));
    QVERIFY2(program.waitForFinished(10000),
             "the program did not end after its Control Panel closed");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(readAll(file), written);

    if (saved.isEmpty()) {
      // The fresh account's configuration folder was made for the user alone.
      struct stat st {};
      QCOMPARE(::stat(QFile::encodeName(config).constData(), &st), 0);
      QCOMPARE(st.st_mode & 07777, mode_t(0700));
    }
    QCOMPARE(QDir(config).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"vidurara3.txt"});
  }
};

QTEST_GUILESS_MAIN(TestStartupShutdown)
#include "test_startup_shutdown.moc"
