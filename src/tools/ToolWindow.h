#pragma once
#include <QColor>
#include <QPoint>
#include <QSize>

class QWidget;

// The frame the small tool windows share: fixed client size, a title bar
// without system menu or close box, kept on top, first placed at `topLeft`.
void setupToolWindow(QWidget* window, QSize clientSize, QPoint topLeft);

// Sets one colour role of `widget`'s palette (others keep following the parent).
void setPaletteColor(QWidget* widget, int role, const QColor& colour);
