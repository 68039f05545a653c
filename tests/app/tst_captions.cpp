// Window and message-box captions as the window system shows them: the
// toolkit must not add the program's name to any of them.
#include "app/Application.h"
#include "main/About.h"
#include "main/Pelmain.h"
#include "paint/ImageSize.h"
#include "paint/PelFont.h"
#include "paint/PelPaint.h"
#include "paint/PelPreview.h"
#include "paint/PelSizepas.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "platform/Prompts.h"
#include "support/TestServices.h"
#include "tools/PelPlayer.h"
#include "tools/PelTime.h"
#include "tools/PelTool.h"
#include "tools/Pelnew.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

// The title the X server holds for the window, as a window manager reads it.
QString windowSystemTitle(QWidget* window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(10000))
        return QStringLiteral("<xprop failed>");
    // _NET_WM_NAME(UTF8_STRING) = "PelTime"
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype quote = line.indexOf(u'"');
    return quote < 0 ? line : line.mid(quote + 1, line.size() - quote - 2);
}

} // namespace

class TestCaptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void windows_data();
    void windows();
    void messageBoxes_data();
    void messageBoxes();

private:
    std::unique_ptr<pel::test::TestEnvironment> env_;
};

void TestCaptions::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X display (run under xvfb-run)");
    if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        QSKIP("xprop is not installed");
    PelmoraApp::configureApplication();
    env_ = std::make_unique<pel::test::TestEnvironment>();
    PelmoraApp::createWindows({});
}

void TestCaptions::cleanupTestCase()
{
    if (Form1)
        PelmoraApp::destroyWindows();
}

void TestCaptions::windows_data()
{
    QTest::addColumn<QWidget*>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("TForm1") << static_cast<QWidget*>(Form1) << "Pelmora";
    QTest::newRow("TAboutBox") << static_cast<QWidget*>(AboutBox) << "バージョン情報";
    QTest::newRow("TForm2") << static_cast<QWidget*>(Form2) << "Calendar";
    QTest::newRow("TForm3") << static_cast<QWidget*>(Form3) << "ListBox";
    QTest::newRow("TForm4") << static_cast<QWidget*>(Form4) << "ColorControl";
    QTest::newRow("TForm5") << static_cast<QWidget*>(Form5) << "JavaJava";
    QTest::newRow("TForm7") << static_cast<QWidget*>(Form7) << "PelMediaPlayer";
    QTest::newRow("TForm6") << static_cast<QWidget*>(Form6) << "PelPaint";
    QTest::newRow("TForm9") << static_cast<QWidget*>(Form9) << "画像のサイズ";
    QTest::newRow("TForm8") << static_cast<QWidget*>(Form8) << "Fontの位置";
    QTest::newRow("TForm10") << static_cast<QWidget*>(Form10) << "画像の移動";
    QTest::newRow("TForm11") << static_cast<QWidget*>(Form11) << "PelTime";
    QTest::newRow("TForm12") << static_cast<QWidget*>(Form12) << "Preview";
}

void TestCaptions::windows()
{
    QFETCH(QWidget*, window);
    QFETCH(QString, caption);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), caption);
    QCOMPARE(windowSystemTitle(window), caption);
    window->hide();
}

void TestCaptions::messageBoxes_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("confirmation") << "確認";
    QTest::newRow("error") << "エラー";
    QTest::newRow("plain message") << "Pelmora";
}

void TestCaptions::messageBoxes()
{
    QFETCH(QString, caption);
    QString seen, seenByWindowSystem;
    QTimer::singleShot(0, this, [&] {
        // The box is up and modal: read it, then answer it.
        QTRY_VERIFY(QApplication::activeModalWidget() && QApplication::activeModalWidget()->isVisible());
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(QTest::qWaitForWindowExposed(box));
        seen = box->windowTitle();
        seenByWindowSystem = windowSystemTitle(box);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    pel::QtPrompts prompts;
    prompts.show(Form1, caption, QStringLiteral("テキスト"), pel::Prompts::Buttons::Ok, pel::Prompts::Icon::Information);
    QCOMPARE(seen, caption);
    QCOMPARE(seenByWindowSystem, caption);
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
