#include "platform/CommandBars.h"

#include "platform/Hints.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace pel {

CommandRow entryRow(int level, const QString& name, const QString& command, int icon,
                    std::optional<QString> caption, std::optional<QString> hint)
{
    CommandRow row;
    row.level = level;
    row.name = name;
    row.command = command;
    row.icon = icon;
    row.caption = std::move(caption);
    row.hint = std::move(hint);
    return row;
}

CommandRow submenuRow(const QString& name, const QString& caption, const QString& hint)
{
    CommandRow row;
    row.kind = CommandRow::Kind::Submenu;
    row.name = name;
    row.caption = caption;
    row.hint = hint;
    return row;
}

CommandRow separatorRow(int level)
{
    CommandRow row;
    row.kind = CommandRow::Kind::Separator;
    row.level = level;
    return row;
}

CommandRow gapRow(int width)
{
    CommandRow row = separatorRow();
    row.width = width;
    return row;
}

void addMenuRows(QMenu* menu, const MenuTable& table, const EntryFactory& makeEntry)
{
    QMenu* submenu = nullptr;
    for (const CommandRow& row : table.rows) {
        QMenu* target = row.level > 0 && submenu ? submenu : menu;
        switch (row.kind) {
        case CommandRow::Kind::Separator:
            target->addSeparator();
            break;
        case CommandRow::Kind::Submenu:
            submenu = menu->addMenu(row.caption.value_or(QString()));
            submenu->setObjectName(row.name);
            submenu->setToolTipsVisible(table.toolTips);
            submenu->menuAction()->setObjectName(row.name);
            pel::setHint(submenu->menuAction(), row.hint.value_or(QString()));
            break;
        case CommandRow::Kind::Entry:
            if (QAction* action = makeEntry(row, target)) {
                if (!table.icons)
                    action->setIcon(QIcon());
                target->addAction(action);
            }
            break;
        }
    }
}

QMenu* buildMenu(const MenuTable& table, QWidget* parent, const EntryFactory& makeEntry)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(table.name);
    menu->setToolTipsVisible(table.toolTips);
    addMenuRows(menu, table, makeEntry);
    return menu;
}

QAction* commandEntry(const CommandRow& row, QAction* command, const QIcon& ownIcon, QObject* parent)
{
    const QString caption = row.caption.value_or(QString());
    const QString hint = row.hint.value_or(QString());
    auto* entry = new QAction(caption.isEmpty() ? command->text() : caption, parent);
    entry->setObjectName(row.name);
    pel::setHint(entry, hint.isEmpty() ? pel::hintOf(command) : hint);
    entry->setIcon(ownIcon.isNull() ? command->icon() : ownIcon);
    entry->setCheckable(row.checkable || command->isCheckable());
    if (command->isCheckable())
        entry->setChecked(command->isChecked());
    entry->setEnabled(command->isEnabled());
    QObject::connect(entry, &QAction::triggered, command, [command] { command->trigger(); });
    QObject::connect(command, &QAction::changed, entry, [entry, command] {
        entry->setEnabled(command->isEnabled());
        // An entry with a check mark of its own keeps it.
        if (command->isCheckable())
            entry->setChecked(command->isChecked());
    });
    return entry;
}

QAction* handlerEntry(const CommandRow& row, std::function<void()> run, QObject* parent, const QString& caption,
                      const QString& hint)
{
    auto* entry = new QAction(row.caption.value_or(caption), parent);
    entry->setObjectName(row.name);
    pel::setHint(entry, row.hint.value_or(hint));
    QObject::connect(entry, &QAction::triggered, entry, std::move(run));
    return entry;
}

QToolButton* commandButton(QToolBar* bar, QAction* entry)
{
    if (!entry)
        return nullptr;
    auto* button = new QToolButton(bar);
    button->setObjectName(entry->objectName());
    button->setDefaultAction(entry);
    button->setAutoRaise(true);
    return button;
}

void buildBar(QToolBar* bar, const QList<CommandRow>& rows, const ButtonFactory& makeButton, QSize buttonSize)
{
    for (const CommandRow& row : rows) {
        if (row.kind == CommandRow::Kind::Separator) {
            auto* gap = new QWidget(bar);
            if (buttonSize.isValid())
                gap->setFixedSize(row.width, buttonSize.height());
            else
                gap->setFixedWidth(row.width);
            bar->addWidget(gap);
            continue;
        }
        if (QToolButton* button = makeButton(row, bar)) {
            if (buttonSize.isValid())
                button->setFixedSize(buttonSize);
            bar->addWidget(button);
        }
    }
}

QToolButton* addMenuButton(QToolBar* bar, const MenuButtonRow& row, QMenu* menu, MenuButtonLook look)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(row.name);
    button->setText(row.caption);
    pel::setHint(button, row.hint);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    if (look == MenuButtonLook::CaptionOnly) {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    }
    button->setAutoRaise(true);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(button, &QToolButton::customContextMenuRequested, button,
                     [button, menu](const QPoint& at) { menu->exec(button->mapToGlobal(at)); });
    bar->addWidget(button);
    return button;
}

namespace {

class WholeBars final : public QObject {
public:
    explicit WholeBars(QMainWindow* host) : QObject(host), host_(host)
    {
        for (QToolBar* bar : host->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
            bar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // A drop ends with the mouse let go over the dragged bar; a narrower
        // window resizes the bars.
        if (event->type() == QEvent::Resize || event->type() == QEvent::MouseButtonRelease)
            schedule();
        return false;
    }

private:
    void schedule()
    {
        if (queued_)
            return;
        queued_ = true;
        QMetaObject::invokeMethod(this, &WholeBars::check, Qt::QueuedConnection);
    }

    void check()
    {
        queued_ = false;
        // While a bar is dragged the others make room for it; the release
        // looks again.
        if (QGuiApplication::mouseButtons() != Qt::NoButton)
            return;
        QList<QToolBar*> bars;
        for (QToolBar* bar : host_->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
            if (bar->isVisible() && !bar->isFloating() && host_->toolBarArea(bar) != Qt::NoToolBarArea)
                bars << bar;
        for (QToolBar* bar : std::as_const(bars)) {
            const bool across = bar->orientation() == Qt::Horizontal;
            const auto length = [across](QSize size) { return across ? size.width() : size.height(); };
            const auto line = [across](const QWidget* w) { return across ? w->y() : w->x(); };
            const auto along = [across](const QWidget* w) { return across ? w->x() : w->y(); };
            if (length(bar->size()) >= length(bar->sizeHint()))
                continue;
            QList<QToolBar*> row;
            for (QToolBar* other : std::as_const(bars))
                if (host_->toolBarArea(other) == host_->toolBarArea(bar) && line(other) == line(bar))
                    row << other;
            if (row.size() < 2)
                continue;
            std::sort(row.begin(), row.end(), [&along](const QWidget* a, const QWidget* b) { return along(a) < along(b); });
            // A break before the squeezed bar, or after it when it starts the row.
            host_->insertToolBarBreak(row.first() == bar ? row.at(1) : bar);
            return;  // the new layout resizes the bars, which looks again
        }
    }

    QMainWindow* host_;
    bool queued_ = false;
};

} // namespace

void keepToolBarsWhole(QMainWindow* host)
{
    new WholeBars(host);
}

} // namespace pel
