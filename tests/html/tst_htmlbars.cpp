// The bar and menu tables, their builders and the icon bar's scroller.
#include "html/HtmlBars.h"
#include "html/HtmlCommands.h"
#include "html/PageScroller.h"

#include <QAction>
#include <QMenu>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;
using namespace pel::html;

namespace {

// Commands that are not insertions but live in the same bars.
bool knownCommand(const QString& name)
{
    return findHtmlCommand(name) || name == u"JavaJavaAction" || name == u"BrowserAction";
}

QAction* plainEntry(const MenuRow& row, QObject* parent)
{
    auto* entry = new QAction(row.caption.value_or(row.command), parent);
    entry->setObjectName(row.name);
    if (row.icon >= 0) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::red);
        entry->setIcon(QIcon(pixmap));
    }
    return entry;
}

} // namespace

class TestHtmlBars : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyRowNamesAKnownCommand();
    void menusAreBuiltWithTheirSubmenus();
    void javaMenuHasNoIcons();
    void iconBarKeepsOrderAndGaps();
    void entriesFollowTheirCommand_data();
    void entriesFollowTheirCommand();
    void scrollStep_data();
    void scrollStep();
    void scrollerShowsArrowsOnlyWhenTooNarrow();
    void scrollerStepsWhileThePointerRestsOnAnArrow();
};

void TestHtmlBars::everyRowNamesAKnownCommand()
{
    QSet<QString> names;
    for (const MenuTable& table : htmlMenus()) {
        for (const MenuRow& row : table.rows) {
            if (row.kind == MenuRow::Kind::Separator)
                continue;
            QVERIFY2(!names.contains(row.name), qPrintable(row.name));
            names.insert(row.name);
            if (row.kind == MenuRow::Kind::Entry)
                QVERIFY2(knownCommand(row.command), qPrintable(row.command));
        }
    }
    for (const IconBarRow& row : htmlIconBar()) {
        if (row.kind == IconBarRow::Kind::Separator)
            continue;
        QVERIFY2(!names.contains(row.name), qPrintable(row.name));
        names.insert(row.name);
        QVERIFY2(knownCommand(row.command), qPrintable(row.command));
        QVERIFY(row.icon >= 0 && row.icon < 80);
    }
    for (const MenuButtonRow& row : homePageBarButtons())
        QVERIFY2(findHtmlMenu(row.menu), qPrintable(row.menu));
    // Every action of the table is reachable from a menu or the icon bar;
    // every click handler from an entry or a button.
    QSet<QString> reachable;
    for (const MenuTable& table : htmlMenus())
        for (const MenuRow& row : table.rows)
            reachable.insert(row.command);
    for (const IconBarRow& row : htmlIconBar())
        reachable.insert(row.command);
    for (const HtmlCommand& command : htmlCommands())
        QVERIFY2(reachable.contains(command.name), qPrintable(command.name));
}

void TestHtmlBars::menusAreBuiltWithTheirSubmenus()
{
    QWidget parent;
    QMenu* menu = buildMenu(*findHtmlMenu(u"LinkMenu"_s), &parent, plainEntry);
    QCOMPARE(menu->objectName(), u"LinkMenu"_s);
    const QList<QAction*> top = menu->actions();
    QStringList names;
    for (QAction* a : top)
        names << (a->isSeparator() ? u"-"_s : a->objectName());
    QCOMPARE(names, (QStringList{u"URL1"_s, u"Email1"_s, u"RardURL1"_s, u"-"_s, u"pageLink2"_s, u"PageLink3"_s,
                                 u"-"_s, u"FLEAME1"_s, u"FormTag1"_s, u"Table1"_s}));
    QMenu* tables = menu->findChild<QMenu*>(u"Table1"_s);
    QVERIFY(tables);
    QCOMPARE(tables->actions().size(), 12);
    QCOMPARE(tables->actions().at(2)->objectName(), u"Table4"_s);
    QCOMPARE(tables->actions().at(2)->text(), u"テーブル(全体のサイズ)"_s);
    QCOMPARE(tables->actions().constLast()->objectName(), u"Table13"_s);
    QCOMPARE(menu->findChild<QMenu*>(u"FormTag1"_s)->actions().size(), 10);
    QCOMPARE(menu->findChild<QMenu*>(u"FLEAME1"_s)->menuAction()->text(), u"フレームの設定"_s);

    // Separators inside a submenu stay in it.
    QMenu* html = buildMenu(*findHtmlMenu(u"HtmlMenu"_s), &parent, plainEntry);
    QMenu* text = html->findChild<QMenu*>(u"TextM1"_s);
    int separators = 0;
    for (QAction* a : text->actions())
        separators += a->isSeparator();
    QCOMPARE(text->actions().size() - separators, 14);
    QCOMPARE(separators, 5);
    QCOMPARE(html->actions().size(), 9);  // five submenus, four separators
}

