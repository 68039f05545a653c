// The command table and its runner, without any window.
#include "html/HtmlCommands.h"
#include "platform/Cp932.h"
#include "platform/EditorPort.h"

#include <QSet>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using pel::html::HtmlCommand;
using pel::html::Shape;

namespace {

// An editor port holding one selection; records what replaced it.
class FakeEditor final : public pel::EditorPort {
public:
    QString selection;
    int selectionReads = 0;
    QStringList replacements;

    void ReplaceEditorSelection(const QString& text) override { replacements << text; }
    QString selectedText() const override
    {
        ++const_cast<FakeEditor*>(this)->selectionReads;
        return selection;
    }
    void showAboutModal() override {}
};

const HtmlCommand& command(const char* name)
{
    const HtmlCommand* found = pel::html::findHtmlCommand(QString::fromLatin1(name));
    if (!found)
        qFatal("no command %s", name);
    return *found;
}

// The text as it is written to a file: CR LF breaks.
QString onDisk(const QString& text)
{
    QString result = text;
    result.replace(u'\n', u"\r\n"_s);
    return result;
}

QByteArray encoded(const QString& text)
{
    return pel::Cp932::encode(onDisk(text)).bytes;
}

} // namespace

class TestHtmlCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableIsWellFormed();
    void runner_data();
    void runner();
    void lineCounts_data();
    void lineCounts();
    void statedCharacterCounts_data();
    void statedCharacterCounts();
    void statedByteCounts_data();
    void statedByteCounts();
    void prefectureSelectionBox();
    void mailtoFormAppendsItsNote();
    void nestingAndSpecialCharacters();
};

void TestHtmlCommands::tableIsWellFormed()
{
    const QSet<QString> categories = {u"HtmlMenu"_s, u"LinkMenu"_s, u"IMAGEMenu"_s, u"OptionMenu"_s, u"ToolMenu"_s};
    QSet<QString> names;
    for (const HtmlCommand& c : pel::html::htmlCommands()) {
        QVERIFY2(!names.contains(c.name), qPrintable(c.name));
        names.insert(c.name);
        QCOMPARE(pel::html::findHtmlCommand(c.name), &c);
        QVERIFY2(c.name.endsWith(u"Action") || c.name.endsWith(u"Action1") || c.name.endsWith(u"Click"),
                 qPrintable(c.name));
        QCOMPARE(c.isAction, !c.name.endsWith(u"Click"));
        if (c.isAction) {
            QVERIFY2(categories.contains(c.category), qPrintable(c.name));
            QVERIFY2(!c.caption.isEmpty(), qPrintable(c.name));
        }
        QVERIFY2(!c.opening.isEmpty(), qPrintable(c.name));
        // No text starts or ends with a line break, and lines hold none.
        QVERIFY2(!c.opening.constFirst().isEmpty(), qPrintable(c.name));
        const QStringList& last = c.closing.isEmpty() ? c.opening : c.closing;
        QVERIFY2(!last.constLast().isEmpty(), qPrintable(c.name));
        for (const QString& line : c.opening + c.closing)
            QVERIFY2(!line.contains(u'\n') && !line.contains(u'\r'), qPrintable(c.name));
        QCOMPARE(c.closing.isEmpty(), c.shape == Shape::Fixed);
    }
    QVERIFY(!pel::html::findHtmlCommand(u"NoSuchAction"));
}

void TestHtmlCommands::runner_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("selection");   // as the port reads it (CR LF)
    QTest::addColumn<QString>("inEditor");    // the same in editor line breaks
    for (const HtmlCommand& c : pel::html::htmlCommands()) {
        const QByteArray n = c.name.toLatin1();
        QTest::newRow((n + " empty").constData()) << c.name << QString() << QString();
        QTest::newRow((n + " one line").constData()) << c.name << u"abc"_s << u"abc"_s;
        QTest::newRow((n + " lines").constData())
            << c.name << u"一行目\r\n\r\n三行目 ｱｲｳ\r\n"_s << u"一行目\n\n三行目 ｱｲｳ\n"_s;
    }
}

void TestHtmlCommands::runner()
{
    QFETCH(QString, name);
    QFETCH(QString, selection);
    QFETCH(QString, inEditor);
    const HtmlCommand& c = *pel::html::findHtmlCommand(name);
    FakeEditor editor;
    editor.selection = selection;
    pel::html::runHtmlCommand(c, editor);
    QCOMPARE(editor.replacements.size(), 1);
    const QString inserted = editor.replacements.constFirst();
    QVERIFY2(!inserted.contains(u'\r'), "the editor holds '\\n' breaks only");
    if (c.shape == Shape::Fixed) {
        QCOMPARE(editor.selectionReads, 0);
        QCOMPARE(inserted, c.opening.join(u'\n'));
    } else {
        QCOMPARE(inserted, c.opening.join(u'\n') + inEditor + c.closing.join(u'\n'));
    }
}

