#pragma once
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace pel {

class HelpWindow;

// Shows the topics window (contents and index) of a help file. The program
// names its help file as it always has ("Pel.hlp"); the help book behind
// that name is a folder of HTML pages.
class HelpSystem {
public:
    virtual ~HelpSystem() = default;
    // No topic: the window opens on the book's first page.
    virtual void showTopics(const QString& helpFile) = 0;
};

struct HelpTopic {
    QString title;
    QString page;              // relative to the book's folder, may carry "#anchor"
    QList<HelpTopic> children;
};

struct HelpIndexEntry {
    QString keyword;
    QString page;
};

// A help book: "book.xml" (title, contents tree, index keywords) and the
// pages it names. The book for help file "Name.hlp" is the folder
// "Name.help"; the program ships one beside itself and one built in.
class HelpBook {
public:
    // nullopt when `folder` holds no readable, well-formed book.xml.
    static std::optional<HelpBook> load(const QString& folder);
    // The book for `helpFile` from the first place that has a readable one:
    // the file's own folder when it names one, then the program's data folders,
    // then the copy built into the program.
    static std::optional<HelpBook> open(const QString& helpFile);
    static QStringList candidateFolders(const QString& helpFile);
    // "Pel.hlp" -> "Pel.help"
    static QString bookFolderName(const QString& helpFile);

    QString title;
    QString folder;
    QString startPage;
    QList<HelpTopic> topics;
    QList<HelpIndexEntry> index;  // sorted by keyword

    QUrl pageUrl(const QString& page) const;
    // Index entries whose keyword contains `text` (case-insensitive), those
    // starting with it first; every entry for an empty text.
    QList<HelpIndexEntry> search(const QString& text) const;
};

// The real help system: one help window, reused for every request.
class SystemHelp final : public HelpSystem {
public:
    ~SystemHelp() override;
    void showTopics(const QString& helpFile) override;
    HelpWindow* window() const;

private:
    QPointer<HelpWindow> window_;
};

} // namespace pel
