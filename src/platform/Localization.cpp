#include "platform/Localization.h"

#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pel {

QStringList translationFolders()
{
    return {executableDirectory() + QStringLiteral("translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QStringList installJapaneseUi()
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    QStringList loaded;
    for (const char* catalogue : {"qtbase", "qtmultimedia"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        bool found = false;
        for (const QString& folder : translationFolders()) {
            if (translator->load(japanese, QString::fromLatin1(catalogue), QStringLiteral("_"), folder)) {
                found = true;
                break;
            }
        }
        if (found && QCoreApplication::installTranslator(translator))
            loaded << QString::fromLatin1(catalogue);
        else
            delete translator;
    }
    return loaded;
}

} // namespace pel
