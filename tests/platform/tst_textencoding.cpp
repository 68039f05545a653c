#include "platform/Dialogs.h"
#include "platform/TextEncoding.h"
#include "platform/TextMessages.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using pel::TextEncoding;
using pel::TextSpelling;
using LineBreak = pel::TextSpelling::LineBreak;

Q_DECLARE_METATYPE(pel::TextEncoding)
Q_DECLARE_METATYPE(pel::TextSpelling::LineBreak)
Q_DECLARE_METATYPE(pel::TextFileChoice)

namespace {

QByteArray hex(const char* digits) { return QByteArray::fromHex(digits); }

constexpr TextEncoding kEncodings[] = {TextEncoding::Cp932, TextEncoding::Utf8, TextEncoding::Utf16Le,
                                       TextEncoding::Utf16Be, TextEncoding::EucJp, TextEncoding::Iso2022Jp};

// Opens `bytes` as a document (detecting, or in `encoding`) and saves it unedited.
QByteArray reopened(const QByteArray& bytes, std::optional<TextEncoding> encoding = {})
{
    const pel::DecodedText file = encoding ? pel::decodeTextFile(bytes, *encoding) : pel::decodeTextFile(bytes);
    const pel::EncodedText saved = pel::encodeTextFile(file.text, file.marks, file.spelling);
    return saved.ok() ? saved.bytes : QByteArray("<failed>");
}

// Inserts `typed` at `at` the way the editor does: marks after it move on.
pel::DecodedText typedInto(pel::DecodedText file, qsizetype at, const QString& typed)
{
    file.text.insert(at, typed);
    for (pel::CodeMark& mark : file.marks)
        if (mark.position >= at)
            mark.position += typed.size();
    return file;
}

QByteArray randomBytes(QRandomGenerator& random, int length)
{
    // Escapes, breaks, NUL, lead bytes and surrogate halves far more often
    // than uniform noise would give them.
    static const char interesting[] = {'\x1b', '$', '(', 'B', '@', 'J', 'I', 'D', '\r', '\n', '\0', char(0x8E),
                                       char(0x8F), char(0xA4), char(0xD8), char(0xDC), char(0xE3), char(0xFE), char(0xFF)};
    QByteArray bytes(length, Qt::Uninitialized);
    for (char& b : bytes) {
        const quint32 r = random.bounded(3);
        b = r == 0 ? interesting[random.bounded(int(sizeof interesting))] : char(random.bounded(r == 1 ? 0x80 : 256));
    }
    return bytes;
}

} // namespace

class TestTextEncoding : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void files_data();
    void files();
    void everyEncodingKeepsAnyBytes_data();
    void everyEncodingKeepsAnyBytes();
    void forcedEncodingKeepsTheBytes();
    void unencodableCharacters_data();
    void unencodableCharacters();
    void joiningBytesAreRefused_data();
    void joiningBytesAreRefused();
    void detectionLooksPastAsciiAndAtASampleOnly();
    void realFiles_data();
    void realFiles();
    void dialogOffersTheEncodings_data();
    void dialogOffersTheEncodings();
};

