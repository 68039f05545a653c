#pragma once
#include "platform/HelpSystem.h"

#include <QWidget>
#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pel {

// The help topics window: the book's contents as a tree and its index with
// a search field on the left, the page on the right. A book that cannot be
// found is reported in the window itself.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Opens the book for `helpFile` ("Pel.hlp") at its first page.
    void openBook(const QString& helpFile);
    bool hasBook() const { return book_.has_value(); }
    const HelpBook* book() const { return book_ ? &*book_ : nullptr; }
    // Shows `page` of the open book ("edit.html#find").
    void showPage(const QString& page);
    // The index entries shown for `text`, the first selected; Enter shows it.
    void searchIndex(const QString& text);
    void showSelectedIndexEntry();

    QTabWidget* Tabs = nullptr;
    QTreeWidget* ContentsTree = nullptr;
    QLineEdit* IndexEdit = nullptr;
    QListWidget* IndexList = nullptr;
    QPushButton* ShowButton = nullptr;
    QTextBrowser* TopicBrowser = nullptr;
    QToolButton* BackButton = nullptr;
    QToolButton* ForwardButton = nullptr;
    QToolButton* HomeButton = nullptr;

private:
    void showMissingBook(const QString& helpFile);
    void fillContents(QTreeWidgetItem* parent, const QList<HelpTopic>& topics);
    void followLink(const QUrl& link);
    void selectContentsItem(const QUrl& source);

    std::optional<HelpBook> book_;
    QList<HelpIndexEntry> shownEntries_;
};

} // namespace pel
