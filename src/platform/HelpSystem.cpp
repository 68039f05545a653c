#include "platform/HelpSystem.h"

#include "platform/HelpWindow.h"
#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <algorithm>

// The book built into the program lives in a static library's resources,
// which the linker drops unless something asks for them by name.
static void initBuiltInHelpBook()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(helpbook);
        return true;
    }();
    Q_UNUSED(done);
}

namespace pel {
namespace {

const QString kBuiltInBooks = QStringLiteral(":/help");

// `folder`'s subfolder called `name`, whatever its letter case (help file
// names have always been matched without regard to case).
QString subfolderIgnoringCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    if (QFileInfo(dir.filePath(name)).isDir())
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

bool readTopics(QXmlStreamReader& xml, QList<HelpTopic>& topics, QList<HelpIndexEntry>& index,
                const QString& enclosingPage)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("topic")) {
            HelpTopic topic;
            topic.title = xml.attributes().value(QLatin1String("title")).toString();
            topic.page = xml.attributes().value(QLatin1String("page")).toString();
            if (!readTopics(xml, topic.children, index, topic.page))
                return false;
            topics.append(topic);
        } else if (xml.name() == QLatin1String("keyword")) {
            QString page = xml.attributes().value(QLatin1String("page")).toString();
            if (page.isEmpty())
                page = enclosingPage;
            const QString keyword = xml.readElementText().trimmed();
            if (!keyword.isEmpty() && !page.isEmpty())
                index.append({keyword, page});
        } else {
            xml.skipCurrentElement();
        }
    }
    return !xml.hasError();
}

} // namespace

QString HelpBook::bookFolderName(const QString& helpFile)
{
    return QFileInfo(helpFile).completeBaseName() + QStringLiteral(".help");
}

QStringList HelpBook::candidateFolders(const QString& helpFile)
{
    initBuiltInHelpBook();
    const QString name = bookFolderName(helpFile);
    const QString normalized = QDir::fromNativeSeparators(helpFile);
    QStringList places;
    if (normalized.contains(u'/'))
        places << QFileInfo(normalized).absolutePath();
    places << programDataFolders();
    places << kBuiltInBooks;
    QStringList folders;
    for (const QString& place : std::as_const(places)) {
        const QString folder = subfolderIgnoringCase(place, name);
        if (!folder.isEmpty())
            folders << folder;
    }
    return folders;
}

std::optional<HelpBook> HelpBook::open(const QString& helpFile)
{
    // A damaged copy beside the program gives way to the built-in one.
    for (const QString& folder : candidateFolders(helpFile))
        if (auto book = load(folder))
            return book;
    return std::nullopt;
}

std::optional<HelpBook> HelpBook::load(const QString& folder)
{
    initBuiltInHelpBook();
    QFile file(folder + QStringLiteral("/book.xml"));
    if (folder.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("book"))
        return std::nullopt;
    HelpBook book;
    book.folder = folder;
    book.title = xml.attributes().value(QLatin1String("title")).toString();
    book.startPage = xml.attributes().value(QLatin1String("start")).toString();
    if (!readTopics(xml, book.topics, book.index, book.startPage))
        return std::nullopt;
    if (book.startPage.isEmpty() && !book.topics.isEmpty())
        book.startPage = book.topics.constFirst().page;
    std::stable_sort(book.index.begin(), book.index.end(),
                     [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
                         return a.keyword.compare(b.keyword, Qt::CaseInsensitive) < 0;
                     });
    return book;
}

QUrl HelpBook::pageUrl(const QString& page) const
{
    QUrl base;
    if (folder.startsWith(u':'))
        base = QUrl(QStringLiteral("qrc") + folder + u'/');
    else
        base = QUrl::fromLocalFile(QDir(folder).absolutePath() + u'/');
    return base.resolved(QUrl(page));
}

QList<HelpIndexEntry> HelpBook::search(const QString& text) const
{
    const QString wanted = text.trimmed();
    QList<HelpIndexEntry> starting;
    QList<HelpIndexEntry> containing;
    for (const HelpIndexEntry& entry : index) {
        if (entry.keyword.startsWith(wanted, Qt::CaseInsensitive))
            starting.append(entry);
        else if (entry.keyword.contains(wanted, Qt::CaseInsensitive))
            containing.append(entry);
    }
    return starting + containing;
}

SystemHelp::~SystemHelp()
{
    delete window_.data();
}

HelpWindow* SystemHelp::window() const
{
    return window_;
}

void SystemHelp::showTopics(const QString& helpFile)
{
    if (!window_) {
        window_ = new HelpWindow;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window_.data(), &QObject::deleteLater);
    }
    window_->openBook(helpFile);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

} // namespace pel
