// The command list, the menu buttons, the popup menus and the icon bar.
#include "main/Pelmain.h"

#include "main/MainImages.h"
#include "platform/Hints.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>

QAction* TForm1::addCommand(const QString& name, const QString& caption, const QString& hint, int icon)
{
    auto* command = new QAction(caption, this);
    command->setObjectName(name);
    pel::setHint(command, hint);
    if (icon >= 0)
        command->setIcon(MainImages::icon(icon));
    command->setIconVisibleInMenu(true);
    actions_.insert(name, command);
    return command;
}

void TForm1::bind(const QString& name, void (TForm1::*handler)())
{
    connect(action(name), &QAction::triggered, this, handler);
}

QAction* TForm1::makeEntry(const QString& name, QAction* command, const QString& caption,
                           const QString& hint, int icon)
{
    auto* entry = new QAction(caption.isEmpty() ? command->text() : caption, this);
    entry->setObjectName(name);
    pel::setHint(entry, hint.isEmpty() ? pel::hintOf(command) : hint);
    entry->setIcon(icon >= 0 ? MainImages::icon(icon) : command->icon());
    entry->setCheckable(command->isCheckable());
    entry->setChecked(command->isChecked());
    entry->setEnabled(command->isEnabled());
    connect(entry, &QAction::triggered, command, [command] { command->trigger(); });
    connect(command, &QAction::changed, entry, [entry, command] {
        entry->setEnabled(command->isEnabled());
        entry->setChecked(command->isChecked());
    });
    return entry;
}

QAction* TForm1::addMenuEntry(QMenu* menu, const QString& name, QAction* command,
                              const QString& caption, const QString& hint, int icon)
{
    QAction* entry = makeEntry(name, command, caption, hint, icon);
    menu->addAction(entry);
    return entry;
}

QToolButton* TForm1::addButton(QToolBar* bar, const QString& name, QAction* entry)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setDefaultAction(entry);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QToolButton* TForm1::addMenuButton(QToolBar* bar, const QString& name, const QString& caption,
                                   const QString& hint, QMenu* menu)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(caption);
    pel::setHint(button, hint);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    // The same menu serves as the button's context menu.
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QToolButton::customContextMenuRequested, button,
            [button, menu](const QPoint& at) { menu->exec(button->mapToGlobal(at)); });
    bar->addWidget(button);
    return button;
}

