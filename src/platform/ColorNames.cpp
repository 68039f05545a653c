#include "platform/ColorNames.h"

#include <QApplication>
#include <QPalette>
#include <array>

namespace pel {
namespace {

struct NamedColor {
    const char* name;
    ColorValue value;
};

// The toolkit's colour table: the standard colours first, then the system
// colours (top bit set, low byte the system colour index).
constexpr std::array<NamedColor, 51> kColorTable{{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080}, {"clNavy", 0x800000}, {"clPurple", 0x800080},
    {"clTeal", 0x808000}, {"clGray", 0x808080}, {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF}, {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", 0x8000000A}, {"clActiveCaption", 0x80000002},
    {"clAppWorkSpace", 0x8000000C}, {"clBackground", 0x80000001},
    {"clBtnFace", 0x8000000F}, {"clBtnHighlight", 0x80000014},
    {"clBtnShadow", 0x80000010}, {"clBtnText", 0x80000012},
    {"clCaptionText", 0x80000009}, {"clDefault", 0x20000000},
    {"clGradientActiveCaption", 0x8000001B}, {"clGradientInactiveCaption", 0x8000001C},
    {"clGrayText", 0x80000011}, {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E}, {"clHotLight", 0x8000001A},
    {"clInactiveBorder", 0x8000000B}, {"clInactiveCaption", 0x80000003},
    {"clInactiveCaptionText", 0x80000013}, {"clInfoBk", 0x80000018},
    {"clInfoText", 0x80000017}, {"clMenu", 0x80000004},
    {"clMenuBar", 0x8000001E}, {"clMenuHighlight", 0x8000001D},
    {"clMenuText", 0x80000007}, {"clNone", 0x1FFFFFFF},
    {"clScrollBar", 0x80000000}, {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016}, {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
}};

constexpr NamedColor kWindowText{"clWindowText", 0x80000008};

const NamedColor* findByName(const QString& text)
{
    if (text.compare(QLatin1String(kWindowText.name), Qt::CaseInsensitive) == 0)
        return &kWindowText;
    for (const auto& entry : kColorTable)
        if (text.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

const NamedColor* findByValue(ColorValue value)
{
    if (value == kWindowText.value)
        return &kWindowText;
    for (const auto& entry : kColorTable)
        if (entry.value == value)
            return &entry;
    return nullptr;
}

} // namespace

std::optional<ColorValue> colorFromString(const QString& text)
{
    if (const NamedColor* named = findByName(text))
        return named->value;
    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 number = 0;
    if (trimmed.startsWith(u'$'))
        number = trimmed.mid(1).toLongLong(&ok, 16);
    else if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        number = trimmed.mid(2).toLongLong(&ok, 16);
    else
        number = trimmed.toLongLong(&ok, 10);
    if (!ok || number < INT32_MIN || number > UINT32_MAX)
        return std::nullopt;
    return static_cast<ColorValue>(number);
}

QString colorToString(ColorValue value)
{
    if (const NamedColor* named = findByValue(value))
        return QString::fromLatin1(named->name);
    return QStringLiteral("$%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

QColor toQColor(ColorValue value)
{
    if (value & 0x80000000u) {
        const QPalette palette = QApplication::palette();
        switch (value & 0xFF) {
        case 5: return palette.color(QPalette::Base);
        case 8: return palette.color(QPalette::Text);
        case 15: return palette.color(QPalette::Button);
        case 18: return palette.color(QPalette::ButtonText);
        case 13: return palette.color(QPalette::Highlight);
        case 14: return palette.color(QPalette::HighlightedText);
        default: return palette.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

ColorValue fromQColor(const QColor& colour)
{
    const QRgb rgb = colour.rgb();
    return ColorValue(qRed(rgb)) | (ColorValue(qGreen(rgb)) << 8) | (ColorValue(qBlue(rgb)) << 16);
}

} // namespace pel