// One file per row: what it is detected as, what the user sees, and the
// bytes after open–save and after typing 「あ」 at the start and saving.
void TestTextEncoding::files_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("name");         // as the status bar shows it
    QTest::addColumn<LineBreak>("lineBreak");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("typed");     // the file after typing 「あ」 first

    const QString box(QChar::ObjectReplacementCharacter);
    const auto C = TextEncoding::Cp932;
    const auto U8 = TextEncoding::Utf8;
    const auto LE = TextEncoding::Utf16Le;
    const auto BE = TextEncoding::Utf16Be;
    const auto E = TextEncoding::EucJp;
    const auto J = TextEncoding::Iso2022Jp;

    QTest::newRow("empty") << QByteArray() << C << u"Shift_JIS"_s << LineBreak::CrLf << QString() << hex("82a0");
    QTest::newRow("pure ASCII, LF") << QByteArray("abc\ndef\n") << C << u"Shift_JIS"_s << LineBreak::Lf
                                    << u"abc\ndef\n"_s << hex("82a0") + "abc\ndef\n";
    QTest::newRow("CP932, CR LF") << hex("93fa967b8cea82cc8365834c835883670d0a82c582b781420d0a") << C << u"Shift_JIS"_s
                                  << LineBreak::CrLf << u"日本語のテキスト\nです。\n"_s
                                  << hex("82a093fa967b8cea82cc8365834c835883670d0a82c582b781420d0a");
    QTest::newRow("CP932 half-width katakana only") << hex("b1b2b3b4") << C << u"Shift_JIS"_s << LineBreak::CrLf
                                                    << u"ｱｲｳｴ"_s << hex("82a0b1b2b3b4");
    QTest::newRow("UTF-8, LF") << hex("e697a5e69cace8aa9ee381aee38386e382ade382b9e383880ae381a7e38199e380820a") << U8
                               << u"UTF-8"_s << LineBreak::Lf << u"日本語のテキスト\nです。\n"_s
                               << hex("e38182e697a5e69cace8aa9ee381aee38386e382ade382b9e383880ae381a7e38199e380820a");
    QTest::newRow("UTF-8 with BOM, CR LF") << hex("efbbbfe381820d0a610d0a") << U8 << u"UTF-8 (BOM付き)"_s
                                           << LineBreak::CrLf << u"あ\na\n"_s << hex("efbbbfe38182e381820d0a610d0a");
    QTest::newRow("UTF-8 with an invalid byte")
        << hex("e697a5e69cace8aa9ee381aee38386e382ade382b9e38388ff0a") << U8 << u"UTF-8"_s << LineBreak::Lf
        << u"日本語のテキスト"_s + box + u"\n"_s << hex("e38182e697a5e69cace8aa9ee381aee38386e382ade382b9e38388ff0a");
    QTest::newRow("UTF-16LE with BOM, CR LF") << hex("fffe4230443046300d000a00610062006300") << LE << u"UTF-16LE"_s
                                              << LineBreak::CrLf << u"あいう\nabc"_s
                                              << hex("fffe42304230443046300d000a00610062006300");
    QTest::newRow("UTF-16BE with BOM, LF") << hex("feff304230443046000a006100620063000a") << BE << u"UTF-16BE"_s
                                           << LineBreak::Lf << u"あいう\nabc\n"_s
                                           << hex("feff3042304230443046000a006100620063000a");
    QTest::newRow("UTF-16LE without BOM") << hex("6100620063006400650066006700680069006a006b006c006d006e000d000a004230") << LE << u"UTF-16LE (BOMなし)"_s
                                          << LineBreak::CrLf << u"abcdefghijklmn\nあ"_s << hex("42306100620063006400650066006700680069006a006b006c006d006e000d000a004230");
    QTest::newRow("UTF-16BE without BOM") << hex("006100620063006400650066006700680069006a006b006c006d006e006f000a3042000a") << BE << u"UTF-16BE (BOMなし)"_s
                                          << LineBreak::Lf << u"abcdefghijklmno\nあ\n"_s << hex("3042006100620063006400650066006700680069006a006b006c006d006e006f000a3042000a");
    QTest::newRow("UTF-16LE of odd length") << hex("fffe42300a0041") << LE << u"UTF-16LE"_s << LineBreak::Lf
                                            << u"あ\n"_s + box << hex("fffe423042300a0041");
    QTest::newRow("UTF-16LE lone surrogate and NUL") << hex("fffe00d80000410000dc") << LE << u"UTF-16LE"_s
                                                     << LineBreak::CrLf << box + box + box + box + u"A"_s + box + box
                                                     << hex("fffe423000d80000410000dc");
    QTest::newRow("EUC-JP, LF") << hex("c6fccbdcb8eca4cea5c6a5ada5b9a5c80aa4c7a4b9a1a30a") << E << u"EUC-JP"_s
                                << LineBreak::Lf << u"日本語のテキスト\nです。\n"_s
                                << hex("a4a2c6fccbdcb8eca4cea5c6a5ada5b9a5c80aa4c7a4b9a1a30a");
    QTest::newRow("EUC-JP kana only") << hex("a4a2a4a4a4a6a1a2a4aba4ada4afa4b1a4b3a1a3") << E << u"EUC-JP"_s
                                      << LineBreak::CrLf << u"あいう、かきくけこ。"_s
                                      << hex("a4a2a4a2a4a4a4a6a1a2a4aba4ada4afa4b1a4b3a1a3");
    QTest::newRow("EUC-JP, CR LF, half-width and JIS X 0212")
        << hex("a4aba4cab4c1bbfa0d0ac8beb3d18eb68ec58fb0a10d0a") << E << u"EUC-JP"_s << LineBreak::CrLf
        << u"かな漢字\n半角ｶﾅ丂\n"_s << hex("a4a2a4aba4cab4c1bbfa0d0ac8beb3d18eb68ec58fb0a10d0a");
    QTest::newRow("EUC-JP with invalid bytes")
        << hex("a4aba4cab4c1bbfaa4cea5c6a5ada5b9a5c8a4c7a4b980ff0a") << E << u"EUC-JP"_s << LineBreak::Lf
        << u"かな漢字のテキストです"_s + box + box + u"\n"_s
        << hex("a4a2a4aba4cab4c1bbfaa4cea5c6a5ada5b9a5c8a4c7a4b980ff0a");
    QTest::newRow("ISO-2022-JP") << hex("1b2442376f4c3e2127467c4b5c386c1b28420a6162630a") << J << u"ISO-2022-JP"_s
                                 << LineBreak::Lf << u"件名：日本語\nabc\n"_s
                                 << hex("1b24422422376f4c3e2127467c4b5c386c1b28420a6162630a");
    // Older mail: JIS C 6226 and JIS-Roman escapes, no return to ASCII
    // before the line breaks.
    QTest::newRow("ISO-2022-JP, old escapes, no resets") << hex("1b244024221b284a610d0a1b24402424") << J
                                                         << u"ISO-2022-JP"_s << LineBreak::CrLf << u"あa\nい"_s
                                                         << hex("1b2440242224221b284a610d0a1b24402424");
    QTest::newRow("ISO-2022-JP, a redundant escape and half-width katakana")
        << hex("1b28421b28493132331b28420a") << J << u"ISO-2022-JP"_s << LineBreak::Lf
        << box + box + box + u"ｱｲｳ\n"_s << hex("1b24422422" "1b2842" "1b2849313233" "1b28420a");
}

