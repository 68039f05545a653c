#include "paint/PaintSettings.h"

#include "platform/RegistryKey.h"

namespace pel {

PaintSettings readPaintSettings(const RegistryKey& key, const QString& programDirectory)
{
    PaintSettings s;
    s.placement = readWindowPlacement(key, QSize(600, 400));
    s.openDialogDir = key.readString(QStringLiteral("File"), QStringLiteral("IniDir"), programDirectory);
    return s;
}

} // namespace pel
