// Vidurara: a ring around the mouse pointer for presentations.
// The update window against a real HTTP server on 127.0.0.1; its boxes are the real ones,
// answered by the test.
#include "AppVersion.h"
#include "FeedReader.h"
#include "ProductInfo.h"
#include "UpdateTestSupport.h"
#include "updateWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

const QString kCurrentText =
    QStringLiteral("You are using the current version. No update is available.");
const QString kCheckingText = QStringLiteral("Checking for updates...");

QString offerText(const QString &version, bool free) {
  return QStringLiteral("Version ") + version +
         QStringLiteral(" is now available. (You are using version 2.1.0.) ") +
         (free ? QStringLiteral("This is a free upgrade. Would you like to automatically "
                                "download this update (using your web browser)?")
               : QStringLiteral("This is a paid upgrade. Would you like to automatically "
                                "download the trial version (using your web browser)?"));
}

QString errorText(int code) {
  return QStringLiteral("There was a communication error with the website. Please try again "
                        "later. (Code: %1)")
      .arg(code);
}

QByteArray feed(const QByteArray &version, const QByteArray &description = "Faster rings.",
                const QByteArray &free = "No") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Vidurara>\n  <CurrentVersion>" + version +
         "</CurrentVersion>\n  <Description>" + description + "</Description>\n  <Free>" + free +
         "</Free>\n</Vidurara>\n";
}

enum class Outcome { None, Current, Offer, Error };

} // namespace

Q_DECLARE_METATYPE(Outcome)

class TestUpdateWindow : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void cleanup();
  void window();
  void feeds_data();
  void feeds();
  void oversizedFeed_data();
  void oversizedFeed();
  void offerButtons_data();
  void offerButtons();
  void abandon_data();
  void abandon();

private:
  // Opens a check the way selfTest does and waits until its window has gone.
  bool runCheck(DialogAnswerer &answerer);

  FeedServer server_;
  BellCounter bells_;
};

void TestUpdateWindow::initTestCase() {
  // Every expected text below is written for this running version.
  QCOMPARE(QString::fromUtf8(AppVersion::ShortVersion), QStringLiteral("2.1.0"));
  updateWindow::setFeedUrl(server_.feedUrl());
  if (!bells_.available())
    qWarning("no XKB bell notifications on this display: bells are not checked");
}

void TestUpdateWindow::cleanup() {
  // A failed check must not leave its window behind for the next row.
  if (updateWindow *left = openUpdateWindow())
    left->close();
  QTRY_VERIFY(!openUpdateWindow());
  updateWindow::setFeedUrl(server_.feedUrl());
}

bool TestUpdateWindow::runCheck(DialogAnswerer &answerer) {
  QPointer<updateWindow> window = new updateWindow;
  window->showModally();
  const bool gone = QTest::qWaitFor([&] { return !window; }, 20000);
  return gone && !answerer.timedOut;
}

void TestUpdateWindow::window() {
  server_.serve(FeedServer::NeverAnswer);
  QPointer<updateWindow> w = new updateWindow;
  w->showModally();
  QVERIFY(QTest::qWaitForWindowExposed(w));

  QCOMPARE(w->windowTitle(), QStringLiteral("Update"));
  QCOMPARE(w->size(), QSize(300, 120));
  QCOMPARE(w->minimumSize(), w->maximumSize());
  QCOMPARE(w->windowModality(), Qt::ApplicationModal);
  QCOMPARE(QApplication::activeModalWidget(), w.data());
  const Qt::WindowFlags flags = w->windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

  QCOMPARE(w->StaticText1->objectName(), QStringLiteral("StaticText1"));
  QCOMPARE(w->StaticText1->text(), kCheckingText);
  QCOMPARE(w->StaticText1->geometry(), QRect(20, 19, 266, 20));
  QCOMPARE(w->StaticText1->font().family(), QStringLiteral("Arial"));
  QCOMPARE(w->StaticText1->font().pointSize(), 12);
  QVERIFY(!w->StaticText1->font().bold());
  QVERIFY(w->StaticText1->alignment().testFlag(Qt::AlignLeft));
  QVERIFY(!w->StaticText1->wordWrap());

  // The busy indicator while the request is under way.
  QCOMPARE(w->ProgressBar1->objectName(), QStringLiteral("ProgressBar1"));
  QCOMPARE(w->ProgressBar1->geometry(), QRect(20, 46, 260, 12));
  QCOMPARE(w->ProgressBar1->maximum(), 0);
  QVERIFY(w->ProgressBar1->isVisible());

  QCOMPARE(w->PushButton1->objectName(), QStringLiteral("PushButton1"));
  QCOMPARE(w->PushButton1->text(), QStringLiteral("Cancel"));
  QCOMPARE(w->PushButton1->geometry(), QRect(208, 80, 72, 20));
  QCOMPARE(w->PushButton1->font(), QApplication::font());
  QVERIFY(w->PushButton1->isDefault());

  QTRY_COMPARE(server_.requests(),
               QStringList{QStringLiteral("GET /Updates/vidurara.xml HTTP/1.1")});
  w->close();
  QTRY_VERIFY(!w);
}