void TestTextEncoding::files()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, name);
    QFETCH(LineBreak, lineBreak);
    QFETCH(QString, text);
    QFETCH(QByteArray, typed);

    const pel::DecodedText file = pel::decodeTextFile(bytes);
    QCOMPARE(file.spelling.encoding, encoding);
    QCOMPARE(pel::textEncodingName(file.spelling), name);
    QCOMPARE(file.spelling.lineBreak, lineBreak);
    QCOMPARE(file.text, text);
    QCOMPARE(file.marks.size(), text.count(QChar::ObjectReplacementCharacter));
    QCOMPARE(reopened(bytes).toHex(), bytes.toHex());

    const pel::DecodedText edited = typedInto(file, 0, u"あ"_s);
    const pel::EncodedText saved = pel::encodeTextFile(edited.text, edited.marks, edited.spelling);
    QVERIFY(saved.ok());
    QCOMPARE(saved.bytes.toHex(), typed.toHex());
    const pel::DecodedText again = pel::decodeTextFile(saved.bytes);
    QCOMPARE(again.spelling.encoding, encoding);
    QCOMPARE(again.text, edited.text);
}

// Whatever the bytes, a file opened in any encoding saves back as it was,
// and the editor's text holds no CR and no NUL.
void TestTextEncoding::everyEncodingKeepsAnyBytes_data()
{
    QTest::addColumn<TextEncoding>("encoding");
    QTest::newRow("CP932") << TextEncoding::Cp932;
    QTest::newRow("UTF-8") << TextEncoding::Utf8;
    QTest::newRow("UTF-16LE") << TextEncoding::Utf16Le;
    QTest::newRow("UTF-16BE") << TextEncoding::Utf16Be;
    QTest::newRow("EUC-JP") << TextEncoding::EucJp;
    QTest::newRow("ISO-2022-JP") << TextEncoding::Iso2022Jp;
}

void TestTextEncoding::everyEncodingKeepsAnyBytes()
{
    QFETCH(TextEncoding, encoding);
    QRandomGenerator random(29);
    for (int i = 0; i < 3000; ++i) {
        const QByteArray bytes = randomBytes(random, random.bounded(200));
        const pel::DecodedText file = pel::decodeTextFile(bytes, encoding);
        QVERIFY(!file.text.contains(u'\r') && !file.text.contains(QChar(0)));
        for (qsizetype m = 1; m < file.marks.size(); ++m)
            QVERIFY(file.marks[m].position > file.marks[m - 1].position);
        const pel::EncodedText saved = pel::encodeTextFile(file.text, file.marks, file.spelling);
        QVERIFY2(saved.ok() && saved.bytes == bytes, qPrintable(QString::fromLatin1(bytes.toHex())));
    }
}

