// The paint form on a real desktop: the stay-on-top form must never cover
// what it opens, and at its own size every control is on screen.
#include "support/EditorDriver.h"
#include "DesktopTest.h"
#include "app/Application.h"
#include "main/Pelmain.h"
#include "paint/PelPaint.h"
#include "paint/PelPreview.h"
#include "paint/PelSizepas.h"
#include "platform/Fonts.h"
#include "platform/Printing.h"
#include "platform/Prompts.h"
#include "platform/Services.h"
#include "support/TestServices.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrinter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>

using namespace pel::desktop;

namespace {

// Answers the first question Yes, then shows the real message boxes.
class ThenRealPrompts final : public pel::Prompts {
public:
    Answer show(QWidget* parent, const QString& caption, const QString& text, Buttons buttons, Icon icon) override
    {
        if (scripted_-- > 0)
            return Answer::Yes;
        return real_.show(parent, caption, text, buttons, icon);
    }

private:
    int scripted_ = 1;
    pel::QtPrompts real_;
};

} // namespace

class DesktopPaintTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

    // What a modal window looked like once it was up: its name, whether the
    // window manager made it active and left it uncovered, and faults of
    // its controls.
    struct Seen {
        QString name;
        bool active = false;
        bool uncovered = false;
        QStringList faults;
    };

    // Runs `open` (which blocks in a modal window) and looks at the first
    // modal window other than `below` once the window manager shows it;
    // `close` then ends that window.
    Seen whileModal(QWidget* below, const std::function<void()>& open,
                    const std::function<void(QWidget*)>& close)
    {
        Seen seen;
        auto* poll = new QTimer(this);
        int waited = 0;
        connect(poll, &QTimer::timeout, this, [&, poll] {
            QWidget* modal = QApplication::activeModalWidget();
            waited += 50;
            if (!modal || modal == below) {
                if (waited > kWait)
                    poll->stop();
                return;
            }
            // Give the window manager its moment to map and stack it.
            if (!isActive(modal) && waited <= kWait)
                return;
            poll->stop();
            seen.name = modal->objectName().isEmpty() ? QString::fromLatin1(modal->metaObject()->className())
                                                      : modal->objectName();
            seen.active = isActive(modal);
            seen.uncovered = isUncovered(modal);
            // Every button of the window can be clicked (the preview's
            // buttons were covered by the form).
            for (QAbstractButton* button : modal->findChildren<QAbstractButton*>())
                if (button->isVisible() && !isClickable(button))
                    seen.faults << nameOf(button) + QStringLiteral(" covered");
            close(modal);
        });
        poll->start(50);
        open();
        poll->deleteLater();
        return seen;
    }

    void showPaintForm(Qt::WindowState state)
    {
        PelmoraApp::createWindows({});
        Form6->setWindowState(state);
        if (state == Qt::WindowNoState)
            Form6->resize(600, 400);
        QVERIFY(showAndActivate(Form6));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(onX(), "run under run-under-x.sh");
        pel::installFontSubstitutions();
    }
    void init()
    {
        env = std::make_unique<pel::test::TestEnvironment>();
        pel::sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
    }
    void cleanup()
    {
        if (Form1)
            PelmoraApp::destroyWindows();
        env.reset();
    }

    // The preview and the dialogs open above the form, active,
    // with nothing of the form over them, maximised or at 600 x 400.
    void windowsOpenAboveTheForm_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("maximised");
        QTest::newRow("preview, maximised") << "Print1" << "TForm12" << true;
        QTest::newRow("preview, 600x400") << "Print1" << "TForm12" << false;
        QTest::newRow("image size, maximised") << "NewImgAction" << "TForm9" << true;
        QTest::newRow("text settings, maximised") << "ToolButton20" << "TForm8" << true;
        QTest::newRow("figure move, 600x400") << "ToolButton31" << "TForm10" << false;
    }
    void windowsOpenAboveTheForm()
    {
        QFETCH(QString, command);
        QFETCH(QString, window);
        QFETCH(bool, maximised);
        showPaintForm(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
        const Seen seen = whileModal(
            nullptr,
            [&] {
                if (auto* action = Form6->findChild<QAction*>(command))
                    action->trigger();
                else
                    Form6->findChild<QToolButton*>(command)->click();
            },
            [](QWidget* modal) { static_cast<QDialog*>(modal)->done(QDialog::Accepted); });
        QCOMPARE(seen.name, window);
        QVERIFY(seen.active);
        QVERIFY(seen.uncovered);
        QVERIFY2(seen.faults.isEmpty(), qPrintable(seen.faults.join(u'\n')));
    }

    // Ending the program from the maximised form with unsaved text: the main
    // window's save question (a real message box) opens above the form.
    void saveQuestionOpensAboveTheForm()
    {
        PelmoraApp::createWindows({});
        QVERIFY(showAndActivate(Form1));
        pel::test::mainEditor().setText(QStringLiteral("まだ保存していない文"));
        Form6->setWindowState(Qt::WindowMaximized);
        Seen question;
        // The form runs modally as the main window opens it; inside it, the
        // exit command, answered Yes, leads to the main window's save
        // question, shown as a real message box.
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY_WITH_TIMEOUT(Form6->isVisible() && isActive(Form6), kWait);
            pel::services().prompts = std::make_shared<ThenRealPrompts>();
            question = whileModal(Form6, [] { Form6->Pelmora1Click(); }, [](QWidget* box) {
                // Cancel: the program stays, with its text.
                if (auto* message = qobject_cast<QMessageBox*>(box))
                    message->reject();
            });
            pel::services().prompts = env->prompts;
            Form6->close();
        });
        Form1->action(QStringLiteral("PaintAction"))->trigger();
        QCOMPARE(question.name, QStringLiteral("QMessageBox"));
        QVERIFY(question.active);
        QVERIFY(question.uncovered);
        QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("まだ保存していない文"));
    }

    // At 600 x 400 every control of the form is inside it and no tool bar
    // hides buttons behind its overflow arrow; no label or button is cut.
    void everythingVisibleAt600x400()
    {
        showPaintForm(Qt::WindowNoState);
        QTRY_COMPARE_WITH_TIMEOUT(Form6->size(), QSize(600, 400), kWait);
        const QStringList outside = controlsOutside(Form6);
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join(u'\n')));
        // The swatches are 70 x 22 as specified: what their 16-pixel font
        // cuts is the padding of full-width spaces, never the colour's name.
        QStringList clipped = clippedTexts(Form6);
        clipped.removeIf([](const QString& fault) {
            return fault.startsWith(QLatin1String("Label1 ")) || fault.startsWith(QLatin1String("Label2 "));
        });
        for (const char* swatch : {"Label1", "Label2"}) {
            auto* label = Form6->findChild<QLabel*>(QLatin1String(swatch));
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text().trimmed()) <= label->contentsRect().width());
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
        for (const char* name : {"Label1", "Edit1", "Label2", "ToolButton20", "Edit2", "ToolButton21"})
            QVERIFY2(isClickable(Form6->findChild<QWidget*>(QLatin1String(name))), name);
    }

    // The pen-width box stands beside its arrows whatever the form's width;
    // a tool bar dragged onto a row where it does not fit takes a row of its
    // own rather than shrinking to one button and an arrow, and
    // "ツールバーの表示" puts the bars back where they started.
    void toolBarsStayWhole_data()
    {
        QTest::addColumn<bool>("maximised");
        QTest::addColumn<QString>("ontoRowOf");
        QTest::newRow("600x400, onto the tool buttons") << false << "ToolBar2";
        QTest::newRow("maximised, onto the tool buttons") << true << "ToolBar2";
        QTest::newRow("600x400, onto the menu buttons") << false << "ToolBar1";
    }
    void toolBarsStayWhole()
    {
        QFETCH(bool, maximised);
        QFETCH(QString, ontoRowOf);
        showPaintForm(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
        auto* box = Form6->findChild<QWidget*>(QStringLiteral("Edit1"));
        auto* arrows = Form6->findChild<QWidget*>(QStringLiteral("UpDown1"));
        QTRY_VERIFY_WITH_TIMEOUT(isClickable(arrows), kWait);
        QCOMPARE(arrows->mapToGlobal(QPoint(0, 0)).x(), box->mapToGlobal(QPoint(box->width(), 0)).x());

        // Without the docking animation the drop's layout is final at once.
        Form6->findChild<QMainWindow*>(QStringLiteral("ControlBar1"))->setAnimated(false);
        QToolBar* dragged = Form6->toolBar3();
        const QRect started(dragged->mapToGlobal(QPoint(0, 0)), dragged->size());
        auto* row = Form6->findChild<QToolBar*>(ontoRowOf);
        // From the bar's handle to the free end of the other row, in the
        // form's own coordinates wherever the window manager put it.
        const QPoint from = dragged->mapTo(Form6, QPoint(4, dragged->height() / 2));
        const QPoint to = row->mapTo(Form6, QPoint(row->width() - 30, row->height() / 2));
        const auto moveTo = [](QPoint at) {
            return QStringList{QStringLiteral("mousemove"), QStringLiteral("--window"), windowId(Form6),
                               QString::number(at.x()), QString::number(at.y())};
        };
        xdotool(moveTo(from) << QStringLiteral("mousedown") << QStringLiteral("1"));
        for (int step = 1; step <= 10; ++step)
            xdotool(moveTo(from + (to - from) * step / 10));
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        // It moved, and shows every control.
        QTRY_VERIFY_WITH_TIMEOUT(QRect(dragged->mapToGlobal(QPoint(0, 0)), dragged->size()) != started, kWait);
        auto* more = dragged->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
        const auto whole = [dragged, more] { return !more->isVisible() && dragged->width() >= dragged->sizeHint().width(); };
        QTRY_VERIFY_WITH_TIMEOUT(whole(), kWait);
        // Whole once the layouts the drop asked for have run, not only between them.
        for (int pass = 0; pass < 3; ++pass) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
        QVERIFY2(whole(), "squeezed to an arrow");
        for (const char* name : {"Label1", "Edit1", "Label2", "ToolButton20", "Edit2", "ToolButton21"})
            QTRY_VERIFY2_WITH_TIMEOUT(isClickable(Form6->findChild<QWidget*>(QLatin1String(name))), name, kWait);

        Form6->findChild<QAction*>(QStringLiteral("ShowAction"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(QRect(dragged->mapToGlobal(QPoint(0, 0)), dragged->size()), started, kWait);
        QVERIFY(!more->isVisible());
    }
};

QTEST_MAIN(DesktopPaintTest)
#include "tst_desktop_paint.moc"
