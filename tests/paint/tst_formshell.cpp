// The paint form as a window: what opens above it, what Escape and the
// right mouse button do, what its bars and status bar show at its size.
#include "PaintFormFixture.h"
#include "platform/ModalOwner.h"
#include "platform/Printing.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPrinter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace paintfx;
using pel::Prompts;

class TestFormShell : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PaintForms> forms;
    TForm6* form() { return forms->form6.get(); }
    template <typename T>
    T* find(QObject* in, const char* name)
    {
        T* child = in->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    // Runs `check` once the next modal window is up, then closes that window.
    void whenModalOpens(std::function<void(QWidget*)> check)
    {
        QTimer::singleShot(0, this, [check] {
            QWidget* modal = QApplication::activeModalWidget();
            check(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(QDialog::Accepted);
        });
    }

private Q_SLOTS:
    void init()
    {
        forms = std::make_unique<PaintForms>();
        pel::sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
    }
    void cleanup() { forms.reset(); }

    // The form stays on top: every window it opens must be its child and on
    // top as well, or it opens underneath and the program looks hung.
    void modalWindowsOpenAboveTheForm_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("window");
        QTest::newRow("new picture") << "NewImgAction" << "TForm9";
        QTest::newRow("free size") << "FreeAction" << "TForm9";
        QTest::newRow("print") << "Print1" << "TForm12";
        QTest::newRow("text settings") << "ToolButton20" << "TForm8";
        QTest::newRow("figure move") << "ToolButton31" << "TForm10";
    }
    void modalWindowsOpenAboveTheForm()
    {
        QFETCH(QString, command);
        QFETCH(QString, window);
        form()->show();
        QString opened;
        bool above = false;
        whenModalOpens([&](QWidget* modal) {
            opened = modal ? modal->objectName() : QString();
            above = modal && modal->parentWidget() == form()
                && modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        });
        if (auto* action = form()->findChild<QAction*>(command))
            action->trigger();
        else
            find<QToolButton>(form(), command.toLatin1().constData())->click();
        QCOMPARE(opened, window);
        QVERIFY(above);
    }

    // The main window is hidden while the form is up; its questions (the
    // save question at the program's end) belong to the form instead.
    void questionsOfAHiddenWindowBelongToTheForm()
    {
        QWidget hiddenMain;
        QWidget* owner = nullptr;
        QTimer::singleShot(0, this, [&] {
            owner = pel::modalOwner(&hiddenMain);
            form()->close();
        });
        form()->exec();
        QCOMPARE(owner, form());
        QCOMPARE(pel::modalOwner(form()), form());
    }

    void escapeAsksTheExitQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("no") << int(Prompts::Answer::No) << true;
        QTest::newRow("yes") << int(Prompts::Answer::Yes) << false;
    }
    void escapeAsksTheExitQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, staysOpen);
        form()->show();
        forms->env.prompts->answers << Prompts::Answer(answer);
        QTest::keyClick(find<QLineEdit>(form(), "Edit2"), Qt::Key_Escape);
        QCOMPARE(forms->env.prompts->texts(), QStringList{QStringLiteral("絵画フォームを終了して\n\rPelmoraに戻りますか？")});
        QCOMPARE(form()->isVisible(), staysOpen);
    }

    // No right-click list of bars (it could hide the menu bar for good); a
    // menu button's right-click menu is its own menu.
    void rightClicksNeverHideTheBars_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("menu");
        QTest::newRow("file") << "ToolButton9" << "FileMenu";
        QTest::newRow("edit") << "ToolButton14" << "EditMenu";
        QTest::newRow("show") << "ToolButton30" << "ShowMenu";
        QTest::newRow("tool") << "ToolButton34" << "ToolMenu";
    }
    void rightClicksNeverHideTheBars()
    {
        QFETCH(QString, button);
        QFETCH(QString, menu);
        form()->show();
        QToolBar* bar = form()->toolBar2();
        bool barMenu = false;
        QTimer::singleShot(0, this, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                barMenu = true;
                popup->close();
            }
        });
        QContextMenuEvent onBar(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(bar, &onBar);
        QCoreApplication::processEvents();
        QVERIFY(!barMenu);

        QString shown;
        QTimer::singleShot(0, this, [&] {
            QWidget* popup = QApplication::activePopupWidget();
            shown = popup ? popup->objectName() : QString();
            if (popup)
                popup->close();
        });
        auto* menuButton = find<QToolButton>(form(), button.toLatin1().constData());
        QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(2, 2), menuButton->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(menuButton, &onButton);
        QCOMPARE(shown, menu);

        // Whatever hid them, the show command brings every bar back.
        for (QToolBar* b : {form()->ToolBar1, form()->toolBar2(), form()->toolBar3()})
            b->hide();
        form()->findChild<QAction*>(QStringLiteral("ShowAction"))->trigger();
        for (QToolBar* b : {form()->ToolBar1, form()->toolBar2(), form()->toolBar3()})
            QVERIFY(b->isVisible());
    }

    // The swatch's background shows the choice; the caption is red on black
    // and black on red.
    void swatchesShowTheirColours_data()
    {
        QTest::addColumn<QString>("swatch");
        QTest::addColumn<QColor>("chosen");
        QTest::addColumn<QColor>("caption");
        QTest::newRow("drawing red") << "Label1" << QColor(Qt::red) << QColor(Qt::black);
        QTest::newRow("drawing blue") << "Label1" << QColor(Qt::blue) << QColor(Qt::red);
        QTest::newRow("background green") << "Label2" << QColor(Qt::green) << QColor(Qt::red);
    }
    void swatchesShowTheirColours()
    {
        QFETCH(QString, swatch);
        QFETCH(QColor, chosen);
        QFETCH(QColor, caption);
        form()->resize(600, 400);
        form()->show();
        auto* label = find<QLabel>(form(), swatch.toLatin1().constData());
        auto colours = [label] {
            const QImage shot = label->grab().toImage();
            QSet<QRgb> seen;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    seen << shot.pixel(x, y);
            return std::make_pair(shot.pixel(1, shot.height() / 2), seen);
        };
        auto [background, seen] = colours();
        QCOMPARE(background, QColor(Qt::black).rgb());
        QVERIFY(seen.contains(QColor(Qt::red).rgb()));
        forms->env.dialogs->colorAnswers << chosen;
        QTest::mouseClick(label, Qt::LeftButton);
        std::tie(background, seen) = colours();
        QCOMPARE(background, chosen.rgb());
        QVERIFY(seen.contains(caption.rgb()));
    }

    // At the form's own size and a little wider every control of both tool
    // bars is on screen, none behind an overflow arrow.
    void everyControlIsVisibleAtTheFormsSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("600") << 600;
        QTest::newRow("700") << 700;
    }
    void everyControlIsVisibleAtTheFormsSize()
    {
        QFETCH(int, width);
        form()->resize(width, 400);
        form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
        for (QToolBar* bar : {form()->toolBar2(), form()->toolBar3()}) {
            auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
            QVERIFY2(!more || !more->isVisible(), qPrintable(bar->objectName()));
            for (QWidget* control : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (control == more || control->objectName().startsWith(QLatin1String("qt_")))
                    continue;
                const QRect at(control->mapTo(form(), QPoint(0, 0)), control->size());
                QVERIFY2(control->isVisible() && form()->rect().contains(at),
                         qPrintable(bar->objectName() + u'/' + control->objectName()));
            }
        }
    }

    // Panel 1 holds any position, panel 0 opens with a hint and shows a long
    // path's message with its end.
    void statusBarShowsItsTextsWhole()
    {
        form()->resize(600, 400);
        form()->show();
        QVERIFY(!form()->statusPanel(0).isEmpty());
        auto* panel1 = find<QLabel>(form(), "StatusBar2Panel1");
        form()->Image1MouseMove(Qt::NoButton, QPoint(32767, 32767));
        QCOMPARE(panel1->text(), QStringLiteral("X=32767,Y=32767"));
        QVERIFY(panel1->fontMetrics().horizontalAdvance(panel1->text()) <= panel1->contentsRect().width());

        const QString message = QStringLiteral("/home/user/") + QString(80, u'絵') + QStringLiteral(".bmpが開かれました。");
        form()->showStatus(message);
        auto* panel0 = find<QLabel>(form(), "StatusBar2Panel0");
        QCOMPARE(form()->statusPanel(0), message);
        QVERIFY(panel0->text().endsWith(QStringLiteral("が開かれました。")));
        QVERIFY(panel0->fontMetrics().horizontalAdvance(panel0->text()) <= panel0->contentsRect().width());
    }

    // Every value a dialog's box may hold fits in it; the long explanation
    // and the note of the move dialog fit in their labels.
    void dialogTextsFit()
    {
        for (QDialog* dialog : {static_cast<QDialog*>(forms->form8.get()), static_cast<QDialog*>(forms->form9.get()),
                                static_cast<QDialog*>(forms->form10.get())}) {
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
                const int room = edit->width() - 8;
                for (const char* text : {"-100", "-200", "800", "600", "-10"})
                    QVERIFY2(edit->fontMetrics().horizontalAdvance(QLatin1String(text)) <= room,
                             qPrintable(dialog->objectName() + u'/' + edit->objectName()));
            }
        }
        auto* label3 = find<QLabel>(forms->form10.get(), "Label3");
        QVERIFY(label3->heightForWidth(label3->width()) <= label3->height());
        auto* label6 = find<QLabel>(forms->form10.get(), "Label6");
        QVERIFY(label6->sizeHint().width() <= label6->width());
        QVERIFY(forms->form10->rect().contains(label6->geometry()));
    }
};

QTEST_MAIN(TestFormShell)
#include "tst_formshell.moc"
