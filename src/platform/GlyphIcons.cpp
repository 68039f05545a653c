#include "platform/GlyphIcons.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace pel {
namespace {

// Sizes drawn for each glyph: the bars use 16, larger ones serve scaled
// screens and larger bars without blurring.
constexpr int kScales[] = {1, 2, 3};

QPolygonF regularPolygon(const QPointF& centre, double radius, int corners, double startDegrees)
{
    QPolygonF polygon;
    for (int i = 0; i < corners; ++i) {
        const double angle = (startDegrees + 360.0 * i / corners) * M_PI / 180.0;
        polygon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon;
}

QPolygonF starPolygon(const QPointF& centre, double outer, double inner)
{
    QPolygonF polygon;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double radius = i % 2 ? inner : outer;
        polygon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return polygon;
}

// Shapes the fonts draw thin and faint at 16 pixels are drawn as figures
// with a pen of at least one and a half pixels.
bool drawShape(QPainter& p, const QString& label, int px, const QColor& ink)
{
    static const QString kShapes = QStringLiteral("☆★○●◇◆△▲□■／");
    if (label.size() != 1 || !kShapes.contains(label))
        return false;
    const QChar c = label.at(0);
    const double m = px * 0.2;                  // margin inside the tile
    const QRectF box(m, m, px - 2 * m, px - 2 * m);
    const QPointF centre = box.center();
    const double r = box.width() / 2;
    const bool filled = QStringLiteral("★●◆▲■").contains(c);
    p.setPen(QPen(ink, std::max(1.5, px / 10.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(filled ? QBrush(ink) : QBrush(Qt::NoBrush));
    if (c == u'☆' || c == u'★')
        p.drawPolygon(starPolygon(centre, r * 1.05, r * 0.48));
    else if (c == u'○' || c == u'●')
        p.drawEllipse(centre, r, r);
    else if (c == u'◇' || c == u'◆')
        p.drawPolygon(regularPolygon(centre, r, 4, -90));
    else if (c == u'△' || c == u'▲')
        p.drawPolygon(regularPolygon(centre + QPointF(0, r * 0.2), r * 1.15, 3, -90));
    else if (c == u'□' || c == u'■')
        p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    else
        p.drawLine(box.bottomLeft(), box.topRight());
    return true;
}

// The largest bold font that keeps the label inside the tile with a pixel
// to spare on each side.
QFont fittedFont(const QString& label, int px)
{
    QFont font;
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    const double room = px - 2.0 - std::max(1, px / 8);
    for (int size = px - 2; size > 4; --size) {
        font.setPixelSize(size);
        const QFontMetricsF metrics(font);
        const QRectF ink = metrics.tightBoundingRect(label);
        if (ink.width() <= room && ink.height() <= room && metrics.horizontalAdvance(label) <= px - 2)
            break;
    }
    return font;
}

QPixmap glyphPixmap(const QString& label, const QColor& tile, int px)
{
    QPixmap pixmap(px, px);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The border sits on the pixel grid so the tile's edge stays sharp.
    painter.setPen(QPen(tile.darker(170), 1));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(0.5, 0.5, px - 1.0, px - 1.0), px / 6.0, px / 6.0);
    const QColor ink = tile.lightness() > 140 ? QColor(0x10, 0x10, 0x10) : Qt::white;
    if (!drawShape(painter, label, px, ink)) {
        const QFont font = fittedFont(label, px);
        // Centre the ink, not the line box: CJK fonts carry large ascents.
        const QRectF drawn = QFontMetricsF(font).tightBoundingRect(label);
        const QPointF origin(std::round((px - drawn.width()) / 2 - drawn.left()),
                             std::round((px - drawn.height()) / 2 - drawn.top()));
        // Filled and outlined: thin strokes (<, >, the serifs of small
        // letters) would otherwise fade to grey at 16 pixels.
        QPainterPath text;
        text.addText(origin, font, label);
        painter.setPen(QPen(ink, std::max(0.6, px / 28.0)));
        painter.setBrush(ink);
        painter.drawPath(text);
    }
    painter.end();
    return pixmap;
}

} // namespace

QIcon glyphIcon(const QString& label, const QColor& tile, int size)
{
    QIcon icon;
    for (int scale : kScales)
        icon.addPixmap(glyphPixmap(label, tile, size * scale));
    return icon;
}

QIcon themeOrGlyph(const char* themeNames, const QString& label, const QColor& tile)
{
    if (themeNames) {
        const QStringList names = QString::fromLatin1(themeNames).split(u',', Qt::SkipEmptyParts);
        for (const QString& name : names)
            if (QIcon::hasThemeIcon(name))
                return QIcon::fromTheme(name);
    }
    return glyphIcon(label, tile);
}

QString fallbackIconTheme()
{
    return QStringLiteral("Tango");
}

void installIconTheme()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Some platform plugins (offscreen, minimal) look for themes nowhere.
    QStringList paths = QIcon::themeSearchPaths();
    QStringList dataDirs = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    if (dataDirs.isEmpty())
        dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    for (const QString& dir : std::as_const(dataDirs))
        if (!paths.contains(dir + QStringLiteral("/icons")))
            paths << dir + QStringLiteral("/icons");
    QIcon::setThemeSearchPaths(paths);
#endif
    QIcon::setFallbackThemeName(fallbackIconTheme());
    // Without a desktop (a bare window manager) Qt names no theme, or only
    // the base theme that holds application icons alone.
    const QString current = QIcon::themeName();
    if (current.isEmpty() || current == QLatin1String("hicolor"))
        QIcon::setThemeName(fallbackIconTheme());
}

} // namespace pel
