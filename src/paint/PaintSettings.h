#pragma once
// What the paint form reads from its settings ("Img") when it opens.
#include "platform/WindowPlacement.h"

#include <QString>

namespace pel {

class RegistryKey;

struct PaintSettings {
    WindowPlacement placement;
    QString openDialogDir;
};

PaintSettings readPaintSettings(const RegistryKey& key, const QString& programDirectory);

} // namespace pel
