#include "platform/GlyphIcons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace pel {

QIcon glyphIcon(const QString& label, const QColor& tile, int size)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        const int px = size * scale;
        QPixmap pixmap(px, px);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(tile.darker(150));
        painter.setBrush(tile);
        painter.drawRoundedRect(QRectF(0.5, 0.5, px - 1.0, px - 1.0), px / 5.0, px / 5.0);
        QFont font;
        font.setBold(true);
        font.setPixelSize(label.size() <= 1 ? px * 3 / 4 : label.size() == 2 ? px / 2 : px * 3 / 8);
        painter.setFont(font);
        painter.setPen(tile.lightness() > 140 ? Qt::black : Qt::white);
        painter.drawText(QRect(0, 0, px, px), Qt::AlignCenter, label);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon themeOrGlyph(const char* themeName, const QString& label, const QColor& tile)
{
    if (themeName && QIcon::hasThemeIcon(QString::fromLatin1(themeName)))
        return QIcon::fromTheme(QString::fromLatin1(themeName));
    return glyphIcon(label, tile);
}

} // namespace pel