void TestHtmlBars::javaMenuHasNoIcons()
{
    QWidget parent;
    // Even an entry whose command has a picture shows none in this menu.
    QMenu* menu = buildMenu(*findHtmlMenu(u"JavaMenu"_s), &parent, [](const MenuRow& row, QObject* p) {
        MenuRow withIcon = row;
        withIcon.icon = 26;
        return plainEntry(withIcon, p);
    });
    const QList<QAction*> entries = menu->findChildren<QAction*>();
    QVERIFY(entries.size() >= 6);
    for (QAction* a : entries)
        if (!a->menu() && !a->isSeparator())
            QVERIFY2(a->icon().isNull(), qPrintable(a->objectName()));
}

void TestHtmlBars::iconBarKeepsOrderAndGaps()
{
    QToolBar bar;
    buildIconBar(&bar, htmlIconBar(), [](const IconBarRow& row, QToolBar* b) {
        auto* button = new QToolButton(b);
        button->setObjectName(row.name);
        return button;
    });
    const QList<QAction*> items = bar.actions();
    QCOMPARE(items.size(), 30);
    QList<int> gaps;
    for (int i = 0; i < items.size(); ++i) {
        QWidget* w = bar.widgetForAction(items.at(i));
        if (qobject_cast<QToolButton*>(w))
            QCOMPARE(w->width(), kIconButtonWidth);
        else
            gaps << i + 1 << w->width();
    }
    QCOMPARE(gaps, (QList<int>{1, 8, 4, 8, 11, 10, 24, 10, 26, 10}));
    QCOMPARE(bar.widgetForAction(items.at(17))->objectName(), u"hBButton"_s);
    QCOMPARE(bar.widgetForAction(items.constLast())->objectName(), u"hJavaScliptButton"_s);
}

void TestHtmlBars::entriesFollowTheirCommand_data()
{
    QTest::addColumn<bool>("commandCheckable");
    QTest::addColumn<bool>("ownCheckMark");
    QTest::newRow("checkable command") << true << false;
    QTest::newRow("own check mark") << false << true;
    QTest::newRow("plain") << false << false;
}

void TestHtmlBars::entriesFollowTheirCommand()
{
    QFETCH(bool, commandCheckable);
    QFETCH(bool, ownCheckMark);
    QObject parent;
    QAction command(u"命令"_s);
    command.setCheckable(commandCheckable);
    int runs = 0;
    connect(&command, &QAction::triggered, &parent, [&runs] { ++runs; });
    MenuRow row = pel::entryRow(0, u"Entry1"_s, u"Command"_s, -1, {}, u"短い|長い"_s);
    row.checkable = ownCheckMark;
    QAction* entry = pel::commandEntry(row, &command, QIcon(), &parent);
    QCOMPARE(entry->objectName(), u"Entry1"_s);
    QCOMPARE(entry->text(), u"命令"_s);
    QCOMPARE(entry->toolTip(), u"短い"_s);
    QCOMPARE(entry->statusTip(), u"長い"_s);
    QCOMPARE(entry->isCheckable(), commandCheckable || ownCheckMark);

    command.setEnabled(false);
    QVERIFY(!entry->isEnabled());
    command.setEnabled(true);
    entry->setChecked(true);
    command.setChecked(false);
    command.setText(u"changed"_s);
    // Only a checkable command's mark is copied; an entry's own mark stays.
    QCOMPARE(entry->isChecked(), ownCheckMark);
    entry->trigger();
    QCOMPARE(runs, 1);
}