void TestTextEncoding::forcedEncodingKeepsTheBytes()
{
    // A file detected wrongly and opened again in another encoding.
    const QByteArray files[] = {hex("c6fccbdcb8eca4cea5c6a5ada5b9a5c80a"), hex("93fa967b8cea82cc0d0a"),
                                hex("efbbbfe381820d0a"), hex("fffe42300a00"),
                                hex("1b2442376f4c3e2127467c4b5c386c1b28420a")};
    for (const QByteArray& bytes : files) {
        for (const TextEncoding encoding : kEncodings) {
            QCOMPARE(reopened(bytes, encoding).toHex(), bytes.toHex());
            QCOMPARE(pel::decodeTextFile(bytes, encoding).spelling.encoding, encoding);
        }
    }
    // The forced encoding's byte-order mark is taken as one.
    const pel::DecodedText utf8 = pel::decodeTextFile(hex("efbbbf61"), TextEncoding::Utf8);
    QCOMPARE(utf8.text, u"a"_s);
    QVERIFY(utf8.spelling.bom);
    QCOMPARE(pel::decodeTextFile(hex("4100"), TextEncoding::Utf16Le).text, u"A"_s);
    QCOMPARE(pel::decodeTextFile(hex("0041"), TextEncoding::Utf16Be).text, u"A"_s);
}

void TestTextEncoding::unencodableCharacters_data()
{
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("failedAt");   // -1: saves

    QTest::newRow("emoji in EUC-JP") << TextEncoding::EucJp << u"あい😀う"_s << qsizetype(2);
    QTest::newRow("Hangul in ISO-2022-JP") << TextEncoding::Iso2022Jp << u"漢字\n한국"_s << qsizetype(3);
    QTest::newRow("e acute in ISO-2022-JP (JIS X 0212)") << TextEncoding::Iso2022Jp << u"caf\u00e9"_s << qsizetype(-1);
    QTest::newRow("unmarked stand-in in EUC-JP") << TextEncoding::EucJp << u"a\uFFFC"_s << qsizetype(1);
    QTest::newRow("lone surrogate in UTF-8") << TextEncoding::Utf8 << u"ab"_s + QChar(0xD83D) << qsizetype(2);
    QTest::newRow("lone surrogate in UTF-16") << TextEncoding::Utf16Le << QString(QChar(0xDC00)) << qsizetype(0);
    QTest::newRow("emoji in UTF-8") << TextEncoding::Utf8 << u"😀é"_s << qsizetype(-1);
    QTest::newRow("emoji in UTF-16BE") << TextEncoding::Utf16Be << u"😀"_s << qsizetype(-1);
    QTest::newRow("object replacement character in UTF-8") << TextEncoding::Utf8 << u"\uFFFC"_s << qsizetype(-1);
    // EUC-JP's A1C1 reads as the full-width tilde, as in code page 932.
    QTest::newRow("full-width tilde in EUC-JP") << TextEncoding::EucJp << u"～－"_s << qsizetype(-1);
    QTest::newRow("wave dash in EUC-JP") << TextEncoding::EucJp << u"～〜"_s << qsizetype(1);
}

void TestTextEncoding::unencodableCharacters()
{
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);
    QFETCH(qsizetype, failedAt);

    TextSpelling spelling;
    spelling.encoding = encoding;
    const pel::EncodedText saved = pel::encodeTextFile(text, {}, spelling);
    QCOMPARE(saved.failedAt, failedAt);
    if (failedAt >= 0) {
        QCOMPARE(saved.failure, pel::EncodedText::Failure::NoCode);
        QVERIFY(saved.bytes.isEmpty());   // nothing half, never "?"
        QVERIFY(pel::unsavableCharacterMessage(text, failedAt, encoding).contains(pel::textEncodingName(encoding)));
    } else {
        QCOMPARE(pel::decodeTextFile(saved.bytes, encoding).text, text);
    }
}

