// The about box: its layout, closing it, its links, modeless and modal use.
#include "app/Application.h"
#include "main/About.h"
#include "main/Pelmain.h"
#include "platform/EditorPort.h"
#include "platform/Fonts.h"
#include "support/TestServices.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

class AboutTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

    template <typename T = QWidget>
    T* control(const char* name) const { return AboutBox->findChild<T*>(QString::fromLatin1(name)); }

private Q_SLOTS:
    void initTestCase() { pel::installFontSubstitutions(); }
    void init()
    {
        env = std::make_unique<pel::test::TestEnvironment>();
        PelmoraApp::createWindows({});
    }
    void cleanup()
    {
        PelmoraApp::destroyWindows();
        env.reset();
    }

    void box()
    {
        QCOMPARE(AboutBox->windowTitle(), QStringLiteral("バージョン情報"));
        AboutBox->showFromMain();
        QVERIFY(QTest::qWaitForWindowExposed(AboutBox));
        QCOMPARE(AboutBox->size(), QSize(561, 348));
        QCOMPARE(AboutBox->minimumSize(), AboutBox->maximumSize());
        QCOMPARE(AboutBox->palette().color(QPalette::Window), QColor(Qt::black));
        // The picture is drawn, not an empty square.
        const QImage picture = control<QLabel>("ProgramIcon")->pixmap().toImage();
        QVERIFY(!picture.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < picture.height(); y += 4)
            for (int x = 0; x < picture.width(); x += 4)
                colours.insert(picture.pixel(x, y));
        QVERIFY(colours.size() > 20);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("pixels");
        QTest::newRow("Panel1") << "Panel1" << QRect(0, 0, 561, 321) << QString() << QColor() << 0;
        QTest::newRow("ProgramIcon") << "ProgramIcon" << QRect(8, 8, 121, 121) << QString() << QColor() << 0;
        QTest::newRow("ProductName") << "ProductName" << QRect(136, 56, 410, 64) << "Pelmora" << QColor(Qt::red) << 64;
        QTest::newRow("Version") << "Version" << QRect(376, 24, 154, 27) << "Version 2.01" << QColor(Qt::red) << 27;
        QTest::newRow("text line") << "Copyright" << QRect(104, 160, 380, 27) << QString() << QColor(Qt::yellow) << 27;
        QTest::newRow("Comments") << "Comments" << QRect(104, 184, 369, 42)
                                  << QStringLiteral("フリーウェアーソフトです｡自由に出来れば感想をE-メールで送って下さい。")
                                  << QColor(Qt::yellow) << 21;
        QTest::newRow("Label1") << "Label1" << QRect(104, 232, 355, 29) << "support@pelmora.example"
                                << QColor(Qt::cyan) << 29;
        QTest::newRow("Label2") << "Label2" << QRect(104, 272, 435, 27) << "https://pelmora.example/"
                                << QColor(Qt::cyan) << 27;
        QTest::newRow("OKButton") << "OKButton" << QRect(488, 324, 65, 21) << "OK" << QColor(Qt::red) << 16;
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QFETCH(int, pixels);
        AboutBox->showFromMain();
        auto* widget = AboutBox->findChild<QWidget*>(name);
        QVERIFY(widget);
        // A label may grow downwards to fit its font's line height.
        const QRect at(widget->mapTo(AboutBox, QPoint(0, 0)), widget->size());
        QCOMPARE(at.topLeft(), place.topLeft());
        QCOMPARE(at.width(), place.width());
        if (qobject_cast<QLabel*>(widget) && colour.isValid())
            QVERIFY(at.height() >= place.height());
        else
            QCOMPARE(at.height(), place.height());
        if (pixels)
            QCOMPARE(widget->font().pixelSize(), pixels);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (!text.isEmpty())
                QCOMPARE(label->text(), text);
            QVERIFY(!label->text().isEmpty() || name != QLatin1String("Copyright"));
            if (!colour.isValid())
                return;
            QCOMPARE(label->palette().color(QPalette::WindowText), colour);
            // Every caption must be readable in its box: as wide as the box
            // at most, and no more lines than the box has room for.
            const QFontMetrics metrics(label->font());
            if (label->wordWrap()) {
                const QRect needed = metrics.boundingRect(QRect(0, 0, place.width(), 10000), Qt::TextWordWrap,
                                                          label->text());
                QVERIFY2(needed.height() / metrics.lineSpacing() <= place.height() / pixels, qPrintable(name));
            } else {
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= place.width(), qPrintable(name));
                QVERIFY2(metrics.tightBoundingRect(label->text()).height() <= place.height(), qPrintable(name));
            }
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QCOMPARE(button->text(), text);
            QVERIFY(button->isDefault());
            QCOMPARE(button->palette().color(QPalette::ButtonText), colour);
        }
    }

    void closes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Escape") << "Escape";
    }

    void closes()
    {
        QFETCH(QString, how);
        Form1->show();
        Form1->action(QStringLiteral("AboutAction"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(AboutBox));
        if (how == QLatin1String("OK"))
            QTest::mouseClick(control<QPushButton>("OKButton"), Qt::LeftButton);
        else
            QTest::keyClick(AboutBox, how == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
        QVERIFY(!AboutBox->isVisible());
        // Closing only hides it: it can be shown again.
        Form1->action(QStringLiteral("AboutAction"))->trigger();
        QVERIFY(AboutBox->isVisible());
    }

    void shellTargets_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::newRow("e-mail label") << "Label1" << "mailto:support@pelmora.example";
        QTest::newRow("home-page label") << "Label2" << "https://pelmora.example/";
        QTest::newRow("VerUpAction") << "VerUpAction" << "https://pelmora.example/";
        QTest::newRow("EmailAction") << "EmailAction" << "mailto:support@pelmora.example";
        QTest::newRow("help-menu mail entry") << "EmailAction1" << "mailto:support@pelmora.example";
    }

    void shellTargets()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        env->shell->result = false;  // a failed request is not reported
        if (auto* label = AboutBox->findChild<QLabel*>(source)) {
            AboutBox->showFromMain();
            QTest::mouseClick(label, Qt::LeftButton);
            QVERIFY(AboutBox->isVisible());
        } else if (QAction* command = Form1->action(source)) {
            command->trigger();
        } else {
            auto* entry = Form1->findChild<QAction*>(source);
            QVERIFY(entry);
            entry->trigger();
        }
        QCOMPARE(env->shell->opened, QStringList{target});
        QVERIFY(env->prompts->shown.isEmpty());
    }

    void oneModelessBoxFromTheMainWindow()
    {
        Form1->show();
        Form1->action(QStringLiteral("AboutAction"))->trigger();
        Form1->action(QStringLiteral("AboutAction"))->trigger();
        int shown = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<TAboutBox*>(window) && window->isVisible())
                ++shown;
        QCOMPARE(shown, 1);
        QVERIFY(!AboutBox->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(Form1->isEnabled());
    }

    void modalFromToolWindows_data()
    {
        QTest::addColumn<bool>("openBefore");
        QTest::newRow("closed") << false;
        QTest::newRow("already open from the main window") << true;
    }

    void modalFromToolWindows()
    {
        QFETCH(bool, openBefore);
        Form1->show();
        if (openBefore)
            AboutBox->showFromMain();
        QWidget* modal = nullptr;
        QTimer::singleShot(0, this, [&modal] {
            modal = QApplication::activeModalWidget();
            QTest::keyClick(AboutBox, Qt::Key_Escape);
        });
        Form1->editorPort().showAboutModal();
        QCOMPARE(modal, static_cast<QWidget*>(AboutBox));
        QVERIFY(!AboutBox->isVisible());
        // Shown from the main window afterwards it is modeless again.
        AboutBox->showFromMain();
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
