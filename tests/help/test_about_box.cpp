// Vidurara: a ring around the mouse pointer for presentations.
// The about box as the user sees it: its texts where the layout puts them, uncut; its
// three buttons handing exactly their address to the desktop, on every press, by real
// clicks and the Return key; and the one-window rule of "About...".
#include "AboutBox.h"
#include "AppVersion.h"
#include "ProductInfo.h"
#include "TestSupport.h"
#include "WindowRule.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

using namespace helptest;
using testsupport::xdotool;

// Stands in for the user's browser and mail program.
class UrlCatcher : public QObject {
  Q_OBJECT
public:
  QList<QUrl> opened;
public slots:
  void open(const QUrl &url) { opened.append(url); }
};

class TestAboutBox : public QObject {
  Q_OBJECT

  UrlCatcher catcher_;

  AboutBox *openAbout() {
    AboutBox *box = openLikeTheMenu<AboutBox>();
    return QTest::qWaitForWindowActive(box) ? box : nullptr;
  }

  static bool clickWithThePointer(QWidget *widget) {
    const QPoint global = widget->mapToGlobal(widget->rect().center());
    return xdotool({QStringLiteral("mousemove"), QString::number(global.x()),
                    QString::number(global.y())}) &&
           xdotool({QStringLiteral("click"), QStringLiteral("1")});
  }

private slots:
  void initTestCase() {
    for (const char *scheme : {"http", "https", "mailto"})
      QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher_, "open");
  }
  void init() { catcher_.opened.clear(); }
  void cleanupTestCase() {
    delete SingleInstance<AboutBox>::find();
    for (const char *scheme : {"http", "https", "mailto"})
      QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }

  void window() {
    AboutBox *box = openAbout();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QStringLiteral("About..."));
    QCOMPARE(box->size(), QSize(264, 295));
    QCOMPARE(box->minimumSize(), box->maximumSize());
    QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(box->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  }

  void controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment"); // horizontal alignment; 0 for buttons
    QTest::addColumn<bool>("bold");
    QTest::newRow("title") << "StaticText1" << QRect(20, 20, 224, 45) << "Vidurara"
                           << int(Qt::AlignHCenter) << true;
    QTest::newRow("version caption")
        << "StaticText3" << QRect(72, 60, 50, 20) << "Version:" << int(Qt::AlignLeft) << true;
    QTest::newRow("credits") << "StaticText2" << QRect(80, 86, 104, 87)
                             << QStringLiteral("Developed by\n%1\n\nSr. Beta Tester\n%2")
                                    .arg(QString::fromUtf8(ProductInfo::DeveloperName),
                                         QString::fromUtf8(ProductInfo::BetaTesterName))
                             << int(Qt::AlignHCenter) << false;
    QTest::newRow("email") << "PushButton1" << QRect(72, 180, 120, 21) << "Email Author" << 0
                           << true;
    QTest::newRow("web site") << "PushButton2" << QRect(72, 217, 120, 21) << "Visit Web Site" << 0
                              << true;
    QTest::newRow("order") << "OrderButton" << QRect(72, 254, 120, 21) << "Order Online" << 0
                           << true;
  }

  // Every text where the layout puts it, and whole: nothing cut off by its box.
  void controls() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(int, alignment);
    QFETCH(bool, bold);
    AboutBox *box = openAbout();
    QVERIFY(box);
    auto *widget = box->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(QFontInfo(widget->font()).bold(), bold);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
      QCOMPARE(label->text(), text);
      QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
      QCOMPARE(label->textInteractionFlags(), Qt::NoTextInteraction);
      const QSize needed =
          label->fontMetrics().boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft, text).size();
      QVERIFY2(
          needed.width() <= geometry.width() && needed.height() <= geometry.height(),
          qPrintable(QStringLiteral("needs %1 x %2").arg(needed.width()).arg(needed.height())));
    } else {
      auto *button = qobject_cast<QPushButton *>(widget);
      QVERIFY(button);
      QCOMPARE(button->text(), text);
      QVERIFY(button->fontMetrics().horizontalAdvance(text) < geometry.width() - 8);
      QCOMPARE(button->isDefault(), name == QStringLiteral("OrderButton"));
    }
  }

  // The version label shows the running version, whole, right edge on the buttons' edge.
  void versionLabel() {
    AboutBox *box = openAbout();
    QVERIFY(box);
    QLabel *label = box->StaticText4;
    QCOMPARE(label->objectName(), QStringLiteral("StaticText4"));
    QCOMPARE(label->text(), QString::fromUtf8(AppVersion::LongVersion));
    QVERIFY(label->text() != QStringLiteral("2.1.0 Intel"));
    QVERIFY(QFontInfo(label->font()).bold());
    QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignRight));
    QCOMPARE(label->geometry().right(), box->OrderButton->geometry().right());
    QCOMPARE(label->geometry().top(), 60);
    QCOMPARE(label->geometry().height(), 20);
    QVERIFY(label->geometry().left() <= 132);
    QVERIFY(label->geometry().left() > box->StaticText3->geometry().right());
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
  }

  void buttons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QUrl>("address");
    QTest::newRow("Email Author") << "PushButton1"
                                  << QUrl(QStringLiteral("mailto:") + ProductInfo::AuthorEmail);
    QTest::newRow("Visit Web Site") << "PushButton2" << QUrl(ProductInfo::WebSite);
    QTest::newRow("Order Online") << "OrderButton" << QUrl(ProductInfo::OrderPage);
  }

  // Real clicks: each press hands the address once more; the box stays open.
  void buttons() {
    QFETCH(QString, button);
    QFETCH(QUrl, address);
    AboutBox *box = openAbout();
    QVERIFY(box);
    QPointer<AboutBox> alive(box);
    auto *pushButton = box->findChild<QPushButton *>(button);
    QVERIFY(pushButton);
    for (int press = 1; press <= 3; ++press) {
      QVERIFY(clickWithThePointer(pushButton));
      QTRY_COMPARE(catcher_.opened.size(), press);
    }
    QTest::qWait(200);
    QCOMPARE(catcher_.opened, QList<QUrl>(3, address));
    QVERIFY(alive);
    QVERIFY(box->isVisible());
  }

  void returnKey_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("key");
    QTest::newRow("Return, focus on Order Online") << "OrderButton"
                                                   << "Return";
    QTest::newRow("Return, focus on Email Author") << "PushButton1"
                                                   << "Return";
    QTest::newRow("keypad Enter, focus on Visit Web Site") << "PushButton2"
                                                           << "KP_Enter";
  }

  // The default button answers Return wherever the focus is; the box stays open.
  void returnKey() {
    QFETCH(QString, focus);
    QFETCH(QString, key);
    AboutBox *box = openAbout();
    QVERIFY(box);
    auto *focused = box->findChild<QPushButton *>(focus);
    QVERIFY(focused);
    focused->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(focused->hasFocus());
    for (int press = 1; press <= 2; ++press) {
      QVERIFY(xdotool({QStringLiteral("key"), key}));
      QTRY_COMPARE(catcher_.opened.size(), press);
    }
    QTest::qWait(300);
    QCOMPARE(catcher_.opened, QList<QUrl>(2, QUrl(ProductInfo::OrderPage)));
    QVERIFY(box->isVisible());
  }

  // "About..." twice: one box, content area at 20, 70, also after the user moved it;
  // after its close box a new one opens with the version filled in again.
  void aboutTwice() {
    AboutBox *first = openAbout();
    QVERIFY(first);
    QTRY_COMPARE(contentOriginOnScreen(first), QPoint(20, 70));
    first->move(400, 300);
    QTRY_VERIFY(contentOriginOnScreen(first) != QPoint(20, 70));
    AboutBox *second = openAbout();
    QCOMPARE(second, first);
    QTRY_COMPARE(contentOriginOnScreen(second), QPoint(20, 70));
    QCOMPARE(visibleWindowsOf<AboutBox>(), 1);

    QPointer<AboutBox> closed(first);
    QVERIFY(closeLikeTheCloseBox(first));
    QTRY_VERIFY(closed.isNull());
    AboutBox *third = openAbout();
    QVERIFY(third);
    QTRY_COMPARE(contentOriginOnScreen(third), QPoint(20, 70));
    QCOMPARE(visibleWindowsOf<AboutBox>(), 1);
    QCOMPARE(third->StaticText4->text(), QString::fromUtf8(AppVersion::LongVersion));
  }
};

QTEST_MAIN(TestAboutBox)
#include "test_about_box.moc"
