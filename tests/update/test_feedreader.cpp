// Vidurara: a ring around the mouse pointer for presentations.
// The feed reader on plain values: tags, one element's text, the version rule.
#include "FeedReader.h"

#include <QTest>

class TestFeedReader : public QObject {
  Q_OBJECT
private slots:
  void tags();
  void returnValue_data();
  void returnValue();
  void currentVersion_data();
  void currentVersion();
  void freeUpgrade_data();
  void freeUpgrade();
  void clipForDialog_data();
  void clipForDialog();
};

void TestFeedReader::tags() {
  QCOMPARE(FeedReader::startTag(QStringLiteral("Free")), QStringLiteral("<Free>"));
  QCOMPARE(FeedReader::endTag(QStringLiteral("Free")), QStringLiteral("</Free>"));
}

void TestFeedReader::returnValue_data() {
  QTest::addColumn<QString>("body");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("value");

  const QString v = QStringLiteral("CurrentVersion");
  QTest::newRow("inside a document")
      << QStringLiteral("<?xml version=\"1.0\"?>\n<Feed><CurrentVersion>2.2.0</CurrentVersion>"
                        "<Description>d</Description></Feed>")
      << v << QStringLiteral("2.2.0");
  QTest::newRow("tags in other letter case")
      << QStringLiteral("<currentversion>3</CURRENTVERSION>") << v << QStringLiteral("3");
  QTest::newRow("first element wins")
      << QStringLiteral("<CurrentVersion>1</CurrentVersion><CurrentVersion>2</CurrentVersion>") << v
      << QStringLiteral("1");
  QTest::newRow("end tag searched after the start tag")
      << QStringLiteral("</CurrentVersion><CurrentVersion>4</CurrentVersion>") << v
      << QStringLiteral("4");
  QTest::newRow("white space kept") << QStringLiteral("<Free> Yes\n</Free>")
                                    << QStringLiteral("Free") << QStringLiteral(" Yes\n");
  QTest::newRow("entities and markup kept")
      << QStringLiteral("<Description>a &amp; <b>b</b> &#233;</Description>")
      << QStringLiteral("Description") << QStringLiteral("a &amp; <b>b</b> &#233;");
  QTest::newRow("empty element") << QStringLiteral("<Free></Free>") << QStringLiteral("Free")
                                 << QString();
  QTest::newRow("missing element") << QStringLiteral("<Free>Yes</Free>") << v << QString();
  QTest::newRow("missing end tag") << QStringLiteral("<CurrentVersion>2.2.0") << v << QString();
  QTest::newRow("only an end tag") << QStringLiteral("2.2.0</CurrentVersion>") << v << QString();
  QTest::newRow("start tag with attributes not recognised")
      << QStringLiteral("<CurrentVersion id=\"1\">2.2.0</CurrentVersion>") << v << QString();
  QTest::newRow("empty body") << QString() << v << QString();
}

void TestFeedReader::returnValue() {
  QFETCH(QString, body);
  QFETCH(QString, name);
  QFETCH(QString, value);
  QCOMPARE(FeedReader::returnValue(body, name), value);
}

void TestFeedReader::currentVersion_data() {
  QTest::addColumn<QString>("version");
  QTest::addColumn<bool>("current");

  // The running version is 2.1.0 in every row.
  QTest::newRow("same") << QStringLiteral("2.1.0") << true;
  QTest::newRow("missing third field") << QStringLiteral("2.1") << true;
  QTest::newRow("fourth field ignored") << QStringLiteral("2.1.0.9") << true;
  QTest::newRow("leading zeros") << QStringLiteral("02.01.00") << true;
  QTest::newRow("leading numeric part") << QStringLiteral("2.1b.0rc1") << true;
  QTest::newRow("lower") << QStringLiteral("2.0.9") << false;
  QTest::newRow("higher major only") << QStringLiteral("3") << false;
  QTest::newRow("higher bug") << QStringLiteral("2.1.1") << false;
  QTest::newRow("non-numeric field") << QStringLiteral("2.x.0") << false;
  QTest::newRow("empty") << QString() << false;
  QTest::newRow("huge field does not wrap") << QStringLiteral("2.1.18446744073709551616") << false;
  QTest::newRow("negative") << QStringLiteral("-2.1.0") << false;
}

void TestFeedReader::currentVersion() {
  QFETCH(QString, version);
  QFETCH(bool, current);
  QCOMPARE(FeedReader::isCurrentVersion(version, 2, 1, 0), current);
}

void TestFeedReader::freeUpgrade_data() {
  QTest::addColumn<QString>("value");
  QTest::addColumn<bool>("free");
  QTest::newRow("Yes") << QStringLiteral("Yes") << true;
  QTest::newRow("lower case") << QStringLiteral("yes") << true;
  QTest::newRow("mixed case") << QStringLiteral("yEs") << true;
  QTest::newRow("No") << QStringLiteral("No") << false;
  QTest::newRow("empty") << QString() << false;
  QTest::newRow("padded") << QStringLiteral(" Yes ") << false;
}

void TestFeedReader::freeUpgrade() {
  QFETCH(QString, value);
  QFETCH(bool, free);
  QCOMPARE(FeedReader::isFreeUpgrade(value), free);
}

void TestFeedReader::clipForDialog_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("shown");

  QString paragraph;
  for (int i = 0; i < 60; ++i)
    paragraph += QStringLiteral("word ");
  QTest::newRow("ordinary text unchanged") << QStringLiteral("Faster rings.\n\n") + paragraph
                                           << QStringLiteral("Faster rings.\n\n") + paragraph;

  QString lines, twenty;
  for (int i = 1; i <= 25; ++i) {
    lines += QString::number(i) + QLatin1Char('\n');
    if (i <= 20)
      twenty += QString::number(i) + (i < 20 ? QStringLiteral("\n") : QString());
  }
  QTest::newRow("too many lines") << lines << twenty + QStringLiteral("...");

  QString many;
  for (int i = 0; i < 300; ++i)
    many += QStringLiteral("abcd ");
  QTest::newRow("too many characters") << many << many.left(1000) + QStringLiteral("...");

  const QString word(200, QLatin1Char('x'));
  QTest::newRow("long run broken")
      << word
      << QString(80, QLatin1Char('x')) + QLatin1Char('\n') + QString(80, QLatin1Char('x')) +
             QLatin1Char('\n') + QString(40, QLatin1Char('x'));

  // U+1F600 is two UTF-16 units; the break falls after it, never inside it.
  const QString face = QString::fromUtf8("\xf0\x9f\x98\x80");
  QTest::newRow("surrogate pair kept whole")
      << QString(79, QLatin1Char('x')) + face + QStringLiteral("yy")
      << QString(79, QLatin1Char('x')) + face + QLatin1Char('\n') + QStringLiteral("yy");
}

void TestFeedReader::clipForDialog() {
  QFETCH(QString, text);
  QFETCH(QString, shown);
  QCOMPARE(FeedReader::clipForDialog(text), shown);
}

QTEST_APPLESS_MAIN(TestFeedReader)
#include "test_feedreader.moc"
