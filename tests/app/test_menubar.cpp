// Vidurara: a ring around the mouse pointer for presentations.
// The menu bar and its commands, run on the real application object under a real X
// session: the bar's menus and items, each command reaching its handler, the rule that
// places the four windows, and the bar in the Control Panel worked with the real
// pointer and keyboard.
#include "AboutBox.h"
#include "App.h"
#include "AppTestMain.h"
#include "Help.h"
#include "MenuBar1.h"
#include "PrefWindow.h"
#include "SingleInstance.h"
#include "TestSupport.h"
#include "Window1.h"
#include "WindowTestSupport.h"
#include "selfTest.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using testsupport::xdotool;

namespace {

using Handler = bool (App::*)();

const std::map<QString, Handler> &handlers() {
  static const std::map<QString, Handler> table = {
      {QStringLiteral("About"), &App::_About_Action},
      {QStringLiteral("CheckforUpdateCheckNow"), &App::_CheckforUpdateCheckNow_Action},
      {QStringLiteral("HelpShow"), &App::_HelpShow_Action},
      {QStringLiteral("ViduraraHelpPreferences"), &App::_ViduraraHelpPreferences_Action},
      {QStringLiteral("FilePrintHelp"), &App::_FilePrintHelp_Action},
  };
  return table;
}

// The program's visible top-level windows of one class.
QList<QWidget *> visibleWindows(const QString &className) {
  QList<QWidget *> found;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w->isVisible() && QString::fromLatin1(w->metaObject()->className()) == className)
      found << w;
  return found;
}

QWidget *theWindow(const QString &className) {
  const QList<QWidget *> found = visibleWindows(className);
  return found.size() == 1 ? found.front() : nullptr;
}

// Closes every dialog of the program that the test did not expect.
void closeStrayWindows() {
  for (QWidget *w : QApplication::topLevelWidgets())
    if (w->isVisible() && !qobject_cast<Window1 *>(w))
      w->close();
}

bool clickAt(QPoint global) {
  return xdotool({QStringLiteral("mousemove"), QString::number(global.x()),
                  QString::number(global.y())}) &&
         xdotool({QStringLiteral("click"), QStringLiteral("1")});
}

} // namespace

class TestMenuBar : public QObject {
  Q_OBJECT

public:
  explicit TestMenuBar(App &app) : app_(app) {}

private:
  App &app_;

  MenuBar1 *bar() const { return app_.menuBar(); }

  // Triggers the item as choosing it does; a print dialog it opens is cancelled.
  void choose(const QString &item) {
    QAction *a = bar()->item(item);
    QVERIFY2(a, qPrintable(item));
    a->trigger();
  }

private slots:
  void init() { closeStrayWindows(); }
  void cleanup() { closeStrayWindows(); }