void TestUpdateWindow::feeds_data() {
  QTest::addColumn<FeedServer::Mode>("mode");
  QTest::addColumn<int>("status");
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<Outcome>("outcome");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("description");

  using M = FeedServer::Mode;
  QTest::newRow("same version") << M::Answer << 200 << feed("2.1.0") << Outcome::Current
                                << kCurrentText << QString();
  QTest::newRow("2.1 is current") << M::Answer << 200 << feed("2.1") << Outcome::Current
                                  << kCurrentText << QString();
  QTest::newRow("2.1.0.9 is current")
      << M::Answer << 200 << feed("2.1.0.9") << Outcome::Current << kCurrentText << QString();
  QTest::newRow("lower 2.0.9 is offered")
      << M::Answer << 200 << feed("2.0.9") << Outcome::Offer
      << offerText(QStringLiteral("2.0.9"), false) << QStringLiteral("Faster rings.");
  QTest::newRow("3 offered, free in lower case")
      << M::Answer << 200 << feed("3", "Big.", "yes") << Outcome::Offer
      << offerText(QStringLiteral("3"), true) << QStringLiteral("Big.");
  QTest::newRow("2.x.0 offered, Free empty")
      << M::Answer << 200 << feed("2.x.0", "Odd.", "") << Outcome::Offer
      << offerText(QStringLiteral("2.x.0"), false) << QStringLiteral("Odd.");
  QTest::newRow("Free padded is paid")
      << M::Answer << 200 << feed("2.2.0", "Pad.", " Yes ") << Outcome::Offer
      << offerText(QStringLiteral("2.2.0"), false) << QStringLiteral("Pad.");
  QTest::newRow("first CurrentVersion decides")
      << M::Answer << 200
      << QByteArray("<CurrentVersion>2.2.0</CurrentVersion><CurrentVersion>2.1.0</CurrentVersion>"
                    "<Description>Two.</Description><Free>Yes</Free>")
      << Outcome::Offer << offerText(QStringLiteral("2.2.0"), true) << QStringLiteral("Two.");
  QTest::newRow("tags in other letter case")
      << M::Answer << 200
      << QByteArray("<currentversion>2.5</CURRENTVERSION><DESCRIPTION>Case.</description>"
                    "<free>YES</FREE>")
      << Outcome::Offer << offerText(QStringLiteral("2.5"), true) << QStringLiteral("Case.");
  QTest::newRow("entity reference shown unchanged")
      << M::Answer << 200 << feed("2.2.0", "Rings &amp; dots &#233;") << Outcome::Offer
      << offerText(QStringLiteral("2.2.0"), false) << QStringLiteral("Rings &amp; dots &#233;");
  QTest::newRow("markup shown as text")
      << M::Answer << 200
      << feed("<b>9</b>", "<img src=\"http://127.0.0.1:1/x.png\"><a href=\"http://x/\">here</a>")
      << Outcome::Offer << offerText(QStringLiteral("<b>9</b>"), false)
      << QStringLiteral("<img src=\"http://127.0.0.1:1/x.png\"><a href=\"http://x/\">here</a>");
  QTest::newRow("no version in the feed")
      << M::Answer << 200 << QByteArray("<Description>Lost.</Description>") << Outcome::Offer
      << offerText(QString(), false) << QStringLiteral("Lost.");
  QTest::newRow("UTF-8 description")
      << M::Answer << 200 << feed("2.2.0", "Caf\xc3\xa9 \xe2\x9c\x93") << Outcome::Offer
      << offerText(QStringLiteral("2.2.0"), false) << QString::fromUtf8("Caf\xc3\xa9 \xe2\x9c\x93");
  QByteArray exactly = feed("2.2.0", "Edge.");
  exactly += QByteArray(updateWindow::MaxFeedBytes - exactly.size(), ' ');
  QTest::newRow("exactly 1 MiB is read")
      << M::Answer << 200 << exactly << Outcome::Offer << offerText(QStringLiteral("2.2.0"), false)
      << QStringLiteral("Edge.");

  QTest::newRow("empty body") << M::Answer << 200 << QByteArray() << Outcome::None << QString()
                              << QString();
  QTest::newRow("404 page") << M::Answer << 404 << QByteArray("<html>Not Found</html>")
                            << Outcome::Error << errorText(404) << QString();
  QTest::newRow("500 with a feed in the body")
      << M::Answer << 500 << feed("3.0.0") << Outcome::Error << errorText(500) << QString();
  QTest::newRow("404 page that never ends")
      << M::Stream << 404 << QByteArray(2 * updateWindow::MaxFeedBytes, 'x') << Outcome::Error
      << errorText(404) << QString();
  QTest::newRow("redirect is not followed")
      << M::Answer << 301 << QByteArray() << Outcome::Error << errorText(301) << QString();
  QTest::newRow("declared over 1 MiB")
      << M::DeclareOnly << 200 << QByteArray(updateWindow::MaxFeedBytes + 1, 'x') << Outcome::Error
      << errorText(updateWindow::FeedTooLargeCode) << QString();
  QTest::newRow("streamed over 1 MiB, never ends")
      << M::Stream << 200 << QByteArray(2 * updateWindow::MaxFeedBytes, 'x') << Outcome::Error
      << errorText(updateWindow::FeedTooLargeCode) << QString();
  QTest::newRow("connection closed without a reply")
      << M::CloseAtOnce << 0 << QByteArray() << Outcome::Error
      << errorText(QNetworkReply::RemoteHostClosedError) << QString();
  QTest::newRow("connection refused")
      << M::Answer << -1 << QByteArray() << Outcome::Error
      << errorText(QNetworkReply::ConnectionRefusedError) << QString();
}

