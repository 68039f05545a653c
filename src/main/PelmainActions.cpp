// The command list, the menu buttons, the popup menus and the icon bar.
#include "main/Pelmain.h"

#include "html/HtmlCommands.h"
#include "view/DocumentView.h"
#include "main/MainImages.h"
#include "platform/CommandBars.h"
#include "platform/Hints.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

QAction* TForm1::addCommand(const CommandSpec& spec)
{
    auto* command = new QAction(spec.caption, this);
    command->setObjectName(spec.name);
    pel::setHint(command, spec.hint);
    if (spec.icon >= 0)
        command->setIcon(MainImages::icon(spec.icon));
    command->setIconVisibleInMenu(true);
    command->setCheckable(spec.checkable);
    if (spec.run)
        connect(command, &QAction::triggered, this, spec.run);
    actions_.insert(spec.name, command);
    return command;
}

void TForm1::addCommands(std::initializer_list<CommandSpec> commands)
{
    for (const CommandSpec& spec : commands)
        addCommand(spec);
}

TForm1::CommandSpec TForm1::command(const QString& name, const QString& caption, const QString& hint, int icon,
                                    void (TForm1::*handler)())
{
    return {name, caption, hint, icon, [this, handler] { (this->*handler)(); }};
}

QAction* TForm1::entryFor(const pel::CommandRow& row)
{
    if (!row.byClick) {
        if (QAction* command = action(row.command)) {
            // A row named as its command places the command itself.
            if (row.name == row.command)
                return command;
            return pel::commandEntry(row, command, row.icon >= 0 ? MainImages::icon(row.icon) : QIcon(), this);
        }
    }
    // A click handler: the entry runs its insertion.
    const pel::html::HtmlCommand* handler = pel::html::findHtmlCommand(row.command);
    if (!handler)
        return nullptr;
    QAction* entry = pel::handlerEntry(
        row, [this, handler] { pel::html::runHtmlCommand(*handler, *editorPort_); }, this, handler->caption, handler->hint);
    const int picture = row.icon >= 0 ? row.icon : handler->icon;
    if (picture >= 0)
        entry->setIcon(MainImages::icon(picture));
    return entry;
}

