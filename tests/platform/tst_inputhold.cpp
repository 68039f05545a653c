// While a large file loads, input that could run a command waits or is
// dropped; reading (scrolling) and closing go on.
#include "platform/InputHold.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <optional>

class TestInputHold : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void heldInput_data();
    void heldInput();
};

void TestInputHold::heldInput_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("atOnce");   // reaches its control while held
    QTest::addColumn<bool>("later");    // reaches it when the hold ends
    QTest::newRow("click on a button") << "click" << false << false;
    QTest::newRow("wheel over the text") << "wheel" << true << true;
    QTest::newRow("Ctrl+wheel (font size)") << "ctrl wheel" << false << false;
    QTest::newRow("key typed") << "key" << false << true;
    QTest::newRow("shortcut: runs once the text is whole") << "shortcut" << false << true;
}

void TestInputHold::heldInput()
{
    QFETCH(QString, input);
    QFETCH(bool, atOnce);
    QFETCH(bool, later);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new QPushButton(QStringLiteral("保存"), &window);
    auto* text = new QPlainTextEdit(&window);
    auto* field = new QLineEdit(&window);
    layout->addWidget(button);
    layout->addWidget(text);
    layout->addWidget(field);
    text->setPlainText(QStringLiteral("行\n").repeated(500));
    bool shortcutRan = false;
    auto* save = new QAction(&window);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    window.addAction(save);
    connect(save, &QAction::triggered, this, [&] { shortcutRan = true; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    const auto reached = [&] {
        if (input == u"click")
            return !clicked.isEmpty();
        if (input.endsWith(u"wheel"))
            return text->verticalScrollBar()->value() > 0;
        if (input == u"key")
            return field->text() == u"x";
        return shortcutRan;
    };
    std::optional<pel::InputHold> hold(std::in_place, text);
    if (input == u"click") {
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (input.endsWith(u"wheel")) {
        const QPointF at = text->viewport()->rect().center();
        const Qt::KeyboardModifiers modifiers = input == u"wheel" ? Qt::NoModifier : Qt::ControlModifier;
        QWheelEvent wheel(at, text->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(text->viewport(), &wheel);
    } else if (input == u"key") {
        QTest::keyClick(field, Qt::Key_X);
    } else {
        QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    }
    QCOMPARE(reached(), atOnce);
    hold.reset();
    QCoreApplication::processEvents();
    QCOMPARE(reached(), later);
}

QTEST_MAIN(TestInputHold)
#include "tst_inputhold.moc"
