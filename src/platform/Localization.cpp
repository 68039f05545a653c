#include "platform/Localization.h"

#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <utility>

namespace pel {

namespace {

// Texts of Qt's file dialogs that Qt's Japanese catalogue leaves in English
// (the file type column). Asked only when the catalogue has no answer.
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const std::pair<const char*, const char*> texts[] = {
            {"Folder", "フォルダー"}, {"File Folder", "フォルダー"}, {"Drive", "ドライブ"},
            {"Shortcut", "ショートカット"}, {"File", "ファイル"}, {"%1 File", "%1 ファイル"},
        };
        for (const auto& [english, japanese] : texts) {
            if (qstrcmp(source, english) == 0)
                return QString::fromUtf8(japanese);
        }
        return {};
    }
};

} // namespace

QStringList translationFolders()
{
    return {executableDirectory() + QStringLiteral("translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QStringList installJapaneseUi()
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    // Installed first, so asked last.
    QCoreApplication::installTranslator(new MissingQtTexts(QCoreApplication::instance()));
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
