// Vidurara: a ring around the mouse pointer for presentations.
// The preferences file through its real interface: files in a temporary configuration
// folder (XDG_CONFIG_HOME), loadPrefs and savePrefs, and the shared settings.
#include "Module1.h"
#include "PrefsFile.h"
#include "PrefsFormat.h"
#include "SaveLoopValues.h"
#include "prefModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif
#include <sys/stat.h>

using prefModule::PrefValues;

namespace prefModule {
// Lets QCOMPARE show both sides in the file's own words.
char *toString(const PrefValues &v) { return qstrdup(formatPrefs(v).c_str()); }
} // namespace prefModule

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Settings as a test expects them: everything zero unless set.
struct Expected {
  PrefValues v;
  Expected &position(std::int32_t top, std::int32_t left) {
    v.top = top;
    v.left = left;
    return *this;
  }
  Expected &autoShutOff(bool on) {
    v.autoShutOff = on;
    return *this;
  }
  Expected &color(int r, int g, int b) {
    v.color = RGBColor(r, g, b);
    return *this;
  }
  Expected &size(std::int32_t s) {
    v.size = s;
    return *this;
  }
  Expected &lineWidth(std::int32_t w) {
    v.lineWidth = w;
    return *this;
  }
};

QByteArray bytesOf(const PrefValues &v) {
  return QByteArray::fromStdString(prefModule::formatPrefs(v));
}

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<cannot be read>");
}

bool writeAll(const QString &path, const QByteArray &bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Root writes into any folder whatever its mode says. While one of these lives, this
// thread obeys permission bits like any user, so that a read-only folder is read-only
// for the save as well.
class PermissionsObeyed {
public:
  PermissionsObeyed() {
#ifdef Q_OS_LINUX
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    header_.pid = 0;
    if (syscall(SYS_capget, &header_, saved_) != 0)
      return;
    __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      reduced[cap / 32].effective &= ~(1u << (cap % 32));
    active_ = syscall(SYS_capset, &header_, reduced) == 0;
#endif
  }
  ~PermissionsObeyed() {
#ifdef Q_OS_LINUX
    if (active_)
      syscall(SYS_capset, &header_, saved_);
#endif
  }
  PermissionsObeyed(const PermissionsObeyed &) = delete;
  PermissionsObeyed &operator=(const PermissionsObeyed &) = delete;

private:
#ifdef Q_OS_LINUX
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool active_ = false;
#endif
};

} // namespace

Q_DECLARE_METATYPE(Expected)

class TestPrefsFile : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<QTemporaryDir> tmp_;
  QString config_;
  QString file_;

  void useConfigFolder(const QString &folder) {
    config_ = folder;
    file_ = folder + QStringLiteral("/vidurara3.txt");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
  }

