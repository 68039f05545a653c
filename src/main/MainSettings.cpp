#include "main/MainSettings.h"

#include "platform/ColorNames.h"
#include "platform/RegistryKey.h"

namespace pel {

namespace {
QString notAnIntegerMessage(const QString& text)
{
    return QStringLiteral("'%1' は整数ではありません").arg(text);
}
} // namespace

MainSettings readMainSettings(const RegistryKey& key, const QString& fontFamily, int fontPoints,
                              const QString& programDirectory)
{
    const QString file = QStringLiteral("File");
    const QString option = QStringLiteral("Option");
    MainSettings s;
    // Bounds, kept on the screen whatever is stored.
    s.placement = readWindowPlacement(key, QSize(650, 490));
    s.openDialogDir = key.readString(file, QStringLiteral("IniDir"), programDirectory);
    s.fontFamily = key.readString(option, QStringLiteral("Font"), fontFamily);

    // The stored font colour is restored so the user's choice survives a
    // restart.
    if (const auto stored = key.readString(option, QStringLiteral("FontColor"))) {
        if (const auto colour = colorFromString(*stored))
            s.textColour = toQColor(*colour);
        else
            s.errors << notAnIntegerMessage(*stored);
    }

    const int points = key.readInteger(option, QStringLiteral("FontSize"), fontPoints);
    if (points > 0 && points != fontPoints)
        s.fontPoints = boundedFontPoints(points);

    const QString storedBackground = key.readString(option, QStringLiteral("Color"), QStringLiteral("clWhite"));
    if (const auto background = colorFromString(storedBackground))
        s.background = toQColor(*background);
    else
        s.errors << notAnIntegerMessage(storedBackground);

    s.wordWrap = key.readBool(option, QStringLiteral("WordWarp"), true);

    // Font style and pitch must lie in 0..255; neither is applied.
    const int style = key.readInteger(option, QStringLiteral("FontStyle"), 0);
    const int pitch = key.readInteger(option, QStringLiteral("FontPiech"), 0);
    if (style < 0 || style > 255 || pitch < 0 || pitch > 255)
        s.errors << QStringLiteral("範囲チェックエラー");
    return s;
}

} // namespace pel
