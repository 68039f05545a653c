// Help: the command, the help book and the help window.
#include "app/Application.h"
#include "main/Pelmain.h"
#include "platform/HelpSystem.h"
#include "platform/HelpWindow.h"
#include "support/TestServices.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

namespace {

QString pageText(const pel::HelpBook& book, const QString& page)
{
    QFile file(book.folder + u'/' + QUrl(page).path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void collectPages(const QList<pel::HelpTopic>& topics, QStringList& pages)
{
    for (const pel::HelpTopic& topic : topics) {
        pages << topic.page;
        collectPages(topic.children, pages);
    }
}

} // namespace

using pel::HelpBook;

class HelpTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

    // A small book beside the program, in a folder named `folder`.
    void writeBook(const QString& folder, const QByteArray& bookXml, const QByteArray& page)
    {
        QDir(env->programDirectory()).mkpath(folder);
        pel::test::writeFile(env->path(folder + QStringLiteral("/book.xml")), bookXml);
        pel::test::writeFile(env->path(folder + QStringLiteral("/start.html")), page);
    }

private Q_SLOTS:
    void init() { env = std::make_unique<pel::test::TestEnvironment>(); }
    void cleanup()
    {
        if (Form1)
            PelmoraApp::destroyWindows();
        env.reset();
    }

    void helpCommand_data()
    {
        QTest::addColumn<QString>("applicationFile");
        QTest::addColumn<QString>("source");
        QTest::newRow("file with folder, command") << "/opt/pelmora/Pel.hlp" << "HelpAction";
        QTest::newRow("bare name, menu entry") << "Pel.HLP" << "Help1";
        QTest::newRow("file with folder, icon-bar button") << "/opt/pelmora/Pel.hlp" << "HelpButton";
    }

    // The main window's own help file is asked for, whatever the
    // application's help file names.
    void helpCommand()
    {
        QFETCH(QString, applicationFile);
        QFETCH(QString, source);
        PelmoraApp::createWindows({});
        QCOMPARE(Form1->applicationHelpFile(), env->programDirectory() + QStringLiteral("Pel.hlp"));
        Form1->applicationHelpFile() = applicationFile;
        if (auto* button = Form1->findChild<QToolButton*>(source))
            button->click();
        else if (auto* entry = Form1->findChild<QAction*>(source))
            entry->trigger();
        else
            QFAIL("no such control");
        QCOMPARE(env->help->shown, QStringList{QStringLiteral("Pel.hlp")});
        QCOMPARE(Form1->applicationHelpFile(), QStringLiteral("Pel.HLP"));
    }

    // Every page the contents and the index name, and every link between
    // pages, leads to a page of the book.
    void builtInBookIsWhole()
    {
        const auto book = HelpBook::open(QStringLiteral("Pel.hlp"));
        QVERIFY(book);
        QVERIFY(book->folder.startsWith(u':'));
        QVERIFY(book->topics.size() > 5);
        QVERIFY(book->index.size() > 50);
        QStringList pages;
        collectPages(book->topics, pages);
        for (const pel::HelpIndexEntry& entry : book->index)
            pages << entry.page;
        pages.removeDuplicates();
        const QRegularExpression href(QStringLiteral("href=\"([^\"#:]+)(#[^\"]*)?\""));
        for (const QString& page : std::as_const(pages)) {
            const QString text = pageText(*book, page);
            QVERIFY2(!text.isEmpty(), qPrintable(page));
            const QString anchor = QUrl(page).fragment();
            if (!anchor.isEmpty())
                QVERIFY2(text.contains(QStringLiteral("id=\"%1\"").arg(anchor))
                             || text.contains(QStringLiteral("name=\"%1\"").arg(anchor)),
                         qPrintable(page));
            for (auto it = href.globalMatch(text); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(!pageText(*book, target).isEmpty(), qPrintable(page + QStringLiteral(" -> ") + target));
            }
        }
    }

    // Each window of the program and each command of the main window's
    // command list has its place in the book's index.
    void bookCoversEveryWindowAndCommand()
    {
        PelmoraApp::createWindows({});
        const auto book = HelpBook::open(QStringLiteral("Pel.hlp"));
        QVERIFY(book);
        QList<QWidget*> windows{Form1};
        for (QWidget* child : Form1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isWindow() && !child->windowTitle().isEmpty())
                windows << child;
        QVERIFY(windows.size() >= 13);
        for (QWidget* window : std::as_const(windows))
            QVERIFY2(!book->search(window->windowTitle()).isEmpty(), qPrintable(window->windowTitle()));

        const char* const commands[] = {
            "ExitAction", "NewAction", "OpenAction", "SaveAction", "SaveAsAction", "PrintAction",
            "PrinterAction", "WinEndAction", "UndoAction", "ClearAction", "CopyAction", "CutAction",
            "PasteAction", "FindAction", "ReplaceAction", "FontAction", "BackColorAction", "WordWrapAction",
            "CalendarAction", "ListBoxAction", "JavaJavaAction", "ColorAction", "PaintAction",
            "PlayerAction", "HelpAction", "AboutAction", "VerUpAction"};
        for (const char* name : commands) {
            const QAction* command = Form1->action(QString::fromLatin1(name));
            QVERIFY2(command, name);
            const QString caption = command->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)|&"))).trimmed();
            QVERIFY2(!book->search(caption).isEmpty(), qPrintable(caption));
        }
    }