private slots:
  void init() {
    // Every run starts as the process does: zeros, and the one empty slot.
    prefModule::setValues(PrefValues());
    prefModule::gDirectives = std::vector<directiveClass>(1);
    prefModule::setWindowPositionSource(nullptr);
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    useConfigFolder(tmp_->path() + QStringLiteral("/config"));
    QVERIFY(QDir().mkdir(config_));
    // Problems with the file are never reported, not even on the console.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
  }

  void cleanup() {
    QFile::setPermissions(config_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    tmp_.reset();
  }

  void location() {
    QCOMPARE(prefModule::prefsLocation().value_or(QString()), file_);
    // A relative configuration folder is invalid: the default one stands in.
    qputenv("XDG_CONFIG_HOME", "relative/config");
    QCOMPARE(prefModule::prefsLocation().value_or(QString()),
             QDir::homePath() + "/.config/vidurara3.txt");
  }

  void noFileGivesDefaults_data() {
    QTest::addColumn<int>("inItsPlace"); // 0 nothing, 1 a folder, 2 a named pipe
    QTest::newRow("no file") << 0;
    QTest::newRow("a folder of that name") << 1;
    // Opening a pipe for reading would wait for a writer forever: start-up would hang.
    QTest::newRow("a named pipe of that name") << 2;
  }
  void noFileGivesDefaults() {
    QFETCH(int, inItsPlace);
    if (inItsPlace == 1)
      QVERIFY(QDir().mkdir(file_));
    if (inItsPlace == 2)
      QCOMPARE(::mkfifo(QFile::encodeName(file_).constData(), 0600), 0);
    prefModule::loadPrefs();
    QCOMPARE(prefModule::currentValues(),
             Expected().position(70, 10).color(0, 0, 255).size(100).lineWidth(6).v);
    QCOMPARE(prefModule::gDirectives.size(), std::size_t(1));
  }

  // What a file holds and the settings it leaves, starting from zero. A file that opens
  // never brings in a default.
  void reading_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<Expected>("expected");
    const QByteArray writer = "#Window1Position 1,2\n#AutoShutOff True\n#MyColor 3,4,5\n"
                              "#CircleSize 6\n#CircleLineWidth 7\n";
    const Expected fromWriter =
        Expected().position(1, 2).autoShutOff(true).color(3, 4, 5).size(6).lineWidth(7);

    QTest::newRow("empty file") << QByteArray() << Expected();
    QTest::newRow("empty first line") << QByteArray("\n#CircleSize 120\n") << Expected();
    QTest::newRow("writer's lines") << writer << fromWriter;
    QTest::newRow("writer's lines, no end on the last") << writer.chopped(1) << fromWriter;
    QTest::newRow("empty line ends the directives")
        << writer + "\n#CircleSize 999\n#MyColor 9,9,9\n"
        << fromWriter;
    QTest::newRow("colour line missing: black, not blue")
        << QByteArray(
               "#Window1Position 1,2\n#AutoShutOff True\n#CircleSize 6\n#CircleLineWidth 7\n")
        << Expected().position(1, 2).autoShutOff(true).size(6).lineWidth(7);
    QTest::newRow("position line missing: 0,0")
        << QByteArray("#AutoShutOff True\n#MyColor 3,4,5\n#CircleSize 6\n#CircleLineWidth 7\n")
        << Expected().autoShutOff(true).color(3, 4, 5).size(6).lineWidth(7);
    QTest::newRow("later line wins")
        << QByteArray("#CircleSize 120\n#CircleSize 80\n") << Expected().size(80);

    QTest::newRow("size") << QByteArray("#CircleSize 120") << Expected().size(120);
    QTest::newRow("name in lower case") << QByteArray("#circlesize 120") << Expected().size(120);
    QTest::newRow("name in upper case") << QByteArray("#CIRCLESIZE 120") << Expected().size(120);
    QTest::newRow("no blank: skipped, reading goes on")
        << QByteArray("#CircleSize\n#CircleLineWidth 5") << Expected().lineWidth(5);
    QTest::newRow("blank and nothing else: 0")
        << QByteArray("#CircleSize 50\n#CircleSize ") << Expected();
    QTest::newRow("leading blank ends the directives")
        << QByteArray("#CircleLineWidth 5\n #CircleSize 120") << Expected().lineWidth(5);
    QTest::newRow("leading tab ends the directives")
        << QByteArray("#CircleLineWidth 5\n\t#CircleSize 120") << Expected().lineWidth(5);
    QTest::newRow("other first character ends the directives")
        << QByteArray("#CircleLineWidth 5\nCircleSize 120\n#CircleSize 120")
        << Expected().lineWidth(5);
    QTest::newRow("auto shut-off true")
        << QByteArray("#AutoShutOff true") << Expected().autoShutOff(true);
    QTest::newRow("auto shut-off TRUE")
        << QByteArray("#AutoShutOff TRUE") << Expected().autoShutOff(true);
    QTest::newRow("auto shut-off True and a blank: off")
        << QByteArray("#AutoShutOff True\n#AutoShutOff True ") << Expected();
    QTest::newRow("auto shut-off 1: off")
        << QByteArray("#AutoShutOff True\n#AutoShutOff 1") << Expected();
    QTest::newRow("colour, one field") << QByteArray("#MyColor 255") << Expected().color(255, 0, 0);
    QTest::newRow("colour, fourth field ignored")
        << QByteArray("#MyColor 10,20,30,40") << Expected().color(10, 20, 30);
    QTest::newRow("colour clamped to 0..255")
        << QByteArray("#MyColor 300,-4,99999999999") << Expected().color(255, 0, 255);
    QTest::newRow("position, one field")
        << QByteArray("#Window1Position 120") << Expected().position(120, 0);
    QTest::newRow("negative position")
        << QByteArray("#Window1Position -5,-20") << Expected().position(-5, -20);
    QTest::newRow("position, third field ignored")
        << QByteArray("#Window1Position 3,4,5") << Expected().position(3, 4);
    QTest::newRow("unknown name") << QByteArray("#Colour 1,2,3\n#CircleSize 4")
                                  << Expected().size(4);
    QTest::newRow("comment, reading goes on")
        << QByteArray("' saved settings\n#CircleSize 120") << Expected().size(120);
    QTest::newRow("empty name") << QByteArray("# CircleSize 120") << Expected();

    QTest::newRow("\\r\\n line ends")
        << QByteArray("#CircleSize 1\r\n#CircleLineWidth 2\r\n\r\n#CircleSize 3\r\n")
        << Expected().size(1).lineWidth(2);
    QTest::newRow("\\r line ends")
        << QByteArray("#CircleSize 1\r#CircleLineWidth 2\r\r#CircleSize 3\r")
        << Expected().size(1).lineWidth(2);
    QTest::newRow("mixed line ends")
        << QByteArray("#CircleSize 1\r\n#CircleLineWidth 2\r#AutoShutOff True\n#MyColor 1,2,3")
        << Expected().size(1).lineWidth(2).autoShutOff(true).color(1, 2, 3);
    QTest::newRow("\\n\\r is two line ends")
        << QByteArray("#CircleSize 1\n\r#CircleSize 3") << Expected().size(1);

    QTest::newRow("largest number")
        << QByteArray("#CircleSize 2147483647") << Expected().size(kMax);
    QTest::newRow("smallest number")
        << QByteArray("#CircleSize -2147483648") << Expected().size(kMin);
    QTest::newRow("too large: saturated")
        << QByteArray("#CircleSize 2147483648\n#CircleLineWidth 99999999999999999999999")
        << Expected().size(kMax).lineWidth(kMax);
    QTest::newRow("too small: saturated")
        << QByteArray("#Window1Position -2147483649,-99999999999999999999999")
        << Expected().position(kMin, kMin);
    QTest::newRow("leading integer part")
        << QByteArray("#CircleSize 12abc\n#CircleLineWidth 7.9\n#Window1Position 3e5,-0")
        << Expected().size(12).lineWidth(7).position(3, 0);
    QTest::newRow("not a number: 0")
        << QByteArray("#CircleSize 5\n#CircleSize +5\n#CircleLineWidth 5\n#CircleLineWidth  5\n"
                      "#Window1Position --1,-")
        << Expected();
    static const char beyondAscii[] = "#CircleSize\xc3\xa9 1\n#CircleSize 2\xff\x00z\n#\xff 3";
    QTest::newRow("bytes beyond ASCII and NUL")
        << QByteArray(beyondAscii, sizeof beyondAscii - 1) << Expected().size(2);
  }
  void reading() {
    QFETCH(QByteArray, contents);
    QFETCH(Expected, expected);
    QVERIFY(writeAll(file_, contents));
    prefModule::loadPrefs();
    QCOMPARE(prefModule::currentValues(), expected.v);
  }

  // The records themselves: names folded, values untouched, in file order from index 1.
  void records() {
    QVERIFY(writeAll(file_, "#CircleSize 120\n# CircleSize 120\n#NoBlank\n'#Skipped 1\n"
                            "#MiXed  two  blanks \n#Last \nstop\n#After 1\n"));
    QVERIFY(prefModule::extractDirectives(file_));
    const std::vector<directiveClass> &d = prefModule::gDirectives;
    QCOMPARE(d.size(), std::size_t(5));
    QVERIFY(d[0].name.empty() && d[0].text.empty());
    const std::pair<const char *, const char *> expected[] = {
        {"circlesize", "120"}, {"", "CircleSize 120"}, {"mixed", " two  blanks "}, {"last", ""}};
    for (std::size_t i = 0; i < 4; ++i) {
      QCOMPARE(d[i + 1].name, std::string(expected[i].first));
      QCOMPARE(d[i + 1].text, std::string(expected[i].second));
    }
    // extractDirectives touches no setting.
    QCOMPARE(prefModule::currentValues(), PrefValues());
  }

  void extractFailures() {
    QVERIFY(!prefModule::extractDirectives(std::nullopt));
    QVERIFY(!prefModule::extractDirectives(file_));
    QVERIFY(writeAll(file_, QByteArray()));
    QVERIFY(prefModule::extractDirectives(file_));
    QCOMPARE(prefModule::gDirectives.size(), std::size_t(1));
  }

  // The exact bytes, and where the position comes from: the Control Panel's live
  // position when it can be had, else the loaded one.
  void writing_data() {
    QTest::addColumn<Expected>("stored");
    QTest::addColumn<int>("source"); // 0 none, 1 answers nothing, 2 answers (-5, -20)
    QTest::addColumn<QByteArray>("bytes");
    const Expected defaults = Expected().position(70, 10).color(0, 0, 255).size(100).lineWidth(6);
    const QByteArray defaultBytes = "#Window1Position 70,10\n#AutoShutOff False\n#MyColor 0,0,255\n"
                                    "#CircleSize 100\n#CircleLineWidth 6\n";
    QTest::newRow("first run, no position source") << defaults << 0 << defaultBytes;
    QTest::newRow("source answers nothing") << defaults << 1 << defaultBytes;
    QTest::newRow("live position")
        << defaults << 2
        << QByteArray("#Window1Position -5,-20\n#AutoShutOff False\n#MyColor 0,0,255\n"
                      "#CircleSize 100\n#CircleLineWidth 6\n");
    QTest::newRow("extremes")
        << Expected()
               .position(kMin, kMax)
               .autoShutOff(true)
               .color(255, 0, 7)
               .size(kMin)
               .lineWidth(kMax)
        << 0
        << QByteArray(
               "#Window1Position -2147483648,2147483647\n#AutoShutOff True\n#MyColor 255,0,7\n"
               "#CircleSize -2147483648\n#CircleLineWidth 2147483647\n");
  }
  void writing() {
    QFETCH(Expected, stored);
    QFETCH(int, source);
    QFETCH(QByteArray, bytes);
    prefModule::setValues(stored.v);
    if (source == 1)
      prefModule::setWindowPositionSource(
          [] { return std::optional<prefModule::WindowPosition>(); });
    if (source == 2)
      prefModule::setWindowPositionSource([] {
        return std::optional<prefModule::WindowPosition>(prefModule::WindowPosition{-5, -20});
      });
    QVERIFY(writeAll(file_, "#CircleSize 1\nan old file, longer than the new one " +
                                QByteArray(500, 'x')));
    prefModule::savePrefs();
    QCOMPARE(readAll(file_), bytes);
    // Saving changes no setting; the loaded position stays as it was.
    QCOMPARE(prefModule::currentValues(), stored.v);
    // No temporary file is left beside it.
    QCOMPARE(QDir(config_).entryList(QDir::Files | QDir::Hidden), QStringList{"vidurara3.txt"});
  }

  void roundTrip_data() {
    QTest::addColumn<Expected>("stored");
    QTest::newRow("defaults") << Expected().position(70, 10).color(0, 0, 255).size(100).lineWidth(
        6);
    QTest::newRow("negative position")
        << Expected().position(-5, -20).autoShutOff(true).color(200, 0, 0).size(50).lineWidth(4);
    QTest::newRow("zeros") << Expected();
    QTest::newRow("extremes") << Expected()
                                     .position(kMin, kMax)
                                     .autoShutOff(true)
                                     .color(255, 255, 255)
                                     .size(kMax)
                                     .lineWidth(kMin);
  }
  void roundTrip() {
    QFETCH(Expected, stored);
    prefModule::setValues(stored.v);
    prefModule::savePrefs();
    prefModule::setValues(PrefValues());
    prefModule::loadPrefs();
    QCOMPARE(prefModule::currentValues(), stored.v);
  }

  // A save that cannot be made says nothing, keeps the old file as it was and leaves the
  // settings in memory alone.
  void saveRefused_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("read-only folder") << "folder";
    QTest::newRow("a folder in the file's place") << "directory";
  }
  void saveRefused() {
    QFETCH(QString, obstacle);
    const QByteArray old = "#CircleSize 77\n#an old file\n";
    if (obstacle == "directory") {
      QVERIFY(QDir().mkdir(file_));
      QVERIFY(writeAll(file_ + "/keep", old));
    } else {
      QVERIFY(writeAll(file_, old));
    }
    const PrefValues stored = Expected().position(1, 2).size(3).v;
    prefModule::setValues(stored);
    {
      PermissionsObeyed obeyed;
      if (obstacle == "folder")
        QVERIFY(QFile::setPermissions(config_, QFile::ReadOwner | QFile::ExeOwner));
      // Make sure the obstacle is real for this process before relying on it.
      QFile probe(obstacle == "folder" ? config_ + "/probe" : file_);
      QVERIFY2(!probe.open(QIODevice::WriteOnly | QIODevice::Append),
               "the obstacle does not stop writing");
      prefModule::savePrefs();
    }
    QCOMPARE(readAll(obstacle == "directory" ? file_ + "/keep" : file_), old);
    QCOMPARE(prefModule::currentValues(), stored);
    QFile::setPermissions(config_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(QDir(config_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"vidurara3.txt"});
  }

  // A fresh account has no configuration folder: the save makes that one folder, private
  // to the user, and nothing above it.
  void missingConfigFolder() {
    useConfigFolder(tmp_->path() + "/fresh");
    prefModule::setValues(Expected().position(-5, -20).size(120).v);
    const mode_t oldMask = ::umask(0);
    prefModule::savePrefs();
    ::umask(oldMask);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(config_).constData(), &st), 0);
    QVERIFY(S_ISDIR(st.st_mode));
    QCOMPARE(st.st_mode & 07777, mode_t(0700));
    QCOMPARE(readAll(file_), bytesOf(Expected().position(-5, -20).size(120).v));

    useConfigFolder(tmp_->path() + "/absent/config");
    prefModule::savePrefs();
    QVERIFY(!QFileInfo::exists(tmp_->path() + "/absent"));
  }

  // A save killed at any moment leaves the old file or the new one, whole.
  void killedDuringSave() {
    const QByteArray first = bytesOf(saveloop::first());
    const QByteArray second = bytesOf(saveloop::second());
    QRandomGenerator random(20261211);
    int seenFirst = 0, seenSecond = 0;
    for (int round = 0; round < 40; ++round) {
      QProcess saver;
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("XDG_CONFIG_HOME", config_);
      saver.setProcessEnvironment(env);
      saver.start(QStringLiteral(PREFS_SAVE_LOOP), {});
      QVERIFY(saver.waitForStarted());
      QVERIFY(saver.waitForReadyRead(10000));
      QTest::qSleep(int(random.bounded(20)));
      saver.kill();
      QVERIFY(saver.waitForFinished());
      const QByteArray found = readAll(file_);
      QVERIFY2(found == first || found == second, found.constData());
      (found == first ? seenFirst : seenSecond)++;
    }
    qInfo("after 40 kills: %d times the first set, %d times the second", seenFirst, seenSecond);
  }
};

QTEST_GUILESS_MAIN(TestPrefsFile)
#include "test_prefs_file.moc"
