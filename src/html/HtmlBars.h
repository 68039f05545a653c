#pragma once
// The home-page tool bar, the HTML icon bar and the four HTML popup menus
// as tables of rows, and the builders that turn rows into widgets.
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QObject;
class QMenu;
class QToolBar;
class QToolButton;
class QWidget;

namespace pel::html {

struct MenuRow {
    enum class Kind { Entry, Submenu, Separator };
    Kind kind = Kind::Entry;
    int level = 0;                  // 0: the menu itself; 1: the submenu opened above
    QString name;                   // object name of the entry or submenu
    QString command;                // Entry: action or click-handler name
    std::optional<QString> caption; // own caption; none: the command's
    std::optional<QString> hint;    // own hint; none: the command's
    int icon = -1;                  // own icon; -1: the command's (if any)
};

struct MenuTable {
    QString name;     // "HtmlMenu", "LinkMenu", "IMAGEMenu", "JavaMenu"
    bool icons = true;
    QList<MenuRow> rows;
};

// HtmlMenu, LinkMenu, IMAGEMenu and JavaMenu, in this order.
const QList<MenuTable>& htmlMenus();
const MenuTable* findHtmlMenu(const QString& name);

// ToolBar2: caption buttons that drop down a popup menu.
struct MenuButtonRow {
    QString name;
    QString caption;
    QString hint;
    QString menu;
};
const QList<MenuButtonRow>& homePageBarButtons();

// ToolBar4, left to right.
struct IconBarRow {
    enum class Kind { Button, Separator };
    Kind kind = Kind::Button;
    QString name;
    QString command;                // action or click-handler name
    int icon = -1;
    int width = 0;                  // Separator: the gap in pixels
    std::optional<QString> caption;
    std::optional<QString> hint;
    // Runs the command's insertion directly instead of being bound to its
    // action (the button keeps its own caption, hint and icon).
    bool byClick = false;
};
const QList<IconBarRow>& htmlIconBar();

// Standard width of a tool button; one plain scroll step of the icon bar.
constexpr int kIconButtonWidth = 23;
constexpr int kIconButtonHeight = 22;

// Makes the entry for one command row of a menu; the builder places it.
using MenuEntryFactory = std::function<QAction*(const MenuRow& row, QObject* parent)>;
// Builds a popup menu (with its submenus) from its table.
QMenu* buildMenu(const MenuTable& table, QWidget* parent, const MenuEntryFactory& makeEntry);

using IconButtonFactory = std::function<QToolButton*(const IconBarRow& row, QToolBar* bar)>;
// Fills `bar` from the rows; separators become fixed gaps.
void buildIconBar(QToolBar* bar, const QList<IconBarRow>& rows, const IconButtonFactory& makeButton);

} // namespace pel::html
