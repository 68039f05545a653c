#pragma once
// What the main window reads from its settings at start, as plain values:
// the window applies them (Pelmain.cpp), tests and the fuzz target read them
// without a window.
#include "platform/WindowPlacement.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

namespace pel {

class RegistryKey;

// The main window's settings besides its placement (which
// pel::readWindowPlacement and pel::writeWindowPlacement share with the
// paint form): one value in "File", the rest in "Option". The names are
// spelled as the settings users already have spell them, misspellings
// included: "WordWarp", and "FontPiech", which is read, while the close
// writes "FontPitch". Never rename one.
namespace mainSettings {
inline const QString kFile = QStringLiteral("File");
inline const QString kOption = QStringLiteral("Option");
inline const struct {
    QString iniDir = QStringLiteral("IniDir");  // in "File"
    QString font = QStringLiteral("Font");
    QString fontColor = QStringLiteral("FontColor");
    QString fontSize = QStringLiteral("FontSize");
    QString color = QStringLiteral("Color");
    QString wordWrap = QStringLiteral("WordWarp");
    QString fontStyle = QStringLiteral("FontStyle");
    QString fontPitchRead = QStringLiteral("FontPiech");
    QString fontPitch = QStringLiteral("FontPitch");
} kSettingNames;
} // namespace mainSettings

struct MainSettings {
    WindowPlacement placement;
    QString openDialogDir;
    QString fontFamily;
    std::optional<QColor> textColour;   // only a stored, readable colour
    std::optional<int> fontPoints;      // only a stored size that differs from the current one
    QColor background = Qt::white;
    bool wordWrap = true;
    // The messages for values that cannot be used, in the order they are read.
    QStringList errors;
};

// `fontFamily` and `fontPoints` are the editor's current font, the fallback
// for what is not stored; `programDirectory` the open dialog's default.
MainSettings readMainSettings(const RegistryKey& key, const QString& fontFamily, int fontPoints,
                              const QString& programDirectory);

} // namespace pel