    void windowShowsContentsAndStartPage()
    {
        pel::HelpWindow window;
        window.openBook(QStringLiteral("Pel.hlp"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.hasBook());
        QVERIFY(window.Tabs->isEnabled());
        QVERIFY(window.ContentsTree->topLevelItemCount() > 5);
        QCOMPARE(window.TopicBrowser->source(), window.book()->pageUrl(window.book()->startPage));
        QVERIFY(window.TopicBrowser->toPlainText().contains(QStringLiteral("Pelmora")));

        // A topic chosen in the contents shows its page.
        QTreeWidgetItem* item = window.ContentsTree->topLevelItem(2);
        const QRect place = window.ContentsTree->visualItemRect(item);
        QTest::mouseClick(window.ContentsTree->viewport(), Qt::LeftButton, {}, place.center());
        QCOMPARE(window.TopicBrowser->source().path(), window.book()->pageUrl(item->data(0, Qt::UserRole).toString()).path());
        QVERIFY(window.BackButton->isEnabled());

        // Every title whole, the longest and deepest too.
        window.ContentsTree->expandAll();
        const auto firstCut = [&window] {
            QTreeWidget* tree = window.ContentsTree;
            for (QTreeWidgetItemIterator it(tree); *it; ++it)
                if (tree->visualItemRect(*it).width() < tree->fontMetrics().horizontalAdvance((*it)->text(0)))
                    return (*it)->text(0);
            return QString();
        };
        QTRY_COMPARE(firstCut(), QString());
    }

    void indexSearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("page");
        QTest::newRow("replace") << QStringLiteral("置き換え") << QStringLiteral("置き換え") << "find.html";
        QTest::newRow("time bar") << QStringLiteral("タイムバー") << QStringLiteral("タイムバー") << "clock.html";
        QTest::newRow("latin, any case") << QStringLiteral("javajava") << QStringLiteral("JavaJava") << "lists.html";
        QTest::newRow("middle of a keyword") << QStringLiteral("起動経過") << QStringLiteral("パソコン起動経過時間")
                                             << "clock.html";
    }

    void indexSearch()
    {
        QFETCH(QString, typed);
        QFETCH(QString, keyword);
        QFETCH(QString, page);
        pel::HelpWindow window;
        window.openBook(QStringLiteral("Pel.hlp"));
        window.show();
        window.Tabs->setCurrentIndex(1);
        const int all = window.IndexList->count();
        window.IndexEdit->setText(typed);
        QVERIFY(window.IndexList->count() > 0);
        QVERIFY(window.IndexList->count() < all);
        QCOMPARE(window.IndexList->currentItem()->text(), keyword);
        QTest::keyClick(window.IndexEdit, Qt::Key_Return);
        QCOMPARE(window.TopicBrowser->source().fileName(), page);
        QVERIFY(window.TopicBrowser->toPlainText().contains(keyword, Qt::CaseInsensitive));
    }

    void bookBesideProgramComesFirst_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("helpFile");
        QTest::newRow("same case") << "Pel.help" << "Pel.hlp";
        QTest::newRow("other case") << "PEL.HELP" << "Pel.HLP";
    }

    void bookBesideProgramComesFirst()
    {
        QFETCH(QString, folder);
        QFETCH(QString, helpFile);
        writeBook(folder,
                  "<book title=\"Local\" start=\"start.html\"><topic title=\"Start\" page=\"start.html\">"
                  "<keyword>local word</keyword></topic></book>",
                  "<html><body><p>local copy</p></body></html>");
        pel::HelpWindow window;
        window.openBook(helpFile);
        QCOMPARE(window.windowTitle(), QStringLiteral("Local"));
        QCOMPARE(window.TopicBrowser->toPlainText().trimmed(), QStringLiteral("local copy"));
        QCOMPARE(window.IndexList->count(), 1);
    }

    void damagedBookBesideProgramGivesWay()
    {
        writeBook(QStringLiteral("Pel.help"), "<book title=\"Broken\"><topic", "<html></html>");
        const auto book = HelpBook::open(QStringLiteral("Pel.hlp"));
        QVERIFY(book);
        QVERIFY(book->folder.startsWith(u':'));
    }

    void missingBookIsReportedInTheWindow()
    {
        pel::HelpWindow window;
        window.openBook(QStringLiteral("Pel.hlp"));
        QVERIFY(window.hasBook());
        window.openBook(QStringLiteral("Nothing.hlp"));
        QVERIFY(!window.hasBook());
        QVERIFY(!window.Tabs->isEnabled());
        QCOMPARE(window.ContentsTree->topLevelItemCount(), 0);
        const QString text = window.TopicBrowser->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("ヘルプ ファイル「Nothing.hlp」が見つかりません。")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Nothing.help")));
        QVERIFY(env->prompts->shown.isEmpty());
    }

    void systemHelpReusesItsWindow()
    {
        pel::SystemHelp help;
        help.showTopics(QStringLiteral("Pel.hlp"));
        pel::HelpWindow* first = help.window();
        QVERIFY(first && first->isVisible());
        first->IndexEdit->setText(QStringLiteral("xyz"));
        help.showTopics(QStringLiteral("Pel.hlp"));
        QCOMPARE(help.window(), first);
        QVERIFY(first->IndexEdit->text().isEmpty());
    }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
