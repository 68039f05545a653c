#include "platform/HelpWindow.h"

#include "platform/Services.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace pel {
namespace {

constexpr int kPageRole = Qt::UserRole;

QUrl withoutFragment(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment);
}

// Arrow keys in the search field move through the keyword list, so the
// user can pick an entry without leaving the field.
class ArrowKeysToList final : public QObject {
public:
    ArrowKeysToList(QListWidget* list, QObject* parent) : QObject(parent), list_(list) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp && key != Qt::Key_PageDown)
            return false;
        const int step = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : key == Qt::Key_PageUp ? -10 : 10;
        if (list_->count() > 0)
            list_->setCurrentRow(qBound(0, list_->currentRow() + step, list_->count() - 1));
        return true;
    }

private:
    QListWidget* list_;
};

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ヘルプ"));
    resize(820, 600);

    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));

    ContentsTree = new QTreeWidget(Tabs);
    ContentsTree->setObjectName(QStringLiteral("ContentsTree"));
    ContentsTree->setHeaderHidden(true);
    ContentsTree->setColumnCount(1);
    // Long titles are shown whole, with a scroll bar, never cut off with "…".
    ContentsTree->header()->setStretchLastSection(false);
    ContentsTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Tabs->addTab(ContentsTree, QStringLiteral("目次(&C)"));

    auto* indexPage = new QWidget(Tabs);
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* prompt = new QLabel(QStringLiteral("調べる語句を入力してください(&W):"), indexPage);
    IndexEdit = new QLineEdit(indexPage);
    IndexEdit->setObjectName(QStringLiteral("IndexEdit"));
    IndexEdit->setClearButtonEnabled(true);
    prompt->setBuddy(IndexEdit);
    IndexList = new QListWidget(indexPage);
    IndexList->setObjectName(QStringLiteral("IndexList"));
    ShowButton = new QPushButton(QStringLiteral("表示(&D)"), indexPage);
    ShowButton->setObjectName(QStringLiteral("ShowButton"));
    indexLayout->addWidget(prompt);
    indexLayout->addWidget(IndexEdit);
    indexLayout->addWidget(IndexList, 1);
    indexLayout->addWidget(ShowButton, 0, Qt::AlignRight);
    Tabs->addTab(indexPage, QStringLiteral("キーワード(&K)"));
    IndexEdit->installEventFilter(new ArrowKeysToList(IndexList, this));

    auto* pagePane = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(pagePane);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QHBoxLayout;
    auto makeButton = [pagePane, buttons](const QString& name, const QString& caption) {
        auto* button = new QToolButton(pagePane);
        button->setObjectName(name);
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(button);
        return button;
    };
    BackButton = makeButton(QStringLiteral("BackButton"), QStringLiteral("戻る(&B)"));
    ForwardButton = makeButton(QStringLiteral("ForwardButton"), QStringLiteral("進む(&F)"));
    HomeButton = makeButton(QStringLiteral("HomeButton"), QStringLiteral("最初のページ(&T)"));
    buttons->addStretch(1);
    TopicBrowser = new QTextBrowser(pagePane);
    TopicBrowser->setObjectName(QStringLiteral("TopicBrowser"));
    TopicBrowser->setOpenLinks(false);
    pageLayout->addLayout(buttons);
    pageLayout->addWidget(TopicBrowser, 1);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(Tabs);
    splitter->addWidget(pagePane);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 580});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    BackButton->setEnabled(false);
    ForwardButton->setEnabled(false);
    connect(BackButton, &QToolButton::clicked, TopicBrowser, &QTextBrowser::backward);
    connect(ForwardButton, &QToolButton::clicked, TopicBrowser, &QTextBrowser::forward);
    connect(TopicBrowser, &QTextBrowser::backwardAvailable, BackButton, &QToolButton::setEnabled);
    connect(TopicBrowser, &QTextBrowser::forwardAvailable, ForwardButton, &QToolButton::setEnabled);
    connect(HomeButton, &QToolButton::clicked, this, [this] {
        if (book_)
            showPage(book_->startPage);
    });
    connect(TopicBrowser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(TopicBrowser, &QTextBrowser::sourceChanged, this, &HelpWindow::selectContentsItem);
    connect(ContentsTree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        if (item)
            showPage(item->data(0, kPageRole).toString());
    });
    connect(ContentsTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item)
            showPage(item->data(0, kPageRole).toString());
    });
    connect(IndexEdit, &QLineEdit::textChanged, this, &HelpWindow::searchIndex);
    connect(IndexEdit, &QLineEdit::returnPressed, this, &HelpWindow::showSelectedIndexEntry);
    connect(IndexList, &QListWidget::itemActivated, this, &HelpWindow::showSelectedIndexEntry);
    connect(ShowButton, &QPushButton::clicked, this, &HelpWindow::showSelectedIndexEntry);
}

