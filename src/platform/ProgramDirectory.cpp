#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace pel {
namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString withSeparator(QString folder)
{
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}
} // namespace

QString ProgramDirectory()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return withSeparator(QCoreApplication::applicationDirPath());
}

void setProgramDirectory(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withSeparator(folder);
}

} // namespace pel
