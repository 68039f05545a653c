#include "main/MainSettings.h"

#include "platform/ColorNames.h"
#include "platform/RegistryKey.h"
#include "platform/TextMessages.h"

namespace pel {

MainSettings readMainSettings(const RegistryKey& key, const QString& fontFamily, int fontPoints,
                              const QString& programDirectory)
{
    using mainSettings::kFile;
    using mainSettings::kOption;
    const auto& names = mainSettings::kSettingNames;
    MainSettings s;
    // Bounds, kept on the screen whatever is stored.
    s.placement = readWindowPlacement(key, QSize(650, 490));
    s.openDialogDir = key.readString(kFile, names.iniDir, programDirectory);
    s.fontFamily = key.readString(kOption, names.font, fontFamily);

    // The stored font colour is restored so the user's choice survives a
    // restart.
    if (const auto stored = key.readString(kOption, names.fontColor)) {
        if (const auto colour = colorFromString(*stored))
            s.textColour = toQColor(*colour);
        else
            s.errors << notAnIntegerMessage(*stored);
    }

    const int points = key.readInteger(kOption, names.fontSize, fontPoints);
    if (points > 0 && points != fontPoints)
        s.fontPoints = boundedFontPoints(points);

    const QString storedBackground = key.readString(kOption, names.color, QStringLiteral("clWhite"));
    if (const auto background = colorFromString(storedBackground))
        s.background = toQColor(*background);
    else
        s.errors << notAnIntegerMessage(storedBackground);

    s.wordWrap = key.readBool(kOption, names.wordWrap, true);

    // Font style and pitch must lie in 0..255; neither is applied.
    const int style = key.readInteger(kOption, names.fontStyle, 0);
    const int pitch = key.readInteger(kOption, names.fontPitchRead, 0);
    if (style < 0 || style > 255 || pitch < 0 || pitch > 255)
        s.errors << QStringLiteral("範囲チェックエラー");
    return s;
}

} // namespace pel