  void menus_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("FileMenu") << 0 << "File" << QStringList{"FilePrintHelp"};
    QTest::newRow("CheckforUpdateMenu")
        << 1 << "Check for Update" << QStringList{"CheckforUpdateCheckNow"};
    QTest::newRow("HelpMenu") << 2 << "Vidurara Help"
                              << QStringList{"HelpShow", "ViduraraHelpPreferences"};
    // Without an application menu "About..." needs a menu that can be opened.
    QTest::newRow("Menu") << 3 << "Vidurara" << QStringList{"About"};
  }
  void menus() {
    QFETCH(int, index);
    QFETCH(QString, title);
    QFETCH(QStringList, items);
    QVERIFY(bar());
    const QList<QAction *> inBar = bar()->actions();
    QCOMPARE(inBar.size(), 4);
    QMenu *menu = inBar.at(index)->menu();
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(menu->title(), title);
    QVERIFY(menu->isEnabled());
    QVERIFY(inBar.at(index)->isEnabled());
    QStringList names;
    for (QAction *a : menu->actions())
      names << a->objectName();
    QCOMPARE(names, items);
  }

  void items_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<int>("role");
    // Qt's Ctrl is Command on macOS.
    QTest::newRow("FilePrintHelp")
        << "FileMenu"
        << "Print Help" << QKeySequence(Qt::CTRL | Qt::Key_P) << int(QAction::NoRole);
    QTest::newRow("CheckforUpdateCheckNow")
        << "CheckforUpdateMenu"
        << "Check Now" << QKeySequence() << int(QAction::NoRole);
    QTest::newRow("HelpShow") << "HelpMenu"
                              << "Show Help" << QKeySequence() << int(QAction::NoRole);
    QTest::newRow("ViduraraHelpPreferences")
        << "HelpMenu"
        << "Preferences..." << QKeySequence() << int(QAction::PreferencesRole);
    QTest::newRow("About") << "Menu"
                           << "About..." << QKeySequence() << int(QAction::AboutRole);
  }
  void items() {
    QFETCH(QString, menu);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    QFETCH(int, role);
    QAction *a = bar()->item(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(a);
    QCOMPARE(a->parent(), bar()->menu(menu));
    QVERIFY(bar()->menu(menu)->actions().contains(a));
    QCOMPARE(a->text(), text);
    QCOMPARE(a->shortcut(), shortcut);
    QCOMPARE(int(a->menuRole()), role);
    QVERIFY(a->isEnabled());
    QVERIFY(a->isVisible());
  }

  // Each item reaches its handler: the window it opens, or for printing the print
  // dialog, which the test cancels. Calling the handler gives its result.
  void commands_data() {
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<bool>("result");
    QTest::newRow("About") << "AboutBox" << false;
    QTest::newRow("CheckforUpdateCheckNow") << "selfTest" << false;
    QTest::newRow("HelpShow") << "Help" << false;
    QTest::newRow("ViduraraHelpPreferences") << "PrefWindow" << false;
    QTest::newRow("FilePrintHelp") << "" << true;
  }
  void commands() {
    QFETCH(QString, windowClass);
    QFETCH(bool, result);
    const QString item = QString::fromLatin1(QTest::currentDataTag());
    const Handler handler = handlers().at(item);

    if (windowClass.isEmpty()) {
      for (bool byMenu : {true, false}) {
        windowtest::ModalAnswerer cancel([](QWidget *modal) { modal->close(); });
        bool answer = !result;
        if (byMenu)
          choose(item);
        else
          answer = (app_.*handler)();
        QTRY_VERIFY(cancel.answered());
        QCOMPARE(cancel.className(), QStringLiteral("QPrintDialog"));
        if (!byMenu)
          QCOMPARE(answer, result);
      }
      return;
    }

    QVERIFY(visibleWindows(windowClass).isEmpty());
    choose(item);
    QTRY_VERIFY(theWindow(windowClass));
    QWidget *w = theWindow(windowClass);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->geometry().topLeft(), QPoint(20, 70));
    QCOMPARE((app_.*handler)(), result);
    QCOMPARE(theWindow(windowClass), w);
  }

  // One window at 20, 70 in front however often the command comes; a new one after the
  // user closed it; a minimised one comes back.
  void windowRule_data() {
    QTest::addColumn<QString>("windowClass");
    QTest::newRow("About") << "AboutBox";
    QTest::newRow("CheckforUpdateCheckNow") << "selfTest";
    QTest::newRow("HelpShow") << "Help";
    QTest::newRow("ViduraraHelpPreferences") << "PrefWindow";
  }
  void windowRule() {
    QFETCH(QString, windowClass);
    const QString item = QString::fromLatin1(QTest::currentDataTag());

    choose(item);
    QTRY_VERIFY(theWindow(windowClass));
    QPointer<QWidget> first = theWindow(windowClass);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QTRY_COMPARE(windowtest::xContentOrigin(first), QPoint(20, 70));
    QCOMPARE(first->geometry().topLeft(), QPoint(20, 70));
    const QSize size = first->size();

    // Moved away and covered by another window: the command brings it back and up.
    first->setGeometry(QRect(QPoint(400, 300), size));
    QTRY_COMPARE(windowtest::xContentOrigin(first), QPoint(400, 300));
    QWidget cover;
    cover.setWindowTitle(QStringLiteral("cover"));
    cover.setGeometry(QRect(QPoint(10, 60), size + QSize(100, 100)));
    cover.show();
    cover.raise();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTRY_VERIFY(windowtest::stackedAbove(&cover, first));

    choose(item);
    QCOMPARE(visibleWindows(windowClass).size(), 1);
    QCOMPARE(theWindow(windowClass), first.data());
    QCOMPARE(first->size(), size);
    QCOMPARE(first->geometry().topLeft(), QPoint(20, 70));
    QTRY_COMPARE(windowtest::xContentOrigin(first), QPoint(20, 70));
    QTRY_VERIFY(windowtest::stackedAbove(first, &cover));

    first->showMinimized();
    QTRY_VERIFY(!windowtest::xViewable(first));
    choose(item);
    QTRY_VERIFY(windowtest::xViewable(first));
    QVERIFY(!first->isMinimized());
    QCOMPARE(theWindow(windowClass), first.data());
    QTRY_COMPARE(windowtest::xContentOrigin(first), QPoint(20, 70));

    // Closed with its close box: gone for good, and the next command makes a new one.
    QVERIFY(windowtest::closeLikeCloseBox(first));
    QTRY_VERIFY(!first);
    QVERIFY(visibleWindows(windowClass).isEmpty());
    choose(item);
    QTRY_VERIFY(theWindow(windowClass));
    QWidget *second = theWindow(windowClass);
    QVERIFY(QTest::qWaitForWindowExposed(second));
    QCOMPARE(second->geometry().topLeft(), QPoint(20, 70));
    QTRY_COMPARE(windowtest::xContentOrigin(second), QPoint(20, 70));
  }

  // The Control Panel as start-up opens it, once.
  Window1 *controlPanel() {
    if (!SingleInstance<Window1>::find())
      app_.Event_Open();
    Window1 *panel = SingleInstance<Window1>::find();
    if (panel && !QTest::qWaitForWindowExposed(panel))
      return nullptr;
    return panel;
  }

  // At start-up the Control Panel takes the bar and shows every menu title on it, none
  // pushed into the overflow button.
  void controlPanelShowsMenuBar() {
    Window1 *panel = controlPanel();
    QVERIFY(panel);
    QCOMPARE(panel->menuBar(), static_cast<QMenuBar *>(bar()));
    QVERIFY(bar()->isVisible());
    for (QAction *menuAction : bar()->actions()) {
      const QRect r = bar()->actionGeometry(menuAction);
      QVERIFY2(!r.isEmpty() && bar()->rect().contains(r), qPrintable(menuAction->menu()->title()));
    }
  }

  // "Print Help"'s shortcut works from every window of the program, not only from the
  // one that carries the bar.
  void printShortcutFromEveryWindow() {
    Window1 *panel = controlPanel();
    QVERIFY(panel);
    QVERIFY(app_._ViduraraHelpPreferences_Action() == false);
    QWidget *prefWindow = theWindow(QStringLiteral("PrefWindow"));
    QVERIFY(prefWindow);
    QVERIFY(QTest::qWaitForWindowExposed(prefWindow));
    for (QWidget *front : {static_cast<QWidget *>(panel), prefWindow}) {
      front->activateWindow();
      QTRY_VERIFY(front->isActiveWindow());
      windowtest::ModalAnswerer cancel([](QWidget *modal) { modal->close(); });
      QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+p")}));
      QTRY_VERIFY(cancel.answered());
      QCOMPARE(cancel.className(), QStringLiteral("QPrintDialog"));
    }
  }

  // The user's way: click the menu title, then the item.
  void preferencesByPointer() {
    Window1 *panel = controlPanel();
    QVERIFY(panel);
    QMenu *help = bar()->menu(QStringLiteral("HelpMenu"));
    const QRect title = bar()->actionGeometry(help->menuAction());
    QVERIFY2(bar()->rect().contains(title), "the menu title is on the bar");
    QVERIFY(clickAt(bar()->mapToGlobal(title.center())));
    QTRY_VERIFY(help->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QAction *prefs = bar()->item(QStringLiteral("ViduraraHelpPreferences"));
    QVERIFY(clickAt(help->mapToGlobal(help->actionGeometry(prefs).center())));
    QTRY_VERIFY(theWindow(QStringLiteral("PrefWindow")));
    QWidget *prefWindow = theWindow(QStringLiteral("PrefWindow"));
    QVERIFY(QTest::qWaitForWindowExposed(prefWindow));
    QCOMPARE(prefWindow->geometry().topLeft(), QPoint(20, 70));
  }
};

int main(int argc, char **argv) { return runWithApp<TestMenuBar>(argc, argv); }

#include "test_menubar.moc"
