// Vidurara: a ring around the mouse pointer for presentations.
#include "MenuBar1.h"

#include "ProductInfo.h"

#include <QMenu>

namespace {

// Where the platform has no application menu, "About..." stays in the menu that holds
// it; an untitled menu could not be opened there, so it takes the product's name.
QString aboutMenuTitle() {
#ifdef Q_OS_MACOS
  return QString();
#else
  return QString::fromUtf8(ProductInfo::ProductName);
#endif
}

} // namespace

MenuBar1::MenuBar1() {
  setObjectName(QStringLiteral("MenuBar1"));

  AppendMenu(QStringLiteral("FileMenu"), QStringLiteral("File"));
  QAction *print = AppendItem(QStringLiteral("FileMenu"), QStringLiteral("FilePrintHelp"),
                              QStringLiteral("Print Help"));
  print->setShortcut(QKeySequence::Print);
  // The menu bar sits in the Control Panel here; the shortcut should work from every
  // window of the program, as it does with an application-wide menu bar.
  print->setShortcutContext(Qt::ApplicationShortcut);

  AppendMenu(QStringLiteral("CheckforUpdateMenu"), QStringLiteral("Check for Update"));
  AppendItem(QStringLiteral("CheckforUpdateMenu"), QStringLiteral("CheckforUpdateCheckNow"),
             QStringLiteral("Check Now"));

  AppendMenu(QStringLiteral("HelpMenu"), QStringLiteral("Vidurara Help"));
  AppendItem(QStringLiteral("HelpMenu"), QStringLiteral("HelpShow"), QStringLiteral("Show Help"));
  AppendItem(QStringLiteral("HelpMenu"), QStringLiteral("ViduraraHelpPreferences"),
             QStringLiteral("Preferences..."), QAction::PreferencesRole);

  AppendMenu(QStringLiteral("Menu"), aboutMenuTitle());
  AppendItem(QStringLiteral("Menu"), QStringLiteral("About"), QStringLiteral("About..."),
             QAction::AboutRole);
}

QMenu *MenuBar1::menu(const QString &name) const {
  return findChild<QMenu *>(name, Qt::FindDirectChildrenOnly);
}

QAction *MenuBar1::item(const QString &name) const {
  for (QAction *menuAction : actions()) {
    if (QMenu *m = menuAction->menu()) {
      for (QAction *a : m->actions())
        if (a->objectName() == name)
          return a;
    }
  }
  return nullptr;
}

bool MenuBar1::bind(const QString &itemName, std::function<bool()> handler) {
  QAction *a = item(itemName);
  if (!a || !handler)
    return false;
  connect(a, &QAction::triggered, this, [handler = std::move(handler)]() { handler(); });
  return true;
}

QMenu *MenuBar1::AppendMenu(const QString &name, const QString &text) {
  auto *m = new QMenu(this);
  m->setObjectName(name);
  // Menus and items are always enabled; nothing in the program disables them.
  m->setTitle(text);
  addMenu(m);
  return m;
}

QAction *MenuBar1::AppendItem(const QString &menuName, const QString &name, const QString &text,
                              QAction::MenuRole role) {
  QMenu *m = menu(menuName);
  Q_ASSERT(m);
  auto *a = new QAction(m);
  a->setObjectName(name);
  a->setText(text);
  a->setMenuRole(role);
  m->addAction(a);
  return a;
}