namespace {

using namespace Qt::Literals::StringLiterals;
using pel::entryRow;
using pel::separatorRow;

// A row that places the command itself rather than an entry of its own.
pel::CommandRow theCommand(const QString& name)
{
    return entryRow(0, name, name);
}

// The menus of the menu buttons.
QList<pel::MenuTable> mainMenus()
{
    return {
        {u"FileMenu"_s, true, {
            entryRow(0, u"New1"_s, u"NewAction"_s, -1, u"新規作成(&N)　　　　　　"_s),
            entryRow(0, u"Open1"_s, u"OpenAction"_s, -1, u"開く(&O)                    "_s),
            entryRow(0, u"Reopen1"_s, u"ReopenAction"_s, -1, u"文字コードを指定して開き直す(&K)..."_s),
            separatorRow(),
            entryRow(0, u"Save1"_s, u"SaveAction"_s, -1, u"上書き保存(&S)          "_s),
            entryRow(0, u"SaveAs1"_s, u"SaveAsAction"_s),
            separatorRow(),
            entryRow(0, u"Print1"_s, u"PrintAction"_s),
            entryRow(0, u"Printer1"_s, u"PrinterAction"_s),
            separatorRow(),
            pel::submenuRow(u"Date1"_s, u"データーの復元"_s, u"データーの復元"_s),
            entryRow(1, u"TextBox1"_s, u"COMBbakAction"_s, -1, u"TextBox"_s),
            entryRow(1, u"JAVA1"_s, u"JAVAAction"_s, -1, u"JAVA(&J)"_s),
            entryRow(1, u"ListBox1"_s, u"ListAction"_s, -1, u"ListBox"_s),
            entryRow(0, u"Windows1"_s, u"WinEndAction"_s, 79, u"Windows終了(&W)"_s,
                     u"Windowsを終了するダイアログを表示します｡"_s),
            separatorRow(),
            entryRow(0, u"Exit1"_s, u"ExitAction"_s),
        }},
        {u"EditMenu"_s, true, {
            entryRow(0, u"Undo1"_s, u"UndoAction"_s, 69, u"元に戻す(&U)      "_s, u"元に戻す"_s),
            separatorRow(),
            entryRow(0, u"Create1"_s, u"ClearAction"_s, -1, u"クリア(&E)           "_s),
            entryRow(0, u"Delete1"_s, u"Delete1Command"_s, 70, u"削除(&N)           "_s, u"選択範囲を削除します｡"_s),
            separatorRow(),
            entryRow(0, u"Copy1"_s, u"CopyAction"_s),
            entryRow(0, u"Cut1"_s, u"CutAction"_s),
            entryRow(0, u"Paste1"_s, u"PasteAction"_s),
            separatorRow(),
            entryRow(0, u"Find1"_s, u"FindAction"_s),
            entryRow(0, u"Okikae1"_s, u"ReplaceAction"_s),
            separatorRow(),
            entryRow(0, u"AllSelction1"_s, u"AllSelction1Command"_s, -1, u"すべてを選択(&L)"_s,
                     u"すべてを選択します｡"_s),
            entryRow(0, u"NoSelection1"_s, u"NoSelection1Command"_s, -1, u"選択の切り替え(&A)"_s,
                     u"選択範囲を解除します｡"_s),
        }},
        {u"ShowMenu"_s, true, {
            entryRow(0, u"WardWarp1"_s, u"WordWrapAction"_s),
            separatorRow(),
            theCommand(u"IConBar1"_s),
            theCommand(u"NewTextBox1"_s),
            theCommand(u"TimeBar1"_s),
            separatorRow(),
            theCommand(u"WebPageBar1"_s),
            theCommand(u"HtmLIconBar1"_s),
        }},
        {u"OptionMenu"_s, true, {
            entryRow(0, u"FontManu1"_s, u"FontAction"_s),
            entryRow(0, u"BackColor1"_s, u"BackColorAction"_s),
            separatorRow(),
            entryRow(0, u"DateTMAction2"_s, u"DateTMAction"_s, -1, u"日付表示  (&D)"_s,
                     u"日付/時刻の表示選択ダイアログを開く"_s),
        }},
        // The browser preview and the trailing separator come with the HTML
        // commands.
        {u"ToolMenu"_s, true, {
            entryRow(0, u"ToolCalender1"_s, u"CalendarAction"_s),
            entryRow(0, u"ToolListBox1"_s, u"ListBoxAction"_s),
            separatorRow(),
            entryRow(0, u"ToolJAVA1"_s, u"JavaJavaAction"_s),
            entryRow(0, u"ToolColor1"_s, u"ColorAction"_s, -1, {}, u"ColorBoxを表示します"_s),
            entryRow(0, u"ToolPaintBox1"_s, u"PaintAction"_s, 61),
            separatorRow(),
            entryRow(0, u"ToolPlayer1"_s, u"PlayerAction"_s),
        }},
        {u"HelpMenu"_s, true, {
            entryRow(0, u"Help1"_s, u"HelpAction"_s),
            entryRow(0, u"About1"_s, u"AboutAction"_s),
            separatorRow(),
            entryRow(0, u"VerUp1"_s, u"VerUpAction"_s),
            entryRow(0, u"EmailAction1"_s, u"EmailAction"_s, -1, u"Email(作者へメール)(&E)"_s,
                     u"作者にE-メールを送ります｡"_s),
        }},
    };
}

// ToolBar1: the menu buttons, in the order of the menus above.
const QList<pel::MenuButtonRow> kMenuButtons = {
    {u"FileButton"_s, u"ファイル(&F)"_s, u"ファイル ( Alt + F )|ファイルをホップアップします"_s, u"FileMenu"_s},
    {u"EditButton"_s, u"編集(&E)"_s, u"編集 ( Alt + E )|編集をホップアップします"_s, u"EditMenu"_s},
    {u"ShowButton"_s, u"表示(&V)"_s, u"表示 ( Alt + V )|表示をホップアップします"_s, u"ShowMenu"_s},
    {u"OptionButton"_s, u"オプション(&O)"_s, u"オプション ( Alt + O )|オプションを表示します"_s, u"OptionMenu"_s},
    {u"ToolM1Button"_s, u"ツール(&T)"_s, u"ツール ( Alt + T )|ツールを表示します"_s, u"ToolMenu"_s},
    {u"HelpMenuButton"_s, u"ヘルプ(&H)"_s, u"ヘルプ ( Alt + H )|ヘルプを表示します"_s, u"HelpMenu"_s},
};

// ToolBar5, left to right.
QList<pel::CommandRow> iconBar()
{
    const auto gap = [] { return pel::gapRow(8); };
    return {
        entryRow(0, u"ExitButton"_s, u"ExitAction"_s, 19, {}, u"終了"_s),
        entryRow(0, u"NewButton"_s, u"NewAction"_s),
        entryRow(0, u"OpenButton"_s, u"OpenAction"_s),
        entryRow(0, u"SaveButton"_s, u"SaveAction"_s),
        entryRow(0, u"SaveAsButton"_s, u"SaveAsAction"_s),
        gap(),
        entryRow(0, u"PrintButton"_s, u"PrintAction"_s, 65),
        entryRow(0, u"PrinterButton"_s, u"PrinterAction"_s, 64),
        gap(),
        entryRow(0, u"CopyButton"_s, u"CopyAction"_s),
        entryRow(0, u"CutButton"_s, u"CutAction"_s),
        entryRow(0, u"PasteButton"_s, u"PasteAction"_s),
        gap(),
        entryRow(0, u"FindButton"_s, u"FindAction"_s),
        entryRow(0, u"WradWrapButton"_s, u"WordWrapAction"_s, 14),
        entryRow(0, u"FontButton"_s, u"FontAction"_s),
        entryRow(0, u"ColorButton"_s, u"BackColorAction"_s),
        gap(),
        entryRow(0, u"ReturnButton"_s, u"UndoAction"_s, 69, u"元へ戻す"_s, u"元へ戻す|元へ戻す"_s),
        entryRow(0, u"AllSelButton"_s, u"AllSelction1Command"_s, 71, u"全て選択"_s,
                 u"全て選択|全てを選択し反転表示します｡"_s),
        entryRow(0, u"NotSelButton"_s, u"NoSelection1Command"_s, 72, u"選択解除"_s,
                 u"選択解除|選択範囲を切り替えます｡"_s),
        entryRow(0, u"DelertButton"_s, u"Delete1Command"_s, 70, u"削除"_s, u"削除|削除します｡"_s),
        gap(),
        entryRow(0, u"HelpButton"_s, u"HelpAction"_s),
    };
}

} // namespace

