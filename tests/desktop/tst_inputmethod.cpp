// Japanese typed into the main editor through a real input method (ibus with
// the mozc engine, started by with-input-method.sh): romaji composes kana,
// Space converts, Return commits. What the user sees (the composition's
// colours, on the screen) and what the document holds afterwards.
#include "support/EditorDriver.h"
#include "DesktopTest.h"
#include "app/Application.h"
#include "main/Pelmain.h"
#include "platform/Composition.h"
#include "platform/Fonts.h"
#include "support/TestServices.h"

#include <QInputMethodEvent>
#include <QScreen>
#include <QTextCharFormat>
#include <memory>

using namespace pel::desktop;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kImeWait = 60000;   // the input method's server starts with the first key

// The event's attributes; with `kind`, without positions, so that each
// kind of event is told once however long the composition.
QString describe(const QInputMethodEvent& event, bool kind = false)
{
    QStringList parts;
    if (!kind)
        parts << QStringLiteral("preedit [%1] commit [%2]").arg(event.preeditString(), event.commitString());
    for (const QInputMethodEvent::Attribute& a : event.attributes()) {
        QString part = QStringLiteral("type %1").arg(int(a.type));
        if (!kind)
            part += QStringLiteral(" %1+%2").arg(a.start).arg(a.length);
        if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat f = qvariant_cast<QTextFormat>(a.value).toCharFormat();
            part += QStringLiteral(" underline %1").arg(int(f.underlineStyle()));
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                part += QStringLiteral(" text ") + f.foreground().color().name();
            if (f.hasProperty(QTextFormat::BackgroundBrush))
                part += QStringLiteral(" background ") + f.background().color().name();
        }
        if (!parts.contains(part))
            parts << part;
    }
    return parts.join(QStringLiteral("; "));
}

// The composition as the input method last sent it to any control; each
// new kind of event is logged once, as the input method sent it.
struct CompositionWatch : QObject {
    QString preedit;
    QStringList seen;
    CompositionWatch() { qApp->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::InputMethod) {
            const auto* im = static_cast<QInputMethodEvent*>(event);
            preedit = im->preeditString();
            const QString kind = describe(*im, true);
            if (!seen.contains(kind)) {
                seen << kind;
                qInfo("input method: %s", qPrintable(describe(*im)));
            }
        }
        return false;
    }
};

// The editor's area as the X server shows it.
QImage onScreen(const QWidget* widget)
{
    const QPoint at = widget->mapToGlobal(QPoint(0, 0));
    return widget->screen()->grabWindow(0, at.x(), at.y(), widget->width(), widget->height()).toImage()
        .convertToFormat(QImage::Format_RGB32);
}

int count(const QImage& image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

// The longest unbroken row of pixels of one colour: an underline.
int longestRun(const QImage& image, QColor colour)
{
    int longest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0, run = 0; x < image.width(); ++x) {
            run = image.pixelColor(x, y) == colour ? run + 1 : 0;
            longest = qMax(longest, run);
        }
    return longest;
}

void type(const QString& keys)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), keys});
}

} // namespace

class InputMethodTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(onX(), "run under run-under-x.sh");
        QVERIFY2(qgetenv("QT_IM_MODULE") == "ibus", "run under with-input-method.sh");
        pel::installFontSubstitutions();
    }
    void init() { env = std::make_unique<pel::test::TestEnvironment>(); }
    void cleanup()
    {
        if (Form1)
            PelmoraApp::destroyWindows();
        env.reset();
    }

    void typeConvertCommit()
    {
        PelmoraApp::createWindows({});
        QVERIFY(showAndActivate(Form1));
        const pel::test::EditorDriver editor = pel::test::mainEditor();
        editor.view().setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(editor.view().hasFocus(), kWait);
        CompositionWatch watch;

        // The engine composes kana before anything else is typed.
        type(QStringLiteral("a"));
        QTRY_VERIFY_WITH_TIMEOUT(watch.preedit == u"あ" || !editor.text().isEmpty(), kImeWait);
        QVERIFY2(editor.text().isEmpty(), qPrintable(u"the input method let the key through: "_s + editor.text()));
        xKey(QStringLiteral("BackSpace"));
        QTRY_VERIFY_WITH_TIMEOUT(watch.preedit.isEmpty(), kImeWait);

        // Typed, not converted: blue on white, underlined in blue.
        const QFontMetrics metrics(editor.view().font());
        type(QStringLiteral("nihongo"));
        QTRY_COMPARE_WITH_TIMEOUT(watch.preedit, u"にほんご"_s, kImeWait);
        const int width = metrics.horizontalAdvance(u"にほんご"_s);
        QTRY_VERIFY_WITH_TIMEOUT(longestRun(onScreen(editor.view().viewport()), Qt::blue) >= width * 8 / 10, kWait);
        QCOMPARE(editor.text(), QString());

        // Converted: the clause being converted in cyan on blue.
        xKey(QStringLiteral("space"));
        QTRY_COMPARE_WITH_TIMEOUT(watch.preedit, u"日本語"_s, kImeWait);
        const int area = metrics.horizontalAdvance(u"日本語"_s) * metrics.height();
        QTRY_VERIFY_WITH_TIMEOUT(count(onScreen(editor.view().viewport()), Qt::blue) >= area / 3, kWait);
        const QImage converted = onScreen(editor.view().viewport());
        QVERIFY2(count(converted, Qt::cyan) > 0, "no cyan text on the clause being converted");

        // Committed: the word alone, no line break from the committing
        // Return. A composition begun after it shows that every key before
        // it has arrived.
        xKey(QStringLiteral("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(editor.text(), u"日本語"_s, kImeWait);
        type(QStringLiteral("a"));
        QTRY_COMPARE_WITH_TIMEOUT(watch.preedit, u"あ"_s, kImeWait);
        QCOMPARE(editor.text(), u"日本語"_s);
        xKey(QStringLiteral("BackSpace"));
        QTRY_VERIFY_WITH_TIMEOUT(watch.preedit.isEmpty(), kImeWait);

        // One undo step takes the whole conversion back.
        xKey(QStringLiteral("ctrl+z"));
        QTRY_COMPARE_WITH_TIMEOUT(editor.text(), QString(), kImeWait);
        QVERIFY(!editor.undoable());

        // A sentence converts in clauses: the one being converted in blue,
        // the converted ones beside it on cyan. Solid rows of each colour
        // longer than a character are the two backgrounds.
        type(QStringLiteral("kyouhaiitenkidesune"));
        QTRY_COMPARE_WITH_TIMEOUT(watch.preedit, u"きょうはいいてんきですね"_s, kImeWait);
        xKey(QStringLiteral("space"));
        QTRY_VERIFY_WITH_TIMEOUT(watch.preedit.contains(u"天気"_s), kImeWait);
        const int character = metrics.horizontalAdvance(u"天"_s);
        QTRY_VERIFY_WITH_TIMEOUT(longestRun(onScreen(editor.view().viewport()), Qt::cyan) > character * 3 / 2
                                     && longestRun(onScreen(editor.view().viewport()), Qt::blue) > character * 3 / 2,
                                 kWait);
        xKey(QStringLiteral("Escape"));
        xKey(QStringLiteral("Escape"));
        QTRY_VERIFY_WITH_TIMEOUT(watch.preedit.isEmpty(), kImeWait);
        QCOMPARE(editor.text(), QString());
    }
};

QTEST_MAIN(InputMethodTest)
#include "tst_inputmethod.moc"
