#pragma once
#include <QColor>
#include <QPoint>
#include <QSize>

class ClickLabel;
class QFont;
class QString;
class QWidget;

// The frame the small tool windows share: named `name`, captioned `title`,
// fixed client size, a title bar without system menu or close box, kept on
// top, first placed at `topLeft`, on a `background` of its own.
void setupToolWindow(QWidget* window, const QString& name, const QString& title, QSize clientSize, QPoint topLeft,
                     const QColor& background);

// Sets one colour role of `widget`'s palette (others keep following the parent).
void setPaletteColor(QWidget* widget, int role, const QColor& colour);

// A caption the user clicks to insert something: named `name`, in `font`
// and `colour`, with its hint ("short|long").
ClickLabel* makeClickLabel(QWidget* parent, const QString& name, const QString& caption, const QFont& font,
                           const QColor& colour, const QString& hint);
