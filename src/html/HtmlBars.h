#pragma once
// The home-page tool bar, the HTML icon bar and the four HTML popup menus
// as tables of rows, which the command-bar builders turn into widgets.
#include "platform/CommandBars.h"

namespace pel::html {

using MenuRow = pel::CommandRow;
using IconBarRow = pel::CommandRow;
using pel::MenuButtonRow;
using pel::MenuTable;
using pel::buildMenu;

// HtmlMenu, LinkMenu, IMAGEMenu and JavaMenu, in this order.
const QList<MenuTable>& htmlMenus();
const MenuTable* findHtmlMenu(const QString& name);

// ToolBar2: caption buttons that drop down a popup menu.
const QList<MenuButtonRow>& homePageBarButtons();

// ToolBar4, left to right.
const QList<IconBarRow>& htmlIconBar();

// Standard width of a tool button; one plain scroll step of the icon bar.
constexpr int kIconButtonWidth = 23;
constexpr int kIconButtonHeight = 22;

// Fills `bar` from the rows; buttons take the standard size, separators
// become fixed gaps.
inline void buildIconBar(QToolBar* bar, const QList<IconBarRow>& rows, const pel::ButtonFactory& makeButton)
{
    pel::buildBar(bar, rows, makeButton, QSize(kIconButtonWidth, kIconButtonHeight));
}

} // namespace pel::html