void TestHtmlCommands::lineCounts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    const struct { const char* name; int lines; } counts[] = {
        {"TenPlertAction", 9}, {"EasiPlartAction", 2}, {"BGfixedAction", 7}, {"DLDTAction", 4},
        {"LIdiskAction", 3}, {"LIcircleAction", 3}, {"LIsquareAction", 3}, {"LIOLAction", 5},
        {"LIOL2Action", 8}, {"METAAction", 2}, {"BRclearAction", 2}, {"IMGnameAction", 5},
        {"IMGspaceAction", 4}, {"IMGlinkAction", 1}, {"Flerm1Action", 12}, {"Flerm2Action", 9},
        {"Flern3Action", 9}, {"Table1Action", 5}, {"TableTdTrAction", 13}, {"TableSizeAction", 12},
        {"TableBorderAction", 5}, {"TableSpacingAction", 5}, {"TablecellpaddingAction", 5},
        {"TableAllAction", 5}, {"TableBorColorAction", 12}, {"TableSeiiColorAction", 5},
        {"TableSellImageAction", 4}, {"TableTitleAction", 13}, {"TableAlignAction", 15},
        {"FormDfAction", 1}, {"FormTextAction", 11}, {"FormPassAction", 3}, {"FormTextAreaAction", 9},
        {"FormRadioAction", 9}, {"FormCheckAction", 6}, {"FormResetAction", 1}, {"FormAddAction", 1},
        {"FormOptionAction", 55}, {"JavaSclipt8Click", 5}, {"hJavaScliptButtonClick", 5},
        {"JavaApret9Click", 3}, {"JavaAppletAction", 3}, {"JavaPARAM2Click", 1}, {"JavaDate2Click", 26},
        {"JavaTime2Click", 26}, {"FormImageAction", 1}, {"MarginAction", 1}, {"HRalignAction", 1},
    };
    for (const auto& c : counts)
        QTest::newRow(c.name) << QString::fromLatin1(c.name) << c.lines;
}

void TestHtmlCommands::lineCounts()
{
    QFETCH(QString, name);
    QFETCH(int, lines);
    const HtmlCommand* c = pel::html::findHtmlCommand(name);
    QVERIFY(c);
    QCOMPARE(c->shape, Shape::Fixed);
    QCOMPARE(c->result(u"ignored"_s).count(u'\n') + 1, lines);
}

void TestHtmlCommands::statedCharacterCounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("characters");  // line breaks count as CR LF
    QTest::newRow("FormOptionAction") << command("FormOptionAction").result({}) << 1784;
    QTest::newRow("date page") << command("JavaDate2Click").result({}) << 654;
    QTest::newRow("clock page") << command("JavaTime2Click").result({}) << 521;
    QTest::newRow("FormImageAction") << command("FormImageAction").result({}) << 37;
    QTest::newRow("FormAction opening") << command("FormAction").openingText() << 16;
    QTest::newRow("FColorAction opening") << command("FColorAction").openingText() << 41;
    QTest::newRow("HRcolorAction opening") << command("HRcolorAction").openingText() << 11;
    QTest::newRow("HRcolorAction closing") << command("HRcolorAction").closingText() << 2;
    QTest::newRow("IMAGEAction opening") << command("IMAGEAction").openingText() << 18;
    QTest::newRow("IMAGEAction closing") << command("IMAGEAction").closingText() << 59;
    QTest::newRow("RaundAction1 opening") << command("RaundAction1").openingText() << 18;
    QTest::newRow("RaundAction1 closing") << command("RaundAction1").closingText() << 53;
    QTest::newRow("URLAction opening") << command("URLAction").openingText() << 9;
    QTest::newRow("URLAction closing") << command("URLAction").closingText() << 6;
    QTest::newRow("MailAction closing") << command("MailAction").closingText() << 6;
}

void TestHtmlCommands::statedCharacterCounts()
{
    QFETCH(QString, text);
    QFETCH(int, characters);
    QCOMPARE(onDisk(text).size(), characters);
}

