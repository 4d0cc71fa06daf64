// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QAction>
#include <QMenuBar>
#include <QString>

#include <functional>

class QMenu;

// The application's menu bar: "File", "Check for Update", "Vidurara Help" and the menu
// that holds "About...". Menus and items carry their names as object names; commands
// reach their handlers through bind() by item name.
class MenuBar1 : public QMenuBar {
  Q_OBJECT
public:
  MenuBar1();

  // The menu or item of that name, or null.
  QMenu *menu(const QString &name) const;
  QAction *item(const QString &name) const;

  // Choosing the item, by menu or by shortcut, calls `handler`. Its result (whether
  // the command was handled) has no further effect: every item has one handler.
  // False when the bar has no item of that name.
  bool bind(const QString &itemName, std::function<bool()> handler);

private:
  QMenu *AppendMenu(const QString &name, const QString &text);
  QAction *AppendItem(const QString &menuName, const QString &name, const QString &text,
                      QAction::MenuRole role = QAction::NoRole);
};