void TestUpdateWindow::feeds() {
  QFETCH(FeedServer::Mode, mode);
  QFETCH(int, status);
  QFETCH(QByteArray, body);
  QFETCH(Outcome, outcome);
  QFETCH(QString, text);
  QFETCH(QString, description);

  server_.serve(mode, status, body);
  if (status < 0)
    updateWindow::setFeedUrl(QUrl(
        QStringLiteral("http://127.0.0.1:%1/Updates/vidurara.xml").arg(FeedServer::closedPort())));
  const int bellsBefore = bells_.count();
  UrlCatcher browser;
  DialogAnswerer answerer(&bells_);
  QVERIFY(runCheck(answerer));

  const QString get = QStringLiteral("GET /Updates/vidurara.xml HTTP/1.1");
  if (mode == FeedServer::CloseAtOnce) {
    // Qt's HTTP layer resends a request once when the connection drops before any reply.
    QVERIFY(!server_.requests().isEmpty());
    QCOMPARE(server_.requests().count(get), server_.requests().size());
  } else if (status >= 0) {
    QCOMPARE(server_.requests(), QStringList{get});
  }
  QVERIFY(browser.urls.isEmpty());
  // The request ends with its window.
  QTRY_COMPARE(server_.openConnections(), 0);

  if (outcome == Outcome::None) {
    QCOMPARE(answerer.seen.size(), 0);
    if (bells_.available())
      QCOMPARE(bells_.count(), bellsBefore);
    return;
  }
  QCOMPARE(answerer.seen.size(), 1);
  const SeenBox &box = answerer.seen.first();
  QCOMPARE(box.text, text);
  QCOMPARE(box.textFormat, Qt::PlainText);
  if (bells_.available())
    QCOMPARE(box.bells - bellsBefore, outcome == Outcome::Error ? 1 : 0);

  switch (outcome) {
  case Outcome::Current:
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(box.updateLabel, QStringLiteral("This version is current."));
    QVERIFY(!box.progressVisible);
    break;
  case Outcome::Offer:
    QCOMPARE(box.title, QStringLiteral("New version available!"));
    QCOMPARE(box.icon, QMessageBox::Question);
    QCOMPARE(box.informativeText, description);
    QVERIFY(box.fitsScreen);
    QCOMPARE(box.informativeFormat, Qt::PlainText);
    QCOMPARE(box.buttons, (QStringList{QStringLiteral("Cancel"), QStringLiteral("Go to Website"),
                                       QStringLiteral("OK")}));
    QCOMPARE(box.defaultButton, QStringLiteral("OK"));
    QCOMPARE(box.pressed, QStringLiteral("Cancel"));
    QCOMPARE(box.updateLabel, kCheckingText);
    QVERIFY(!box.progressVisible);
    break;
  case Outcome::Error:
    QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(box.updateLabel, kCheckingText);
    QVERIFY(box.progressVisible);
    break;
  case Outcome::None:
    break;
  }
}

void TestUpdateWindow::oversizedFeed_data() {
  QTest::addColumn<QByteArray>("version");
  QTest::addColumn<QByteArray>("description");

  QByteArray notes;
  for (int i = 0; i < 20000; ++i)
    notes += "Release note " + QByteArray::number(i) + (i % 8 ? " " : "\n");
  QTest::newRow("many lines") << QByteArray("2.2.0") << notes;
  QTest::newRow("one huge word") << QByteArray("2.2.0") << QByteArray(300000, 'w');
  QTest::newRow("huge version") << QByteArray(300000, '9') << QByteArray("New.");
}