void TForm1::buildMenus()
{
    auto makeMenu = [this](const QString& name) {
        auto* menu = new QMenu(this);
        menu->setObjectName(name);
        menu->setToolTipsVisible(true);
        return menu;
    };
    auto a = [this](const char* name) { return action(QString::fromLatin1(name)); };

    FileMenu = makeMenu(QStringLiteral("FileMenu"));
    addMenuEntry(FileMenu, QStringLiteral("New1"), a("NewAction"), QStringLiteral("新規作成(&N)　　　　　　"));
    addMenuEntry(FileMenu, QStringLiteral("Open1"), a("OpenAction"), QStringLiteral("開く(&O)                    "));
    FileMenu->addSeparator();
    addMenuEntry(FileMenu, QStringLiteral("Save1"), a("SaveAction"), QStringLiteral("上書き保存(&S)          "));
    addMenuEntry(FileMenu, QStringLiteral("SaveAs1"), a("SaveAsAction"));
    FileMenu->addSeparator();
    addMenuEntry(FileMenu, QStringLiteral("Print1"), a("PrintAction"));
    addMenuEntry(FileMenu, QStringLiteral("Printer1"), a("PrinterAction"));
    FileMenu->addSeparator();
    QMenu* restore = FileMenu->addMenu(QStringLiteral("データーの復元"));
    restore->setObjectName(QStringLiteral("Date1"));
    restore->setToolTipsVisible(true);
    restore->menuAction()->setObjectName(QStringLiteral("Date1"));
    pel::setHint(restore->menuAction(), QStringLiteral("データーの復元"));
    addMenuEntry(restore, QStringLiteral("TextBox1"), a("COMBbakAction"), QStringLiteral("TextBox"));
    addMenuEntry(restore, QStringLiteral("JAVA1"), a("JAVAAction"), QStringLiteral("JAVA(&J)"));
    addMenuEntry(restore, QStringLiteral("ListBox1"), a("ListAction"), QStringLiteral("ListBox"));
    addMenuEntry(FileMenu, QStringLiteral("Windows1"), a("WinEndAction"), QStringLiteral("Windows終了(&W)"),
                 QStringLiteral("Windowsを終了するダイアログを表示します｡"), 79);
    FileMenu->addSeparator();
    addMenuEntry(FileMenu, QStringLiteral("Exit1"), a("ExitAction"));

    EditMenu = makeMenu(QStringLiteral("EditMenu"));
    addMenuEntry(EditMenu, QStringLiteral("Undo1"), a("UndoAction"), QStringLiteral("元に戻す(&U)      "),
                 QStringLiteral("元に戻す"), 69);
    EditMenu->addSeparator();
    addMenuEntry(EditMenu, QStringLiteral("Create1"), a("ClearAction"), QStringLiteral("クリア(&E)           "));
    addMenuEntry(EditMenu, QStringLiteral("Delete1"), a("Delete1Command"), QStringLiteral("削除(&N)           "),
                 QStringLiteral("選択範囲を削除します｡"), 70);
    EditMenu->addSeparator();
    addMenuEntry(EditMenu, QStringLiteral("Copy1"), a("CopyAction"));
    addMenuEntry(EditMenu, QStringLiteral("Cut1"), a("CutAction"));
    addMenuEntry(EditMenu, QStringLiteral("Paste1"), a("PasteAction"));
    EditMenu->addSeparator();
    addMenuEntry(EditMenu, QStringLiteral("Find1"), a("FindAction"));
    addMenuEntry(EditMenu, QStringLiteral("Okikae1"), a("ReplaceAction"));
    EditMenu->addSeparator();
    addMenuEntry(EditMenu, QStringLiteral("AllSelction1"), a("AllSelction1Command"),
                 QStringLiteral("すべてを選択(&L)"), QStringLiteral("すべてを選択します｡"));
    addMenuEntry(EditMenu, QStringLiteral("NoSelection1"), a("NoSelection1Command"),
                 QStringLiteral("選択の切り替え(&A)"), QStringLiteral("選択範囲を解除します｡"));
    connect(RichEdit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { EditMenu->exec(RichEdit1->mapToGlobal(at)); });

    ShowMenu = makeMenu(QStringLiteral("ShowMenu"));
    addMenuEntry(ShowMenu, QStringLiteral("WardWarp1"), a("WordWrapAction"));
    ShowMenu->addSeparator();
    ShowMenu->addAction(a("IConBar1"));
    ShowMenu->addAction(a("NewTextBox1"));
    ShowMenu->addAction(a("TimeBar1"));
    ShowMenu->addSeparator();
    ShowMenu->addAction(a("WebPageBar1"));
    ShowMenu->addAction(a("HtmLIconBar1"));

    OptionMenu = makeMenu(QStringLiteral("OptionMenu"));
    addMenuEntry(OptionMenu, QStringLiteral("FontManu1"), a("FontAction"));
    addMenuEntry(OptionMenu, QStringLiteral("BackColor1"), a("BackColorAction"));
    OptionMenu->addSeparator();
    addMenuEntry(OptionMenu, QStringLiteral("DateTMAction2"), a("DateTMAction"), QStringLiteral("日付表示  (&D)"),
                 QStringLiteral("日付/時刻の表示選択ダイアログを開く"));

    ToolMenu = makeMenu(QStringLiteral("ToolMenu"));
    addMenuEntry(ToolMenu, QStringLiteral("ToolCalender1"), a("CalendarAction"));
    addMenuEntry(ToolMenu, QStringLiteral("ToolListBox1"), a("ListBoxAction"));
    ToolMenu->addSeparator();
    addMenuEntry(ToolMenu, QStringLiteral("ToolJAVA1"), a("JavaJavaAction"));
    addMenuEntry(ToolMenu, QStringLiteral("ToolColor1"), a("ColorAction"), {}, QStringLiteral("ColorBoxを表示します"));
    addMenuEntry(ToolMenu, QStringLiteral("ToolPaintBox1"), a("PaintAction"), {}, {}, 61);
    ToolMenu->addSeparator();
    addMenuEntry(ToolMenu, QStringLiteral("ToolPlayer1"), a("PlayerAction"));
    // ToolBruser1 (the browser preview) is added with the HTML commands,
    // followed by the menu's trailing separator.

    HelpMenu = makeMenu(QStringLiteral("HelpMenu"));
    addMenuEntry(HelpMenu, QStringLiteral("Help1"), a("HelpAction"));
    addMenuEntry(HelpMenu, QStringLiteral("About1"), a("AboutAction"));
    HelpMenu->addSeparator();
    addMenuEntry(HelpMenu, QStringLiteral("VerUp1"), a("VerUpAction"));
    addMenuEntry(HelpMenu, QStringLiteral("EmailAction1"), a("EmailAction"),
                 QStringLiteral("Email(作者へメール)(&E)"), QStringLiteral("作者にE-メールを送ります｡"));
}

