#include "FuzzChecks.h"

#include "main/MainSettings.h"
#include "paint/PaintSettings.h"
#include "platform/ColorNames.h"
#include "platform/RegistryKey.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pel::fuzz {

// ---- Settings -----------------------------------------------------------------
// The bytes as both settings files (main window and paint form), read as the
// windows read them at start.

namespace {

bool writeSettingsFile(const QString& path, QByteArrayView bytes)
{
    // Settings files are cached by size and time; every input gets a time
    // of its own so it is read afresh.
    static qint64 stamp = 0;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes.data(), bytes.size()) == bytes.size()
        && file.flush()
        && file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++stamp), QFileDevice::FileModificationTime);
}

QString checkColour(const QColor& colour, const char* what)
{
    if (!colour.isValid())
        return QStringLiteral("%1 is no colour").arg(QLatin1String(what));
    // What the window writes back reads as the same colour.
    const std::optional<ColorValue> again = colorFromString(colorToString(fromQColor(colour)));
    if (!again || toQColor(*again) != colour)
        return QStringLiteral("%1 does not survive being stored").arg(QLatin1String(what));
    return {};
}

QString checkPlacement(const WindowPlacement& placement)
{
    if (placement.bounds.isEmpty() || fitToScreens(placement.bounds) != placement.bounds)
        return QStringLiteral("window bounds off the screen");
    if (placement.state != Qt::WindowNoState && placement.state != Qt::WindowMinimized
        && placement.state != Qt::WindowMaximized)
        return QStringLiteral("unknown window state");
    return {};
}

} // namespace

QString checkSettings(QByteArrayView bytes)
{
    // Where the windows' own keys keep their files; the caller has pointed
    // the user's settings at a folder of its own.
    const QString mainFile = RegistryKey(QStringLiteral("Pelmora")).location();
    const QString paintFile = RegistryKey(QStringLiteral("Img")).location();
    QDir().mkpath(QFileInfo(mainFile).path());
    if (!writeSettingsFile(mainFile, bytes) || !writeSettingsFile(paintFile, bytes))
        return QStringLiteral("cannot write the settings files");

    const QString program = QStringLiteral("/program/");
    const MainSettings main = readMainSettings(RegistryKey(QStringLiteral("Pelmora")), QStringLiteral("Sans"), 10, program);
    QString failure = checkPlacement(main.placement);
    if (failure.isEmpty() && main.fontPoints && (*main.fontPoints < 1 || *main.fontPoints > 400 || *main.fontPoints == 10))
        failure = QStringLiteral("font size %1 points").arg(*main.fontPoints);
    if (failure.isEmpty() && main.textColour)
        failure = checkColour(*main.textColour, "text colour");
    if (failure.isEmpty())
        failure = checkColour(main.background, "background");
    if (failure.isEmpty() && main.errors.size() > 3)
        failure = QStringLiteral("more errors than values that can be wrong");
    if (!failure.isEmpty())
        return failure;

    const PaintSettings paint = readPaintSettings(RegistryKey(QStringLiteral("Img")), program);
    return checkPlacement(paint.placement);
}

} // namespace pel::fuzz
