#include "platform/Localization.h"

#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <utility>

namespace pel {

namespace {

// Texts Qt's Japanese catalogue leaves in English: the file dialog's type
// column and the print dialogs' duplex, page and conflict texts. Asked only
// when the catalogue has no answer.
struct MissingText {
    const char* context;   // exact, or a prefix ending in '*'
    const char* english;
    const char* japanese;
};

const MissingText kMissingTexts[] = {
    {"QAbstractFileIconProvider", "Folder", "フォルダー"},
    {"QAbstractFileIconProvider", "File Folder", "フォルダー"},
    {"QAbstractFileIconProvider", "Drive", "ドライブ"},
    {"QAbstractFileIconProvider", "Shortcut", "ショートカット"},
    {"QAbstractFileIconProvider", "File", "ファイル"},
    {"QAbstractFileIconProvider", "%1 File", "%1 ファイル"},
    {"QPrint*", "Pages", "ページ指定"},
    {"QPrint*", "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
                "hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "印刷するページや範囲をコンマで区切って指定します。範囲は二つの数をハイフンでつなぎます。"
     "例: 3,5-7,9 は 3、5、6、7、9 ページを印刷します。"},
    {"QPrint*", "Double Sided Printing", "両面印刷"},
    {"QPrint*", "Off", "なし"},
    {"QPrint*", "Long side binding", "長辺とじ"},
    {"QPrint*", "Short side binding", "短辺とじ"},
    {"QPrint*", "Advanced", "詳細設定"},
    {"QPrint*", "Invalid Pages Definition", "ページ指定の誤り"},
    {"QPrint*", "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define "
                "ranges and make sure ranges do not intersect with each other.",
     "%1 は正しい書き方ではありません。ページや範囲は「,」で区切り、範囲は「-」でつなぎ、範囲どうしが重ならないように"
     "してください。"},
    {"QPrint*", "Page Setup Conflicts", "ページ設定の競合"},
    {"QPrint*", "There are conflicts in page setup options. Do you want to fix them?",
     "ページ設定のオプションが競合しています。修正しますか?"},
    {"QPrint*", "Advanced Option Conflicts", "詳細設定の競合"},
    {"QPrint*", "There are conflicts in some advanced options. Do you want to fix them?",
     "詳細設定のオプションが競合しています。修正しますか?"},
    {"QPrint*", "Duplex Settings Conflicts", "両面印刷の設定の競合"},
    {"QPrint*", "There are conflicts in duplex settings. Do you want to fix them?",
     "両面印刷の設定が競合しています。修正しますか?"},
    {"QPrint*", "There are conflicts in some options. Please fix them.", "オプションが競合しています。修正してください。"},
    {"QPrint*", "Options 'Pages Per Sheet' and 'Page Set' cannot be used together.\nPlease turn one of those options off.",
     "「シートごとのページ数」と「ページセット」は同時に使えません。\nどちらかを解除してください。"},
};

bool contextMatches(const char* pattern, const char* context)
{
    const qsizetype length = qstrlen(pattern);
    if (length > 0 && pattern[length - 1] == '*')
        return qstrncmp(pattern, context, length - 1) == 0;
    return qstrcmp(pattern, context) == 0;
}

class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (!context || !source)
            return {};
        for (const MissingText& text : kMissingTexts) {
            if (qstrcmp(source, text.english) == 0 && contextMatches(text.context, context))
                return QString::fromUtf8(text.japanese);
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