void TestHtmlCommands::statedByteCounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("size");
    QTest::newRow("FormOptionAction") << command("FormOptionAction").result({}) << QByteArray() << 2080;
    QTest::newRow("date page") << command("JavaDate2Click").result({}) << QByteArray() << 681;
    QTest::newRow("clock page") << command("JavaTime2Click").result({}) << QByteArray() << 545;
    // Half-width katakana and punctuation stay single bytes.
    QTest::newRow("NoShowAction opening") << command("NoShowAction").openingText() << QByteArray("<!\xA5\xA5") << 4;
    QTest::newRow("NoShowAction closing") << command("NoShowAction").closingText() << QByteArray("\xA5\xA5>") << 3;
    QTest::newRow("Flern3Action caption") << command("Flern3Action").caption
                                          << QByteArray("\xCC\xDA\xB0\xD1\x89\xA1" "2\x95\xAA\x8A\x84") << 11;
    QTest::newRow("FormRadioAction full-width space")
        << command("FormRadioAction").opening.at(1) << QByteArray("\x90\xAB\x81\x40\x95\xCA :<BR>") << 12;
}

void TestHtmlCommands::statedByteCounts()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(int, size);
    const QByteArray written = encoded(text);
    QCOMPARE(written.size(), size);
    if (!bytes.isEmpty())
        QCOMPARE(written, bytes);
}

void TestHtmlCommands::prefectureSelectionBox()
{
    const QStringList lines = command("FormOptionAction").opening;
    QCOMPARE(lines.size(), 55);
    QCOMPARE(lines.at(2), u"<TD>    <SELECT NAME=\"prefecture\">"_s);
    QCOMPARE(lines.at(3), u"<OPTION VALUE=\"北海道\" SELECTED>北海道 </OPTION>"_s);
    QCOMPARE(lines.at(4), u"<OPTION VALUE=\"青森県\">青森県 </OPTION>"_s);
    QCOMPARE(lines.at(17), u"<OPTION VALUE=\"山梨県\">山梨県 </OPTION>"_s);
    QCOMPARE(lines.at(50), u"<OPTION VALUE=\"海外\">海外 </OPTION>"_s);
    QCOMPARE(lines.mid(51), (QStringList{u"</SELECT>"_s, u"</TD>"_s, u"</TR>"_s, u"</FORM>"_s}));
    QCOMPARE(lines.filter(u"<OPTION VALUE="_s).size(), 48);
    QCOMPARE(lines.filter(u"SELECTED"_s).size(), 1);
}

void TestHtmlCommands::mailtoFormAppendsItsNote()
{
    const HtmlCommand& mailto = command("FormMailtoAction");
    const QStringList oneLine = mailto.result(u"<INPUT>"_s).split(u'\n');
    QCOMPARE(oneLine.size(), 5);
    QCOMPARE(oneLine.at(0), u"<FORM ACTION=\"mailto:メール@アドレス\"METHOO=\"POST\"><INPUT></FORM>"_s);
    QCOMPARE(oneLine.at(1), QString());
    QCOMPARE(oneLine.at(2), u"注意!!"_s);
    QCOMPARE(oneLine.at(4), u"加入しているプロバイダに尋ねてみて下さい｡"_s);
    // A selection of several lines keeps its breaks between the tags.
    QVERIFY(mailto.result(u"a\nb"_s).startsWith(u"<FORM ACTION=\"mailto:メール@アドレス\"METHOO=\"POST\">a\nb</FORM>\n\n"_s));
}

void TestHtmlCommands::nestingAndSpecialCharacters()
{
    FakeEditor editor;
    editor.selection = u"<B>a&\"b\"</B>"_s;
    pel::html::runHtmlCommand(command("BAction"), editor);
    QCOMPARE(editor.replacements.constLast(), u"<B><B>a&\"b\"</B></B>"_s);
    editor.selection = u"file.html"_s;
    pel::html::runHtmlCommand(command("URLAction"), editor);
    QCOMPARE(editor.replacements.constLast(), u"<A HREF=\"file.html\"></A>"_s);
    editor.selection.clear();
    pel::html::runHtmlCommand(command("MailAction"), editor);
    QCOMPARE(editor.replacements.constLast(), u"<A HREF=\"mailto:\"></A>"_s);
    pel::html::runHtmlCommand(command("IMAGEAction"), editor);
    QVERIFY(editor.replacements.constLast().startsWith(u"<IMG SRC=\"イメージ.gif\" ALT="_s));
    QCOMPARE(command("AlRightAction").openingText(), u"<P ALIGN=\"Right\">"_s);
    QCOMPARE(command("ALleftAction").openingText(), u"<P ALIGN=\"LEFT\">"_s);
}

QTEST_GUILESS_MAIN(TestHtmlCommands)
#include "tst_htmlcommands.moc"