void TForm1::buildToolBar1()
{
    ToolBar1->setIconSize(QSize(0, 0));
    struct MenuButton { const char* name; const char* caption; const char* hint; QMenu* menu; };
    const MenuButton buttons[] = {
        {"FileButton", "ファイル(&F)", "ファイル ( Alt + F )|ファイルをホップアップします", FileMenu},
        {"EditButton", "編集(&E)", "編集 ( Alt + E )|編集をホップアップします", EditMenu},
        {"ShowButton", "表示(&V)", "表示 ( Alt + V )|表示をホップアップします", ShowMenu},
        {"OptionButton", "オプション(&O)", "オプション ( Alt + O )|オプションを表示します", OptionMenu},
        {"ToolM1Button", "ツール(&T)", "ツール ( Alt + T )|ツールを表示します", ToolMenu},
        {"HelpMenuButton", "ヘルプ(&H)", "ヘルプ ( Alt + H )|ヘルプを表示します", HelpMenu},
    };
    for (const MenuButton& b : buttons) {
        const QString caption = QString::fromUtf8(b.caption);
        QToolButton* button = addMenuButton(ToolBar1, QString::fromLatin1(b.name), caption,
                                            QString::fromUtf8(b.hint), b.menu);
        button->setMinimumSize(81, 20);
        // The window holds the Alt shortcut, so it also opens the menu while
        // a narrow window keeps the button out of sight; the caption keeps
        // its underlined letter.
        button->setShortcut(QKeySequence());
        auto* open = new QAction(this);
        open->setShortcut(QKeySequence::mnemonic(caption));
        open->setShortcutContext(Qt::WindowShortcut);
        addAction(open);
        QMenu* menu = b.menu;
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
    auto a = [this](const char* name) { return action(QString::fromLatin1(name)); };
    auto button = [this](const char* name, QAction* command, const QString& caption = {},
                         const QString& hint = {}, int icon = -1) {
        return addButton(ToolBar5, QString::fromLatin1(name),
                         makeEntry(QString::fromLatin1(name), command, caption, hint, icon));
    };
    auto separator = [this] {
        auto* gap = new QWidget(ToolBar5);
        gap->setFixedWidth(8);
        ToolBar5->addWidget(gap);
    };

    button("ExitButton", a("ExitAction"), {}, QStringLiteral("終了"), 19);
    button("NewButton", a("NewAction"));
    button("OpenButton", a("OpenAction"));
    button("SaveButton", a("SaveAction"));
    button("SaveAsButton", a("SaveAsAction"));
    separator();
    button("PrintButton", a("PrintAction"), {}, {}, 65);
    button("PrinterButton", a("PrinterAction"), {}, {}, 64);
    separator();
    button("CopyButton", a("CopyAction"));
    button("CutButton", a("CutAction"));
    button("PasteButton", a("PasteAction"));
    separator();
    button("FindButton", a("FindAction"));
    button("WradWrapButton", a("WordWrapAction"), {}, {}, 14);
    button("FontButton", a("FontAction"));
    button("ColorButton", a("BackColorAction"));
    separator();
    button("ReturnButton", a("UndoAction"), QStringLiteral("元へ戻す"), QStringLiteral("元へ戻す|元へ戻す"), 69);
    button("AllSelButton", a("AllSelction1Command"), QStringLiteral("全て選択"),
           QStringLiteral("全て選択|全てを選択し反転表示します｡"), 71);
    button("NotSelButton", a("NoSelection1Command"), QStringLiteral("選択解除"),
           QStringLiteral("選択解除|選択範囲を切り替えます｡"), 72);
    button("DelertButton", a("Delete1Command"), QStringLiteral("削除"), QStringLiteral("削除|削除します｡"), 70);
    separator();
    button("HelpButton", a("HelpAction"));

    Label1 = new QLabel(ToolBar5);
    Label1->setObjectName(QStringLiteral("Label1"));
    ToolBar5->addWidget(Label1);
}
