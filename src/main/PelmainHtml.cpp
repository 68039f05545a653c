// The HTML authoring commands: their actions, the home-page bar, the HTML
// icon bar in its scroller, the four popup menus and the browser preview.
#include "main/Pelmain.h"

#include "html/HtmlBars.h"
#include "html/HtmlCommands.h"
#include "html/PageScroller.h"
#include "platform/Dialogs.h"
#include "platform/EditorPort.h"
#include "text/DocumentSession.h"
#include "platform/Services.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

using namespace Qt::Literals::StringLiterals;

void TForm1::setupHtmlCommands()
{
    using namespace pel::html;

    for (const HtmlCommand& command : htmlCommands()) {
        if (!command.isAction)
            continue;
        const HtmlCommand* row = &command;
        addCommand({command.name, command.caption, command.hint, command.icon,
                    [this, row] { pel::html::runHtmlCommand(*row, *editorPort_); }})
            ->setProperty("category", command.category);
    }
    addCommand(this->command(u"BrowserAction"_s, u"ブラウザ"_s, u"ブラウザで動作を確認します｡"_s, 50,
                             &TForm1::BrowserActionExecute))
        ->setProperty("category", u"ToolMenu"_s);

    // The four popup menus.
    const pel::EntryFactory entry = [this](const MenuRow& row, QObject*) { return entryFor(row); };
    for (const MenuTable& table : htmlMenus())
        buildMenu(table, this, entry);

    // The home-page bar: caption buttons dropping down those menus.
    for (const MenuButtonRow& row : homePageBarButtons()) {
        QMenu* menu = findChild<QMenu*>(row.menu, Qt::FindDirectChildrenOnly);
        QToolButton* button = pel::addMenuButton(ToolBar2, row, menu, pel::MenuButtonLook::CaptionOnly);
        button->setFixedHeight(20);
        // Dragged off the window the bar is a window of its own, and the
        // buttons' Alt letters would work only there: in the editor Alt+W
        // typed a "w". While the bar floats the main window holds them.
        auto* open = new QAction(this);
        open->setShortcut(QKeySequence::mnemonic(row.caption));
        open->setShortcutContext(Qt::WindowShortcut);
        open->setEnabled(false);
        addAction(open);
        connect(open, &QAction::triggered, button, [button] {
            if (button->isVisible())
                button->showMenu();
        });
        connect(ToolBar2, &QToolBar::topLevelChanged, open, &QAction::setEnabled);
    }

    // The HTML icon bar.
    ToolBar4->setToolButtonStyle(Qt::ToolButtonIconOnly);
    buildIconBar(ToolBar4, htmlIconBar(), [this](const IconBarRow& row, QToolBar* bar) {
        QToolButton* button = pel::commandButton(bar, entryFor(row));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setIconSize(QSize(16, 16));
        return button;
    });

    // PageScroller1 shows the icon bar through a window with scroll arrows.
    for (QAction* held : PageScroller1->actions()) {
        auto* widgetAction = qobject_cast<QWidgetAction*>(held);
        if (widgetAction && widgetAction->defaultWidget() == ToolBar4)
            PageScroller1->removeAction(widgetAction);
    }
    auto* scroller = new pel::html::PageScroller(PageScroller1);
    scroller->setObjectName(u"PageScroller1Window"_s);
    scroller->setStepProvider(
        [](Qt::KeyboardModifiers modifiers) { return iconBarScrollStep(modifiers, kIconButtonWidth); });
    scroller->setContent(ToolBar4);
    PageScroller1->addWidget(scroller);
    // The scroller bar's own frame and margins come on top of the buttons'
    // height; a bar lower than that would cut the icons off at the bottom.
    const QMargins margins = PageScroller1->layout()->contentsMargins();
    PageScroller1->setFixedHeight(
        std::max(PageScroller1->minimumHeight(), ToolBar4->sizeHint().height() + margins.top() + margins.bottom()));
    // Visible inside its (hidden) scroller, as at every start.
    ToolBar4->setHidden(false);

    // The tools menu ends with the preview and a separator.
    const MenuTable toolMenuEnd{
        u"ToolMenu"_s, true, {pel::entryRow(0, u"ToolBruser1"_s, u"BrowserAction"_s), pel::separatorRow()}};
    pel::addMenuRows(ToolMenu, toolMenuEnd, entry);
    // Qt hides a trailing separator by default; this one is drawn.
    ToolMenu->setSeparatorsCollapsible(false);
}

bool TForm1::runHtmlCommand(const QString& name)
{
    const pel::html::HtmlCommand* command = pel::html::findHtmlCommand(name);
    if (!command)
        return false;
    if (command->isAction)
        action(name)->trigger();
    else
        pel::html::runHtmlCommand(*command, *editorPort_);
    return true;
}

void TForm1::BrowserActionExecute()
{
    if (session_->modifiedFlag()) {
        // The preview saves what the browser is to show; it does not file the
        // document, so neither the caption nor the modified flag changes.
        // An existing file is overwritten only after the question Save As asks.
        if (const auto target = chooseSaveTarget(session_->fileName())) {
            if (!writeDocument(target->path))
                return;
            session_->setFileName(target->path);
        }
    }
    // A document that never had a file has nothing to show.
    if (!session_->fileName().isEmpty())
        pel::shell().open(session_->fileName());
}