void TForm1::buildMenus()
{
    const pel::EntryFactory entry = [this](const pel::CommandRow& row, QObject*) { return entryFor(row); };
    for (const pel::MenuTable& table : mainMenus()) {
        QMenu* menu = pel::buildMenu(table, this, entry);
        if (table.name == u"EditMenu")
            EditMenu = menu;
        else if (table.name == u"ToolMenu")
            ToolMenu = menu;
    }
    connect(RichEdit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { EditMenu->exec(RichEdit1->mapToGlobal(at)); });
}

void TForm1::buildToolBar1()
{
    for (const pel::MenuButtonRow& row : kMenuButtons) {
        QMenu* menu = findChild<QMenu*>(row.menu, Qt::FindDirectChildrenOnly);
        QToolButton* button = pel::addMenuButton(ToolBar1, row, menu, pel::MenuButtonLook::CaptionOnly);
        button->setMinimumSize(81, 20);
        // The window holds the Alt shortcut, so it also opens the menu while
        // a narrow window keeps the button out of sight; the caption keeps
        // its underlined letter.
        button->setShortcut(QKeySequence());
        auto* open = new QAction(this);
        open->setShortcut(QKeySequence::mnemonic(row.caption));
        open->setShortcutContext(Qt::WindowShortcut);
        addAction(open);
        connect(open, &QAction::triggered, button, [this, button, menu] {
            if (button->isVisible())
                button->showMenu();
            else
                menu->popup(ToolBar1->mapToGlobal(QPoint(0, ToolBar1->height())));
        });
    }
}

void TForm1::buildToolBar5()
{
    pel::buildBar(ToolBar5, iconBar(), [this](const pel::CommandRow& row, QToolBar* bar) {
        return pel::commandButton(bar, entryFor(row));
    });

    Label1 = new QLabel(ToolBar5);
    Label1->setObjectName(QStringLiteral("Label1"));
    ToolBar5->addWidget(Label1);
}
