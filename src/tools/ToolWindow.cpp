#include "tools/ToolWindow.h"

#include <QPalette>
#include <QWidget>

void setupToolWindow(QWidget* window, QSize clientSize, QPoint topLeft)
{
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