void TestTextEncoding::joiningBytesAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<qsizetype>("removeAt");   // one character deleted before saving

    // E3 81 and 82 are stand-ins; with the letter between them gone they
    // would read back as 「あ」.
    QTest::newRow("UTF-8 sequence joined") << hex("e38141820a") << TextEncoding::Utf8 << qsizetype(2);
    QTest::newRow("EUC-JP pair joined") << hex("a441a20a") << TextEncoding::EucJp << qsizetype(1);
    QTest::newRow("UTF-16 surrogate halves joined") << hex("3dd8410000de") << TextEncoding::Utf16Le << qsizetype(2);
    // An escape shown as stand-ins, cut in the middle, is an ESC and a letter.
    QTest::newRow("ISO-2022-JP escape cut") << hex("1b24421b284261") << TextEncoding::Iso2022Jp << qsizetype(1);
}

void TestTextEncoding::joiningBytesAreRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(TextEncoding, encoding);
    QFETCH(qsizetype, removeAt);

    pel::DecodedText decoded = pel::decodeTextFile(file, encoding);
    decoded.text.remove(removeAt, 1);
    pel::CodeMarks marks;
    for (pel::CodeMark mark : decoded.marks) {
        if (mark.position == removeAt)
            continue;
        if (mark.position > removeAt)
            --mark.position;
        marks << mark;
    }
    const pel::EncodedText saved = pel::encodeTextFile(decoded.text, marks, decoded.spelling);
    QCOMPARE(saved.failure, pel::EncodedText::Failure::Merges);
    QVERIFY(saved.bytes.isEmpty());
    QVERIFY(saved.failedAt >= 0 && saved.failedAt < decoded.text.size());
}

void TestTextEncoding::detectionLooksPastAsciiAndAtASampleOnly()
{
    // Japanese after a long ASCII head is still found.
    const QByteArray head(300 * 1024, 'a');
    QCOMPARE(pel::detectTextEncoding(head + hex("a4a2a4a4a4a6")).encoding, TextEncoding::EucJp);
    QCOMPARE(pel::detectTextEncoding(head + hex("e38182")).encoding, TextEncoding::Utf8);
    // A UTF-8 file whose sample ends inside a character.
    QByteArray utf8;
    while (utf8.size() < 200 * 1024)
        utf8 += hex("e38182");
    QCOMPARE(pel::detectTextEncoding(utf8).encoding, TextEncoding::Utf8);
    // ISO-2022-JP with one stray eight-bit byte.
    QCOMPARE(pel::detectTextEncoding(hex("1b244224221b2842a0")).encoding, TextEncoding::Iso2022Jp);
    // An ASCII-only escape proves nothing.
    QCOMPARE(pel::detectTextEncoding(hex("1b28426162")).encoding, TextEncoding::Cp932);
}

// Files from Debian packages (see realfiles/README).
void TestTextEncoding::realFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("sameTextAs");   // the same table in another encoding

    const auto row = [](const char* name, TextEncoding encoding, const char* sameAs = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << encoding << QString::fromLatin1(sameAs);
    };
    row("hira2kata.utf-8.dat", TextEncoding::Utf8);
    row("hira2kata.cp932.dat", TextEncoding::Cp932, "hira2kata.utf-8.dat");
    row("hira2kata.euc-jp.dat", TextEncoding::EucJp, "hira2kata.utf-8.dat");
    row("roma2hira.euc-jp.dat", TextEncoding::EucJp, "roma2hira.utf-8.dat");
    row("cmigemo-README_j.txt", TextEncoding::Cp932);
    row("nkf.doc", TextEncoding::EucJp);
    row("edict_doc.html", TextEncoding::EucJp);
    row("semi-TODO", TextEncoding::Iso2022Jp);
}