// A feed cannot make the offer larger than the screen: its beginning shows, and "..."
// says that there is more.
void TestUpdateWindow::oversizedFeed() {
  QFETCH(QByteArray, version);
  QFETCH(QByteArray, description);

  server_.serve(FeedServer::Answer, 200, feed(version, description));
  DialogAnswerer answerer(&bells_);
  QVERIFY(runCheck(answerer));
  QCOMPARE(answerer.seen.size(), 1);
  const SeenBox &box = answerer.seen.first();
  QCOMPARE(box.title, QStringLiteral("New version available!"));
  QVERIFY(box.fitsScreen);
  QVERIFY(box.text.startsWith(QStringLiteral("Version ") + QString::fromLatin1(version.left(80))));
  QVERIFY(box.text.endsWith(QStringLiteral("(using your web browser)?")));
  QVERIFY(box.informativeText.startsWith(QString::fromLatin1(description.left(80))));
  if (description.size() > FeedReader::MaxChars)
    QVERIFY(box.informativeText.endsWith(QStringLiteral("...")));
  if (version.size() > FeedReader::MaxChars)
    QVERIFY(box.text.contains(QStringLiteral("... is now available.")));
}

void TestUpdateWindow::offerButtons_data() {
  QTest::addColumn<QString>("press");
  QTest::addColumn<bool>("free");
  QTest::addColumn<QString>("opened");
  QTest::addColumn<QString>("thenClose");

  const QString download = QString::fromUtf8(ProductInfo::DownloadPage);
  const QString site = QString::fromUtf8(ProductInfo::WebSite);
  QTest::newRow("OK downloads the update") << "OK" << true << download << QString();
  QTest::newRow("OK downloads the trial") << "OK" << false << download << QString();
  QTest::newRow("Cancel") << "Cancel" << true << QString() << QString();
  QTest::newRow("Go to Website, then Cancel") << "Go to Website" << true << site << "Cancel";
  QTest::newRow("Go to Website, then the close box")
      << "Go to Website" << false << site << "close box";
}

void TestUpdateWindow::offerButtons() {
  QFETCH(QString, press);
  QFETCH(bool, free);
  QFETCH(QString, opened);
  QFETCH(QString, thenClose);

  server_.serve(FeedServer::Answer, 200, feed("2.2.0", "New.", free ? "Yes" : "No"));
  UrlCatcher browser;
  DialogAnswerer answerer(&bells_, {press});
  QPointer<updateWindow> w = new updateWindow;
  w->showModally();
  QTRY_COMPARE(answerer.seen.size(), 1);

  if (thenClose.isEmpty()) {
    QTRY_VERIFY(!w);
  } else {
    // The window stays up after the browser was asked, with the busy indicator gone.
    QTRY_COMPARE(browser.urls.size(), 1);
    QTest::qWait(300);
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->StaticText1->text(), kCheckingText);
    QVERIFY(!w->ProgressBar1->isVisible());
    if (thenClose == QLatin1String("Cancel"))
      QTest::mouseClick(w->PushButton1, Qt::LeftButton);
    else
      QVERIFY(closeWithCloseBox(w));
    QTRY_VERIFY(!w);
  }
  QCOMPARE(answerer.seen.size(), 1);
  QCOMPARE(browser.urls, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});
}

void TestUpdateWindow::abandon_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Cancel button") << "Cancel";
  QTest::newRow("Return key") << "Return";
  QTest::newRow("Escape key") << "Escape";
  QTest::newRow("close box") << "close box";
}

void TestUpdateWindow::abandon() {
  QFETCH(QString, how);

  server_.serve(FeedServer::NeverAnswer);
  const int bellsBefore = bells_.count();
  DialogAnswerer answerer(&bells_);
  QPointer<updateWindow> w = new updateWindow;
  w->showModally();
  QVERIFY(QTest::qWaitForWindowActive(w));
  QTRY_COMPARE(server_.openConnections(), 1);
  QTest::qWait(500);
  QVERIFY(w);

  if (how == QLatin1String("Cancel"))
    QTest::mouseClick(w->PushButton1, Qt::LeftButton);
  else if (how == QLatin1String("Return"))
    QTest::keyClick(w, Qt::Key_Return);
  else if (how == QLatin1String("Escape"))
    QTest::keyClick(w, Qt::Key_Escape);
  else
    QVERIFY(closeWithCloseBox(w));

  QTRY_VERIFY(!w);
  // The server sees the request abandoned, and nothing follows it.
  QTRY_COMPARE(server_.openConnections(), 0);
  QTest::qWait(300);
  QCOMPARE(answerer.seen.size(), 0);
  if (bells_.available())
    QCOMPARE(bells_.count(), bellsBefore);
}

QTEST_MAIN(TestUpdateWindow)
#include "test_updatewindow.moc"
