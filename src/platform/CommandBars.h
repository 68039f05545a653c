#pragma once
// Menus and tool bars described as tables of rows, and the builders that turn
// the rows into widgets. A window says how a row's command becomes an entry
// (its own actions, its own pictures); the builders place the entries.
#include <QList>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QIcon;
class QMainWindow;
class QMenu;
class QObject;
class QToolBar;
class QToolButton;
class QWidget;

namespace pel {

struct CommandRow {
    // A bar calls its entries buttons.
    enum class Kind { Entry, Button = Entry, Submenu, Separator };
    Kind kind = Kind::Entry;
    int level = 0;                  // menus: 0 the menu itself; 1 the submenu opened above
    QString name;                   // object name of the entry, button or submenu
    QString command;                // the action or click handler it runs
    std::optional<QString> caption; // own caption; none: the command's
    std::optional<QString> hint;    // own hint; none: the command's
    int icon = -1;                  // own picture; -1: the command's (if any)
    int width = 0;                  // a bar's separator: the gap in pixels
    bool checkable = false;         // a check mark of its own, which the window sets
    // Runs the command's click handler directly instead of its action (the
    // entry keeps its own caption, hint and picture).
    bool byClick = false;
};

// The rows as tables write them.
CommandRow entryRow(int level, const QString& name, const QString& command, int icon = -1,
                    std::optional<QString> caption = {}, std::optional<QString> hint = {});
CommandRow submenuRow(const QString& name, const QString& caption, const QString& hint);
CommandRow separatorRow(int level = 0);
CommandRow gapRow(int width);

struct MenuTable {
    QString name;          // the menu's object name
    bool icons = true;     // false: no entry shows a picture
    QList<CommandRow> rows;
    bool toolTips = true;  // entries show their short hints as tool tips
};

// Makes the entry for one command row; the builder places it. nullptr
// leaves the row out.
using EntryFactory = std::function<QAction*(const CommandRow& row, QObject* parent)>;
// Builds a popup menu (with its submenus) from its table.
QMenu* buildMenu(const MenuTable& table, QWidget* parent, const EntryFactory& makeEntry);
// Adds rows to the end of a built menu.
void addMenuRows(QMenu* menu, const MenuTable& table, const EntryFactory& makeEntry);

// An entry or button of its own that runs `command`. It shows the command's
// caption, hint and picture unless the row (or `ownIcon`) gives its own, and
// follows the command's enabled state and, for a checkable command, its
// check mark.
QAction* commandEntry(const CommandRow& row, QAction* command, const QIcon& ownIcon, QObject* parent);
// An entry that runs `run` itself, with the row's caption and hint or the
// given ones.
QAction* handlerEntry(const CommandRow& row, std::function<void()> run, QObject* parent,
                      const QString& caption = {}, const QString& hint = {});

// A tool button showing `entry` (named as the entry); nullptr without one.
QToolButton* commandButton(QToolBar* bar, QAction* entry);
using ButtonFactory = std::function<QToolButton*(const CommandRow& row, QToolBar* bar)>;
// Fills `bar` from the rows, left to right; a separator is a gap of its
// width. With a valid `buttonSize` every button takes that size and every
// gap its height.
void buildBar(QToolBar* bar, const QList<CommandRow>& rows, const ButtonFactory& makeButton,
              QSize buttonSize = {});

// A caption button that drops down a popup menu.
struct MenuButtonRow {
    QString name;
    QString caption;
    QString hint;
    QString menu;  // the menu's object name
};
enum class MenuButtonLook {
    Arrow,        // the style's drop-down arrow beside the caption
    CaptionOnly,  // the caption alone, as a menu bar shows it
};
// Adds the button for `row` to `bar`; the menu drops down on a click and is
// the button's right-click menu as well.
QToolButton* addMenuButton(QToolBar* bar, const MenuButtonRow& row, QMenu* menu, MenuButtonLook look);

// Keeps the tool bars of `host` whole: a bar squeezed onto a row where it
// does not fit (dragged there, or the window made narrower) moves to a row
// of its own instead of folding its buttons behind an arrow. A bar alone on
// its row is left to its overflow button.
void keepToolBarsWhole(QMainWindow* host);

} // namespace pel