void TestTextEncoding::realFiles()
{
    QFETCH(QString, name);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, sameTextAs);

    const auto read = [](const QString& file) {
        QFile f(QFINDTESTDATA(u"realfiles/"_s + file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray bytes = read(name);
    QVERIFY(!bytes.isEmpty());
    const pel::DecodedText file = pel::decodeTextFile(bytes);
    QCOMPARE(file.spelling.encoding, encoding);
    QVERIFY(file.marks.isEmpty());
    QCOMPARE(reopened(bytes).toHex(), bytes.toHex());
    // EUC-JP's A1 C1 reads as the full-width tilde, the character code page
    // 932 gives the same shape (the Unicode copy has the wave dash).
    if (!sameTextAs.isEmpty())
        QCOMPARE(file.text, pel::decodeTextFile(read(sameTextAs)).text.replace(u'〜', u'～'));

    // Typed into the middle, a kanji keeps the file in its encoding.
    const pel::DecodedText edited = typedInto(file, file.text.size() / 2, u"漢"_s);
    const pel::EncodedText saved = pel::encodeTextFile(edited.text, edited.marks, edited.spelling);
    QVERIFY(saved.ok());
    const pel::DecodedText again = pel::decodeTextFile(saved.bytes);
    QCOMPARE(again.spelling.encoding, encoding);
    QCOMPARE(again.text, edited.text);
}

void TestTextEncoding::dialogOffersTheEncodings_data()
{
    QTest::addColumn<QString>("dialog");     // open, save, or the 文字コード alone
    QTest::addColumn<pel::TextFileChoice>("initial");
    QTest::addColumn<QString>("shown");      // the encoding selected at first
    QTest::addColumn<QString>("pick");       // what the user picks
    QTest::addColumn<pel::TextFileChoice>("chosen");

    using pel::FileEncoding;
    QTest::newRow("open, detection") << u"open"_s << pel::TextFileChoice{} << u"自動判別"_s << u"EUC-JP"_s
                                     << pel::TextFileChoice{FileEncoding{TextEncoding::EucJp, false}};
    QTest::newRow("open, back to detection")
        << u"open"_s << pel::TextFileChoice{FileEncoding{TextEncoding::Utf8, false}} << u"UTF-8"_s << u"自動判別"_s
        << pel::TextFileChoice{};
    QTest::newRow("reopen, another encoding")
        << u"encoding"_s << pel::TextFileChoice{FileEncoding{TextEncoding::Cp932, false}} << u"Shift_JIS"_s
        << u"UTF-8"_s << pel::TextFileChoice{FileEncoding{TextEncoding::Utf8, false}};
    QTest::newRow("save as, the document's encoding")
        << u"save"_s << pel::TextFileChoice{FileEncoding{TextEncoding::Utf16Le, false}, LineBreak::Lf}
        << u"UTF-16LE (BOMなし)"_s << u"UTF-8 (BOM付き)"_s
        << pel::TextFileChoice{FileEncoding{TextEncoding::Utf8, true}, LineBreak::Lf};
}

void TestTextEncoding::dialogOffersTheEncodings()
{
    QFETCH(QString, dialog);
    QFETCH(pel::TextFileChoice, initial);
    QFETCH(QString, shown);
    QFETCH(QString, pick);
    QFETCH(pel::TextFileChoice, chosen);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"page.html"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    pel::TextFileChoice choice = initial;
    pel::FileDialogRequest request;
    request.title = u"開く"_s;
    request.directory = dir.path();
    request.filters = {{u"すべてのファイル"_s, u"*.*"_s}};
    request.textFile = &choice;
    QString seen;
    QString breakSeen;
    QTimer::singleShot(0, this, [&] {
        auto* shownDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(shownDialog);
        auto* box = shownDialog->findChild<QComboBox*>(u"EncodingBox"_s);
        QVERIFY(box);
        seen = box->currentText();
        box->setCurrentIndex(box->findText(pick));
        if (auto* breaks = shownDialog->findChild<QComboBox*>(u"LineBreakBox"_s))
            breakSeen = breaks->currentText();
        if (auto* name = shownDialog->findChild<QLineEdit*>(u"fileNameEdit"_s))
            name->setText(u"page.html"_s);
        shownDialog->accept();   // as the Open, Save or OK button does
    });
    pel::QtDialogs dialogs;
    const bool saving = dialog == u"save";
    const bool answered = dialog == u"encoding" ? dialogs.chooseTextEncoding(nullptr, choice)
        : saving                                ? dialogs.saveFile(nullptr, request).has_value()
                                                : dialogs.openFile(nullptr, request).has_value();
    QVERIFY(answered);
    QCOMPARE(seen, shown);
    QCOMPARE(breakSeen, saving ? pel::lineBreakName(initial.lineBreak) : QString());
    QCOMPARE(choice, chosen);
}

QTEST_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
