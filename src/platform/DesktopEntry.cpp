#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <optional>

namespace pel {
namespace {

// Splits an Exec value into arguments: double quotes group, and inside them
// a backslash escapes ", `, $ and \.
std::optional<QStringList> splitExec(const QString& value)
{
    QStringList words;
    QString word;
    bool inWord = false, quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < value.size()) {
                word += value.at(++i);
            } else {
                word += c;
            }
        } else if (c == u'"') {
            quoted = inWord = true;
        } else if (c == u' ' || c == u'\t') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words << word;
    return words;
}

// The value's general escapes (\s \n \t \r \\).
QString unescapeValue(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != u'\\' || i + 1 == value.size()) {
            out += value.at(i);
            continue;
        }
        const QChar next = value.at(++i);
        out += next == u's' ? QChar(u' ') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t')
             : next == u'r' ? QChar(u'\r') : next;
    }
    return out;
}

} // namespace

QStringList applicationFolders()
{
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    QStringList dirs = qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    if (dirs.isEmpty())
        dirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    dirs.prepend(home);
    QStringList folders;
    for (const QString& dir : std::as_const(dirs))
        folders << QDir(dir).filePath(QStringLiteral("applications"));
    return folders;
}

QString findDesktopEntry(const QString& id, const QStringList& folders)
{
    if (id.isEmpty() || id.contains(u'/') || !id.endsWith(QLatin1String(".desktop")))
        return {};
    // "vendor-app.desktop" may also live in the subfolder "vendor/app.desktop".
    QStringList candidates{id};
    for (qsizetype dash = id.indexOf(u'-'); dash > 0; dash = id.indexOf(u'-', dash + 1))
        candidates << QString(id).replace(dash, 1, u'/');
    for (const QString& folder : folders)
        for (const QString& name : std::as_const(candidates))
            if (QFileInfo(QDir(folder).filePath(name)).isFile())
                return QDir(folder).filePath(name);
    return {};
}

QStringList desktopEntryCommand(const QByteArray& entry, const QString& file)
{
    QString exec;
    bool inMain = false;
    for (const QByteArray& rawLine : entry.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[')) {
            inMain = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMain)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Hidden") && value == QLatin1String("true"))
            return {};
        if (key == QLatin1String("Exec"))
            exec = unescapeValue(value);
    }
    const auto words = splitExec(exec);
    if (!words || words->isEmpty())
        return {};
    QStringList command;
    for (const QString& word : *words) {
        if (word == QLatin1String("%f") || word == QLatin1String("%F")) {
            if (!file.isEmpty())
                command << file;
            continue;
        }
        if (word == QLatin1String("%u") || word == QLatin1String("%U")) {
            if (!file.isEmpty())
                command << QUrl::fromLocalFile(file).toString();
            continue;
        }
        // Other codes (%i, %c, %k and the deprecated ones) carry nothing we
        // have; "%%" is a percent sign.
        QString text;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word.at(i) == u'%' && i + 1 < word.size()) {
                if (word.at(++i) == u'%')
                    text += u'%';
            } else {
                text += word.at(i);
            }
        }
        if (!text.isEmpty())
            command << text;
    }
    return command;
}

} // namespace pel