void HelpWindow::openBook(const QString& helpFile)
{
    book_ = HelpBook::open(helpFile);
    ContentsTree->clear();
    IndexList->clear();
    shownEntries_.clear();
    {
        const QSignalBlocker block(IndexEdit);
        IndexEdit->clear();
    }
    if (!book_) {
        showMissingBook(helpFile);
        return;
    }
    setWindowTitle(book_->title.isEmpty() ? QStringLiteral("ヘルプ") : book_->title);
    Tabs->setEnabled(true);
    HomeButton->setEnabled(true);
    fillContents(nullptr, book_->topics);
    ContentsTree->expandToDepth(0);
    searchIndex(QString());
    TopicBrowser->clearHistory();
    showPage(book_->startPage);
}

void HelpWindow::showMissingBook(const QString& helpFile)
{
    setWindowTitle(QStringLiteral("ヘルプ"));
    Tabs->setEnabled(false);
    HomeButton->setEnabled(false);
    TopicBrowser->clearHistory();
    TopicBrowser->setHtml(
        QStringLiteral("<h2>ヘルプが見つかりません</h2>"
                       "<p>ヘルプ ファイル「%1」が見つかりません。</p>"
                       "<p>プログラムと同じフォルダに「%2」フォルダがあるか確かめてください。"
                       "プログラムを入れ直すと元に戻ります。</p>")
            .arg(helpFile.toHtmlEscaped(), HelpBook::bookFolderName(helpFile).toHtmlEscaped()));
}

void HelpWindow::fillContents(QTreeWidgetItem* parent, const QList<HelpTopic>& topics)
{
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(ContentsTree);
        item->setText(0, topic.title);
        item->setData(0, kPageRole, topic.page);
        fillContents(item, topic.children);
    }
}

void HelpWindow::showPage(const QString& page)
{
    if (!book_ || page.isEmpty())
        return;
    TopicBrowser->setSource(book_->pageUrl(page));
}

void HelpWindow::searchIndex(const QString& text)
{
    if (!book_)
        return;
    shownEntries_ = book_->search(text);
    IndexList->clear();
    for (const HelpIndexEntry& entry : std::as_const(shownEntries_))
        IndexList->addItem(entry.keyword);
    if (!shownEntries_.isEmpty())
        IndexList->setCurrentRow(0);
    ShowButton->setEnabled(!shownEntries_.isEmpty());
}

void HelpWindow::showSelectedIndexEntry()
{
    const int row = IndexList->currentRow();
    if (row < 0 || row >= shownEntries_.size())
        return;
    showPage(shownEntries_.at(row).page);
}

void HelpWindow::followLink(const QUrl& link)
{
    const QUrl target = TopicBrowser->source().resolved(link);
    const QString scheme = target.scheme().toLower();
    if (scheme == QLatin1String("file") || scheme == QLatin1String("qrc"))
        TopicBrowser->setSource(target);
    else
        shell().open(target.toString());  // web pages and mail go to their own programs
}

void HelpWindow::selectContentsItem(const QUrl& source)
{
    if (!book_)
        return;
    const QUrl wanted = withoutFragment(source);
    // The exact page and anchor first, else the first topic on that page.
    QTreeWidgetItem* pageMatch = nullptr;
    for (QTreeWidgetItemIterator it(ContentsTree); *it; ++it) {
        const QUrl url = book_->pageUrl((*it)->data(0, kPageRole).toString());
        if (url == source) {
            pageMatch = *it;
            break;
        }
        if (!pageMatch && withoutFragment(url) == wanted)
            pageMatch = *it;
    }
    if (pageMatch && ContentsTree->currentItem() != pageMatch) {
        const QSignalBlocker block(ContentsTree);
        ContentsTree->setCurrentItem(pageMatch);
    }
}

} // namespace pel
