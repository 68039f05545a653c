// The main window on a real desktop: input to the focused control, what is
// visible at the window's size.
#include "DesktopTest.h"
#include "app/Application.h"
#include "main/Pelmain.h"
#include "phrases/PhraseList.h"
#include "platform/Fonts.h"
#include "support/TestServices.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolBar>
#include <memory>

using namespace pel::desktop;

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

    void start()
    {
        PelmoraApp::createWindows({});
        QVERIFY(showAndActivate(Form1));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(onX(), "run under run-under-x.sh");
        pel::installFontSubstitutions();
    }
    void init() { env = std::make_unique<pel::test::TestEnvironment>(); }
    void cleanup()
    {
        if (Form1)
            PelmoraApp::destroyWindows();
        env.reset();
    }

    void comboEnterReplacesDocument()
    {
        start();
        Form1->action(QStringLiteral("NewTextBox1"))->trigger();
        auto* combo = Form1->ToolBar3->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        QVERIFY(combo);
        Form1->RichEdit1->setPlainText(QStringLiteral("old text"));
        const int entries = Form1->phraseBarList().texts().size();

        click(combo->lineEdit());
        QTRY_VERIFY_WITH_TIMEOUT(combo->hasFocus(), kWait);
        combo->lineEdit()->selectAll();
        typeToFocus(QStringLiteral("T"));
        keyToFocus(Qt::Key_Return);
        QCOMPARE(Form1->RichEdit1->toPlainText(), QStringLiteral("T"));
        QCOMPARE(Form1->phraseBarList().texts().size(), entries + 1);
        QCOMPARE(Form1->phraseBarList().texts().last(), QStringLiteral("T"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