void TestHtmlBars::scrollStep_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("step");
    QTest::newRow("none") << int(Qt::NoModifier) << 23;
    QTest::newRow("keypad") << int(Qt::KeypadModifier) << 23;
    QTest::newRow("alt") << int(Qt::AltModifier) << 1;
    QTest::newRow("alt shift") << int(Qt::AltModifier | Qt::ShiftModifier) << 1;
    QTest::newRow("alt ctrl") << int(Qt::AltModifier | Qt::ControlModifier) << 1;
    QTest::newRow("shift") << int(Qt::ShiftModifier) << PageScroller::kDefaultStep;
    QTest::newRow("ctrl") << int(Qt::ControlModifier) << PageScroller::kDefaultStep;
    QTest::newRow("shift ctrl") << int(Qt::ShiftModifier | Qt::ControlModifier) << PageScroller::kDefaultStep;
}

void TestHtmlBars::scrollStep()
{
    QFETCH(int, modifiers);
    QFETCH(int, step);
    PageScroller scroller;
    auto* content = new QWidget;
    content->setMinimumSize(1000, 22);
    scroller.setContent(content);
    scroller.setStepProvider([](Qt::KeyboardModifiers m) { return iconBarScrollStep(m, kIconButtonWidth); });
    scroller.resize(300, 22);
    scroller.scrollStep(+1, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(scroller.position(), step);
    QCOMPARE(content->x(), -step);
    scroller.scrollStep(+1, Qt::KeyboardModifiers(modifiers));
    scroller.scrollStep(-1, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(scroller.position(), step);
}

void TestHtmlBars::scrollerShowsArrowsOnlyWhenTooNarrow()
{
    PageScroller scroller;
    auto* content = new QWidget;
    content->setMinimumSize(600, 22);
    scroller.setContent(content);
    scroller.resize(800, 22);
    scroller.show();
    QVERIFY(!scroller.arrowsShown());
    scroller.resize(200, 22);
    QVERIFY(scroller.arrowsShown());
    QVERIFY(!scroller.startArrow()->isEnabled());
    // Never past the end: the last button stays in view.
    scroller.setPosition(10000);
    QCOMPARE(scroller.position(), scroller.maximumPosition());
    QCOMPARE(content->geometry().right() + 1, 200 - PageScroller::kArrowWidth * 2);
    QVERIFY(!scroller.endArrow()->isEnabled());
    scroller.resize(800, 22);
    QVERIFY(!scroller.arrowsShown());
    QCOMPARE(scroller.position(), 0);
}

void TestHtmlBars::scrollerStepsWhileThePointerRestsOnAnArrow()
{
    PageScroller scroller;
    auto* content = new QWidget;
    content->setMinimumSize(1000, 22);
    scroller.setContent(content);
    scroller.setStepProvider([](Qt::KeyboardModifiers m) { return iconBarScrollStep(m, kIconButtonWidth); });
    scroller.setGeometry(400, 400, 300, 22);  // away from the pointer
    scroller.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scroller));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(scroller.endArrow(), &enter);
    QTRY_VERIFY(scroller.position() >= 2 * kIconButtonWidth);
    QCOMPARE(scroller.position() % kIconButtonWidth, 0);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(scroller.endArrow(), &leave);
    const int stopped = scroller.position();
    QTest::qWait(3 * PageScroller::kAutoScrollInterval);
    QCOMPARE(scroller.position(), stopped);
    QCoreApplication::sendEvent(scroller.startArrow(), &enter);
    QTRY_COMPARE(scroller.position(), 0);
    QTRY_COMPARE(scroller.autoScrollDirection(), 0);  // stops at the start
}

QTEST_MAIN(TestHtmlBars)
#include "tst_htmlbars.moc"
