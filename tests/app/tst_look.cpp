// What the user sees: every picture of the bars exists at the bars' size,
// the buttons of every icon bar are shown whole, and the calendar's title
// reads as a Japanese one.
#include "app/Application.h"
#include "main/About.h"
#include "main/MainImages.h"
#include "main/MainFixture.h"
#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "tools/Pelnew.h"

#include <QCalendarWidget>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <functional>

#include <QTest>
#include <QToolBar>
#include <QToolButton>

class TestLook : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { PelmoraApp::configureApplication(); }
    void everyPictureIsDrawn();
    void iconBarButtonsAreNotClipped_data();
    void iconBarButtonsAreNotClipped();
    void calendarTitleIsYearThenMonth();
    void menuButtonsReachableAtAnyWidth_data();
    void menuButtonsReachableAtAnyWidth();
    void aboutBoxTitleIsBold();
    void openDialogStartsWithPattern();
    void fontDialogStartsOnTheFontDrawn_data();
    void fontDialogStartsOnTheFontDrawn();
};

namespace {

// Runs `look` on the dialog of type T once it is up, then closes it as
// `accept` says.
template <typename T>
void whenShown(const std::function<void(T*)>& look, bool accept = false)
{
    QTimer::singleShot(0, [look, accept] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(20, [look, accept] { whenShown(look, accept); });
            return;
        }
        look(dialog);
        QDialog* box = dialog;
        accept ? box->accept() : box->reject();
    });
}

// Pixels of `colour` in the label as drawn.
int inked(QLabel* label, const QColor& colour)
{
    const QImage image = label->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += QColor(image.pixel(x, y)) == colour;
    return count;
}

} // namespace

void TestLook::everyPictureIsDrawn()
{
    for (int i = 0; i < MainImages::Count; ++i) {
        const QPixmap pixmap = MainImages::icon(i).pixmap(16, 16);
        QVERIFY2(!pixmap.isNull() && pixmap.width() <= 16 && pixmap.height() <= 16, qPrintable(QString::number(i)));
    }
    // The window icon is the program's own picture, 32 pixels included.
    QVERIFY(MainImages::programIcon().availableSizes().contains(QSize(32, 32)));
}

void TestLook::iconBarButtonsAreNotClipped_data()
{
    QTest::addColumn<QString>("bar");
    QTest::newRow("HTML icon bar") << "ToolBar4";
    QTest::newRow("standard icon bar") << "ToolBar5";
}

void TestLook::iconBarButtonsAreNotClipped()
{
    QFETCH(QString, bar);
    MainFixture f;
    f.start();
    f.main().resize(650, 490);
    f.main().show();
    f.run("HtmLIconBar1");
    QVERIFY(QTest::qWaitForWindowExposed(&f.main()));
    auto* toolBar = f.main().findChild<QToolBar*>(bar);
    QVERIFY(toolBar && toolBar->isVisible());
    int checked = 0;
    for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
        if (!button->isVisible() || button->objectName() == QLatin1String("qt_toolbar_ext_button"))
            continue;
        // Walk up to the main window: every ancestor must show the button's
        // full height.
        for (QWidget* w = button; w && w != &f.main(); w = w->parentWidget()) {
            const QRect inParent = QRect(w->mapTo(w->parentWidget(), QPoint(0, 0)), w->size());
            const QRect parentRect = w->parentWidget()->rect();
            QVERIFY2(inParent.top() >= parentRect.top() && inParent.bottom() <= parentRect.bottom(),
                     qPrintable(QStringLiteral("%1 cut by %2").arg(button->objectName(), w->parentWidget()->objectName())));
        }
        // And the icon fits inside its button.
        QVERIFY(button->iconSize().height() <= button->height() - 4);
        ++checked;
    }
    QVERIFY(checked > 10);
}

void TestLook::calendarTitleIsYearThenMonth()
{
    MainFixture f;
    f.start();
    QCalendarWidget* calendar = Form2->MonthCalendar1;
    Form2->show();
    auto* year = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    QVERIFY(year && month);
    calendar->setCurrentPage(2026, 12);
    QCOMPARE(year->text() + month->text(), QStringLiteral("2026年12月"));
    QVERIFY(year->geometry().right() < month->geometry().left());
    // Turning the page keeps the form.
    calendar->showNextMonth();
    QCOMPARE(year->text() + month->text(), QStringLiteral("2027年1月"));
}

