// The paint form driven the way a user drives it: mouse on the canvas,
// tool buttons and menu entries by name, the swatches, the pen-width box.
#include "PaintFixtures.h"
#include "PaintFormFixture.h"
#include "paint/ImageControl.h"
#include "platform/UpDown.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

using namespace paintfx;
using pel::Prompts;

class TestCanvasForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PaintForms> forms;
    TForm6* form() { return forms->form6.get(); }
    template <typename T>
    T* find(const char* name)
    {
        T* child = form()->findChild<T*>(QString::fromLatin1(name));
        if (!child)
            qFatal("no control %s", name);
        return child;
    }
    void dragOnCanvas(QPoint from, const QList<QPoint>& moves, QPoint to)
    {
        form()->Image1MouseDown(Qt::LeftButton, from);
        for (const QPoint& p : moves)
            form()->Image1MouseMove(Qt::LeftButton, p);
        form()->Image1MouseUp(Qt::LeftButton, to);
    }

private Q_SLOTS:
    void init() { forms = std::make_unique<PaintForms>(); }
    void cleanup() { forms.reset(); }

    void startsReadyToDrawFreeHand()
    {
        QCOMPARE(form()->windowTitle(), QStringLiteral("PelPaint"));
        QCOMPARE(int(form()->toolDrag().ToolCode), 7);
        QVERIFY(find<QToolButton>("ToolButton1")->isChecked());
        auto* image1 = find<pel::ImageControl>("Image1");
        QCOMPARE(image1->size(), QSize(128, 128));
        QCOMPARE(form()->bitmap().pixel(64, 64), kWhite);
        QCOMPARE(form()->SnapshotDestRect, pel::EdgeRect{});
        QCOMPARE(form()->SnapshotSourceRect, pel::EdgeRect{});
        QVERIFY(!find<pel::ImageControl>("Image2")->isVisible());
        QCOMPARE(find<QLineEdit>("Edit1")->text(), QStringLiteral("1"));
        QCOMPARE(find<QLabel>("Label1")->text(), QStringLiteral("　絵画色　"));
        QCOMPARE(find<QLabel>("Label2")->text(), QStringLiteral("　背景色　"));
    }

    void everyToolButtonHasAnIcon()
    {
        QStringList names{QStringLiteral("ToolButton11"), QStringLiteral("ToolButton7"),
                          QStringLiteral("ToolButton31"), QStringLiteral("ToolButton20"),
                          QStringLiteral("ToolButton21")};
        for (const pel::ToolChoice& choice : pel::toolButtonChoices())
            names << QString::fromLatin1(choice.name);
        QCOMPARE(names.size(), 24);
        for (const QString& name : names) {
            auto* button = form()->findChild<QToolButton*>(name);
            QVERIFY2(button && !button->icon().isNull(), qPrintable(name));
        }
    }

    void realMouseEventsReachTheTools()
    {
        auto* image1 = find<pel::ImageControl>("Image1");
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent event(type, QPointF(at), image1->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(image1, &event);
        };
        send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, {30, 10}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(form()->statusPanel(1), QStringLiteral("X=30,Y=10"));
        send(QEvent::MouseButtonRelease, {30, 10}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(form()->bitmap().pixel(20, 10), kBlack);
    }

    void rectangleDragLeavesOneRectangle()
    {
        find<QToolButton>("ToolButton3")->click();
        QCOMPARE(int(form()->toolDrag().ToolCode), 1);
        const QImage white = form()->bitmap();
        dragOnCanvas({10, 10}, {{25, 30}, {60, 20}, {50, 40}}, {50, 40});
        const QList<QPoint> changed = changedPixels(white, form()->bitmap());
        QCOMPARE(boundsOf(changed), QRect(QPoint(10, 10), QPoint(50, 40)));
        QCOMPARE(changed.size(), 2 * 41 + 2 * 29);
        QCOMPARE(form()->toolDrag().StartPoint, QPoint(10, 10));
        QCOMPARE(form()->toolDrag().TrackPoint, QPoint(50, 40));
    }

    void onlyTheLeftButtonDraws()
    {
        find<QToolButton>("ToolButton2")->click();
        const QImage white = form()->bitmap();
        form()->Image1MouseDown(Qt::RightButton, {5, 5});
        form()->Image1MouseMove(Qt::RightButton, {40, 40});
        QCOMPARE(form()->statusPanel(1), QStringLiteral("X=40,Y=40"));
        form()->Image1MouseUp(Qt::RightButton, {40, 40});
        QCOMPARE(form()->bitmap(), white);
        QCOMPARE(form()->toolDrag().StartPoint, QPoint(0, 0));
        form()->Image1MouseMove(Qt::NoButton, {7, 9});
        QCOMPARE(form()->statusPanel(1), QStringLiteral("X=7,Y=9"));
        QCOMPARE(form()->bitmap(), white);
    }

    void groupedButtonsReleaseWithoutChangingTheTool()
    {
        auto* rect = find<QToolButton>("ToolButton3");
        rect->click();
        QVERIFY(rect->isChecked());
        QVERIFY(!find<QToolButton>("ToolButton1")->isChecked());
        rect->click();
        QVERIFY(!rect->isChecked());
        QCOMPARE(int(form()->toolDrag().ToolCode), 1);
        // A menu selection moves the tool but not the buttons.
        find<QToolButton>("ToolButton4")->click();
        form()->penStyleMenu()->findChild<QAction*>(QStringLiteral("N20"))->trigger();
        QCOMPARE(int(form()->toolDrag().ToolCode), 20);
        QCOMPARE(form()->canvas().pen().style, pel::PenStyle::Dash);
        QVERIFY(find<QToolButton>("ToolButton4")->isChecked());
    }

    void undoRestoresThePressState()
    {
        // Nothing to undo yet.
        find<QToolButton>("ToolButton11")->click();
        QCOMPARE(form()->bitmap().pixel(0, 0), kWhite);

        dragOnCanvas({5, 5}, {{60, 60}}, {60, 60});
        const QImage first = form()->bitmap();
        dragOnCanvas({5, 100}, {{100, 100}}, {100, 100});
        QVERIFY(form()->bitmap() != first);
        QCOMPARE(form()->SnapshotSourceRect, (pel::EdgeRect{0, 0, 128, 128}));
        find<QToolButton>("ToolButton11")->click();
        QCOMPARE(form()->bitmap(), first);
        find<QToolButton>("ToolButton11")->click();
        QCOMPARE(form()->bitmap(), first);
    }

    void clearAllAsksAndLeavesAClearPen()
    {
        dragOnCanvas({5, 5}, {{60, 60}}, {60, 60});
        const QImage drawn = form()->bitmap();
        forms->env.prompts->answers.enqueue(Prompts::Answer::No);
        find<QToolButton>("ToolButton7")->click();
        QCOMPARE(forms->env.prompts->texts(), QStringList{QStringLiteral("すべてクリアしてもよろしいですか？")});
        QCOMPARE(forms->env.prompts->shown.first().buttons, Prompts::Buttons::YesNo);
        QCOMPARE(form()->bitmap(), drawn);

        // Red wide pen chosen before: after the clear the pen is black, 1, clear.
        forms->env.dialogs->colorAnswers.enqueue(QColor(Qt::red));
        form()->Label1Click();
        find<QLineEdit>("Edit1")->setText(QStringLiteral("5"));
        QVERIFY(form()->Edit1KeyPress(Qt::Key_Return));
        forms->env.prompts->answers.enqueue(Prompts::Answer::Yes);
        find<QToolButton>("ToolButton7")->click();
        QCOMPARE(form()->bitmap(), pel::PaintCanvas::whiteBitmap(128, 128));
        QCOMPARE(form()->canvas().pen().style, pel::PenStyle::Clear);

        // The first free-hand segment draws nothing; the next is black and thin.
        form()->Image1MouseDown(Qt::LeftButton, {10, 10});
        form()->Image1MouseMove(Qt::LeftButton, {40, 10});
        QCOMPARE(form()->bitmap(), pel::PaintCanvas::whiteBitmap(128, 128));
        form()->Image1MouseMove(Qt::LeftButton, {40, 40});
        form()->Image1MouseUp(Qt::LeftButton, {40, 40});
        QCOMPARE(form()->bitmap().pixel(40, 25), kBlack);
        QCOMPARE(form()->bitmap().pixel(41, 25), kWhite);
        QCOMPARE(find<QLineEdit>("Edit1")->text(), QStringLiteral("5"));  // the box is not reset
    }

    void penWidthEntry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("consumed");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("error");
        QTest::newRow("in range") << "7" << true << 7 << "7" << "";
        QTest::newRow("above") << "25" << true << 20 << "20" << "";
        QTest::newRow("below") << "-3" << true << 1 << "1" << "";
        QTest::newRow("letters") << "abc" << false << 1 << "abc" << "'abc' は整数ではありません";
        QTest::newRow("empty") << "" << false << 1 << "" << "'' は整数ではありません";
        QTest::newRow("beyond 16 bits") << "40000" << false << 1 << "40000" << "範囲チェックエラー";
        QTest::newRow("beyond 32 bits") << "99999999999" << false << 1 << "99999999999"
                                        << "'99999999999' は整数ではありません";
    }
    void penWidthEntry()
    {
        QFETCH(QString, text);
        QFETCH(bool, consumed);
        QFETCH(int, width);
        QFETCH(QString, shown);
        QFETCH(QString, error);
        auto* edit = find<QLineEdit>("Edit1");
        edit->setText(text);
        QCOMPARE(form()->Edit1KeyPress(Qt::Key_Return), consumed);
        QCOMPARE(form()->canvas().pen().width, width);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(find<pel::UpDown>("UpDown1")->position(), width);
        QCOMPARE(forms->env.prompts->texts(), error.isEmpty() ? QStringList{} : QStringList{error});
        // Other keys pass and change nothing.
        QVERIFY(!form()->Edit1KeyPress(Qt::Key_5));
    }

    void upDownSetsThePenWidth()
    {
        auto* upDown = find<pel::UpDown>("UpDown1");
        upDown->step(+1);
        upDown->step(+1);
        QCOMPARE(form()->canvas().pen().width, 3);
        QCOMPARE(find<QLineEdit>("Edit1")->text(), QStringLiteral("3"));
        for (int i = 0; i < 30; ++i)
            upDown->step(+1);
        QCOMPARE(form()->canvas().pen().width, 20);
    }

    void swatchCaptionColour_data()
    {
        QTest::addColumn<QList<QColor>>("choices");
        QTest::addColumn<QColor>("caption");
        QTest::newRow("red") << QList<QColor>{Qt::red} << QColor(Qt::black);
        QTest::newRow("black") << QList<QColor>{Qt::black} << QColor(Qt::red);
        QTest::newRow("red then blue keeps black") << QList<QColor>{Qt::red, Qt::blue} << QColor(Qt::black);
        QTest::newRow("blue keeps red") << QList<QColor>{Qt::blue} << QColor(Qt::red);
    }
    void swatchCaptionColour()
    {
        QFETCH(QList<QColor>, choices);
        QFETCH(QColor, caption);
        for (const QColor& c : choices) {
            forms->env.dialogs->colorAnswers.enqueue(c);
            form()->Label1Click();
            forms->env.dialogs->colorAnswers.enqueue(c);
            form()->Label2Click();
        }
        for (const char* name : {"Label1", "Label2"}) {
            auto* label = find<QLabel>(name);
            QCOMPARE(label->palette().color(QPalette::Window), choices.last());
            QCOMPARE(label->palette().color(QPalette::WindowText), caption);
        }
        QCOMPARE(form()->canvas().pen().color, choices.last());
        QCOMPARE(form()->canvas().brush().color, choices.last());
        QCOMPARE(form()->drawingColor(), choices.last());
    }

    void swatchOpensTheColourDialogOnAClick_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("pen") << QByteArray("Label1");
        QTest::newRow("background") << QByteArray("Label2");
    }
    void swatchOpensTheColourDialogOnAClick()
    {
        QFETCH(QByteArray, name);
        auto* swatch = find<QLabel>(name.constData());
        forms->env.dialogs->colorAnswers.enqueue(QColor(Qt::green));
        QTest::mouseRelease(swatch, Qt::LeftButton);  // a release alone is no click
        QCOMPARE(forms->env.dialogs->colorAnswers.size(), 1);
        QTest::mouseClick(swatch, Qt::LeftButton);
        QVERIFY(forms->env.dialogs->colorAnswers.isEmpty());
        QCOMPARE(swatch->palette().color(QPalette::Window), QColor(Qt::green));
    }

    void cancelledColourKeepsEverything()
    {
        form()->Label1Click();  // no answer queued: cancelled
        QCOMPARE(form()->canvas().pen().color, QColor(Qt::black));
        QCOMPARE(find<QLabel>("Label1")->palette().color(QPalette::WindowText), QColor(Qt::red));
    }

    void fillSelectionTakesThePenColour()
    {
        forms->env.dialogs->colorAnswers.enqueue(QColor(Qt::green));
        form()->Label1Click();
        forms->env.dialogs->colorAnswers.enqueue(QColor(Qt::blue));
        form()->Label2Click();
        form()->replaceBitmap(pel::PaintCanvas::whiteBitmap(64, 64));
        QCOMPARE(form()->canvas().pen().color, QColor(Qt::black));
        find<QToolButton>("ToolButton6")->click();
        QCOMPARE(form()->drawingColor(), QColor(Qt::black));
        QCOMPARE(form()->canvas().brush().color, QColor(Qt::blue));
        QCOMPARE(find<QLabel>("Label1")->palette().color(QPalette::Window), QColor(Qt::green));
        form()->Image1MouseDown(Qt::LeftButton, {3, 3});
        form()->Image1MouseUp(Qt::LeftButton, {3, 3});
        QCOMPARE(form()->bitmap().pixel(60, 60), kBlue);
    }

    void colouredFigureUsesTheBackgroundColour()
    {
        forms->env.dialogs->colorAnswers.enqueue(QColor(Qt::blue));
        form()->Label2Click();
        form()->canvas().brush().color = Qt::white;
        find<QToolButton>("ToolButton27")->click();
        QCOMPARE(int(form()->toolDrag().ToolCode), 15);
        QCOMPARE(form()->canvas().brush().color, QColor(Qt::blue));
        forms->form10->UpDown1->setPosition(5);
        form()->Image1MouseDown(Qt::LeftButton, {120, 120});
        form()->Image1MouseUp(Qt::LeftButton, {120, 120});
        QCOMPARE(form()->bitmap().pixel(65, 50), kBlue);  // the star moved 5 to the right
        QCOMPARE(form()->bitmap().pixel(65, 15), kBlack);
    }

    void textDrawing()
    {
        // Nothing to write: no pixel changes, but the snapshot is taken.
        const QImage white = form()->bitmap();
        form()->ToolButton21Click();
        QCOMPARE(form()->bitmap(), white);
        QCOMPARE(form()->SnapshotDestRect, (pel::EdgeRect{0, 0, 128, 128}));

        forms->env.dialogs->colorAnswers.enqueue(QColor(Qt::red));
        form()->Label1Click();
        forms->editor.selection = QStringLiteral("WW");
        find<QLineEdit>("Edit2")->setText(QStringLiteral("II"));
        forms->form8->UpDown1->setPosition(30);
        forms->form8->UpDown2->setPosition(40);
        form()->ToolButton21Click();
        const QList<QPoint> changed = changedPixels(white, form()->bitmap());
        QVERIFY(!changed.isEmpty());
        QVERIFY(boundsOf(changed).left() >= 30);
        QVERIFY(boundsOf(changed).top() >= 40);
        QCOMPARE(form()->canvas().brush().style, pel::BrushStyle::Clear);
        // Undo takes the text away again.
        form()->ToolButton11Click();
        QCOMPARE(form()->bitmap(), white);

        // Far outside the picture: nothing visible.
        forms->form8->UpDown1->setPosition(800);
        forms->form8->UpDown2->setPosition(600);
        form()->ToolButton21Click();
        QCOMPARE(form()->bitmap(), white);
    }

    void showOnlyPictureRefusesEveryChange()
    {
        QImage photo = filled(40, 30, kGrey);
        form()->replaceShowOnly(photo);
        const QString message = QStringLiteral("ビットマップを持っている時のみイメージの変更が可能です");
        dragOnCanvas({5, 5}, {{10, 10}, {20, 20}}, {20, 20});
        QCOMPARE(forms->env.prompts->texts(), QStringList{message});  // once for the whole drag
        form()->ToolButton11Click();
        form()->ToolButton21Click();
        find<QToolButton>("ToolButton6")->click();
        form()->Label1Click();
        find<QLineEdit>("Edit1")->setText(QStringLiteral("4"));
        form()->Edit1KeyPress(Qt::Key_Return);
        QCOMPARE(forms->env.prompts->texts().size(), 6);
        for (const QString& text : forms->env.prompts->texts())
            QCOMPARE(text, message);
        QCOMPARE(form()->bitmap(), photo);
        QVERIFY(forms->env.dialogs->colorRequests.isEmpty());
        // Clearing all puts a bitmap in place again.
        forms->env.prompts->answers.enqueue(Prompts::Answer::Yes);
        form()->ToolButton7Click();
        QVERIFY(form()->canvas().isBitmap());
    }

    void dropTakesAnotherImageControlsPicture()
    {
        pel::ImageControl other;
        other.canvas().replace(filled(20, 10, kRed));
        QVERIFY(form()->Image1DragOver(&other));
        QVERIFY(!form()->Image1DragOver(form()->image1()));
        QLineEdit notAnImage;
        QVERIFY(!form()->Image1DragOver(&notAnImage));
        form()->Image1DragDrop(&notAnImage);
        QCOMPARE(form()->bitmap().size(), QSize(128, 128));

        form()->canvas().pen().width = 9;
        form()->Image1DragDrop(&other);
        QCOMPARE(form()->bitmap().size(), QSize(20, 10));
        QCOMPARE(form()->bitmap().pixel(3, 3), kRed);
        QCOMPARE(form()->canvas().pen().width, 1);
        QCOMPARE(form()->image1()->size(), QSize(20, 10));
        QVERIFY(!other.canvas().hasPicture());
    }

    void fillingDisplaySizesNewPicturesToTheArea()
    {
        form()->resize(600, 400);
        form()->show();
        auto* image1 = form()->image1();
        image1->setStretch(true);
        image1->setFillsArea(true);
        const QSize area = form()->scrollBox1()->viewport()->size();
        QCOMPARE(image1->size(), area);
        form()->Image1MouseDown(Qt::LeftButton, {1, 1});
        QCOMPARE(form()->SnapshotSourceRect, (pel::EdgeRect{0, 0, area.width(), area.height()}));
        form()->Image1MouseUp(Qt::LeftButton, {1, 1});
        forms->env.prompts->answers.enqueue(Prompts::Answer::Yes);
        form()->ToolButton7Click();
        QCOMPARE(form()->bitmap().size(), area);
        form()->hide();
    }
};

QTEST_MAIN(TestCanvasForm)
#include "tst_canvas_form.moc"
