#include "tools/ToolWindow.h"

#include "platform/ClickLabel.h"
#include "platform/Hints.h"

#include <QPalette>
#include <QWidget>

void setupToolWindow(QWidget* window, const QString& name, const QString& title, QSize clientSize, QPoint topLeft,
                     const QColor& background)
{
    window->setObjectName(name);
    window->setWindowTitle(title);
    setPaletteColor(window, QPalette::Window, background);
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowStaysOnTopHint);
    window->setFixedSize(clientSize);
    window->move(topLeft);
}

void setPaletteColor(QWidget* widget, int role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ColorRole(role), colour);
    widget->setPalette(palette);
}

ClickLabel* makeClickLabel(QWidget* parent, const QString& name, const QString& caption, const QFont& font,
                           const QColor& colour, const QString& hint)
{
    auto* label = new ClickLabel(caption, parent);
    label->setObjectName(name);
    label->setFont(font);
    setPaletteColor(label, QPalette::WindowText, colour);
    pel::setHint(label, hint);
    return label;
}