void TestLook::menuButtonsReachableAtAnyWidth_data()
{
    QTest::addColumn<int>("width");
    for (int width : {500, 360, 240})
        QTest::addRow("%d px", width) << width;
}

// On a narrow window the menu buttons that do not fit wait behind the bar's
// overflow button, which must be there to see; a click shows them all.
void TestLook::menuButtonsReachableAtAnyWidth()
{
    QFETCH(int, width);
    MainFixture f;
    f.start();
    f.main().show();
    f.main().resize(width, 400);
    QVERIFY(QTest::qWaitForWindowExposed(&f.main()));
    auto* bar = f.main().findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    QVERIFY(bar);
    const QRect window = f.main().rect();
    const auto inside = [&f, &window](const QWidget* w) {
        return w->isVisible() && window.contains(QRect(w->mapTo(&f.main(), QPoint(0, 0)), w->size()));
    };
    const QStringList names = {u"FileButton"_qs, u"EditButton"_qs, u"ShowButton"_qs,
                               u"OptionButton"_qs, u"ToolM1Button"_qs, u"HelpMenuButton"_qs};
    auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    QTRY_VERIFY(std::any_of(names.begin(), names.end(), [&](const QString& name) {
        return !inside(f.main().findChild<QToolButton*>(name));
    }) == (more && more->isVisible()));
    if (!more || !more->isVisible())
        return;
    QVERIFY(inside(more));
    // Drawn: not one flat colour.
    const QImage drawn = more->grab().toImage();
    bool marked = false;
    for (int y = 0; y < drawn.height() && !marked; ++y)
        for (int x = 0; x < drawn.width() && !marked; ++x)
            marked = drawn.pixel(x, y) != drawn.pixel(0, 0);
    QVERIFY2(marked, "the overflow button shows nothing");
    QTest::mouseClick(more, Qt::LeftButton);
    for (const QString& name : names)
        QTRY_VERIFY2(inside(f.main().findChild<QToolButton*>(name)), qPrintable(name));
}

// The product name is drawn bold at its full 64 pixels: visibly more ink
// than the same text regular.
void TestLook::aboutBoxTitleIsBold()
{
    MainFixture f;
    f.start();
    QLabel* name = AboutBox->ProductName;
    QVERIFY(name->font().bold());
    const int bold = inked(name, Qt::red);
    QFont regular = name->font();
    regular.setBold(false);
    name->setFont(regular);
    const int plain = inked(name, Qt::red);
    QVERIFY2(plain > 500 && bold > plain * 6 / 5, qPrintable(QStringLiteral("%1 / %2").arg(bold).arg(plain)));
}

void TestLook::openDialogStartsWithPattern()
{
    pel::FileDialogRequest request;
    request.fileName = QStringLiteral("*.txt");
    request.filters = {{QStringLiteral("テキストファイル(*.txt)"), QStringLiteral("*.txt;")}};
    QString shown;
    whenShown<QFileDialog>([&shown](QFileDialog* dialog) {
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            shown = name->text();
    });
    QVERIFY(!pel::QtDialogs().openFile(nullptr, request));
    QCOMPARE(shown, QStringLiteral("*.txt"));
}

// The font dialog starts on the font the window really draws with, not the
// toolkit's own; left as it is, it gives back the font asked with.
void TestLook::fontDialogStartsOnTheFontDrawn_data()
{
    QTest::addColumn<QFont>("initial");
    QTest::newRow("paint form, 12 px") << pel::japaneseFont(12);
    QFont fixed(QStringLiteral("ＭＳ ゴシック"));
    fixed.setPixelSize(19);
    QTest::newRow("editor, 19 px") << fixed;
}

void TestLook::fontDialogStartsOnTheFontDrawn()
{
    QFETCH(QFont, initial);
    const QFontInfo drawn(initial);
    QVERIFY(drawn.family() != QApplication::font().family());
    QString family;
    whenShown<QFontDialog>([&family](QFontDialog* dialog) { family = dialog->currentFont().family(); }, true);
    const std::optional<QFont> chosen = pel::QtDialogs().chooseFont(nullptr, initial, {}, nullptr);
    QCOMPARE(family, drawn.family());
    QVERIFY(chosen);
    QCOMPARE(chosen->family(), initial.family());
    QCOMPARE(chosen->pixelSize(), initial.pixelSize());
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
