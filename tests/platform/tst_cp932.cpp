#include "platform/Cp932.h"
#include "platform/LineBreaks.h"

#include <QRegularExpression>
#include <QRandomGenerator>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

using pel::Cp932;
using pel::TextSpelling;
using LineBreak = pel::TextSpelling::LineBreak;

Q_DECLARE_METATYPE(pel::TextSpelling::LineBreak)
Q_DECLARE_METATYPE(pel::CodeMarks)

namespace {

QByteArray hex(const char* digits) { return QByteArray::fromHex(digits); }

QString showText(const QString& text)
{
    QString shown;
    for (QChar c : text)
        shown += QStringLiteral("%1 ").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return shown.trimmed();
}

QByteArray pairBytes(int lead, int trail)
{
    const char bytes[2] = {char(lead), char(trail)};
    return QByteArray(bytes, 2);
}

// Opens `bytes` as a document and saves it unedited.
QByteArray reopened(const QByteArray& bytes)
{
    const pel::DecodedText file = pel::decodeTextFile(bytes);
    const pel::EncodedText saved = pel::encodeTextFile(file.text, file.marks, file.spelling);
    return saved.ok() ? saved.bytes : QByteArray("<failed>");
}

// A document's text must be what the user sees: no selectors, no
// private-use stand-ins.
bool onlyVisibleCharacters(const QString& text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0xFE00 && c.unicode() <= 0xFE0F) || (c.unicode() >= 0xF700 && c.unicode() <= 0xF7FF);
    });
}

bool isLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes that exercise the interesting paths far more often than uniform
// noise would: lead bytes, breaks, NUL and the duplicate-code rows.
QByteArray randomBytes(QRandomGenerator& random, int length)
{
    static const char interesting[] = {'\r', '\n', '\0', char(0x81), char(0x87), char(0xED), char(0xEE),
                                       char(0xFA), char(0xFC), char(0x80), char(0xA0), char(0xFF)};
    QByteArray bytes(length, Qt::Uninitialized);
    for (char& b : bytes) {
        const quint32 r = random.bounded(4);
        b = r == 0 ? interesting[random.bounded(int(sizeof interesting))] : char(random.bounded(256));
    }
    return bytes;
}

} // namespace

class TestCp932 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everySingleByteRoundTrips();
    void everyPairRoundTrips();
    void knownCodes_data();
    void knownCodes();
    void invalidBytes_data();
    void invalidBytes();
    void duplicateCodesKeepTheFilesCode_data();
    void duplicateCodesKeepTheFilesCode();
    void everyDuplicateCodeRoundTripsPerDocument();
    void marksOnlyCountOnTheirCharacter_data();
    void marksOnlyCountOnTheirCharacter();
    void joiningBytesAreRefused_data();
    void joiningBytesAreRefused();
    void unencodableCharacters_data();
    void unencodableCharacters();
    void jisFormsTakeTheCodePagesCode_data();
    void jisFormsTakeTheCodePagesCode();
    void lineBreaks_data();
    void lineBreaks();
    void breaksWrittenAsSpelled_data();
    void breaksWrittenAsSpelled();
    void randomBytesRoundTrip();
    void emptyInput();
    void editorLineBreaks_data();
    void editorLineBreaks();
};

void TestCp932::everySingleByteRoundTrips()
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes(1, char(b));
        const QString text = Cp932::decode(bytes);
        QCOMPARE(text.size(), 1);
        const Cp932::Encoded encoded = Cp932::encode(text);
        QVERIFY2(encoded.ok() && encoded.bytes == bytes, qPrintable(QString::number(b, 16)));
        // ASCII and half-width katakana are characters; everything else alone is a stand-in.
        const bool character = b < 0x80 || (b >= 0xA1 && b <= 0xDF);
        QCOMPARE(Cp932::isStandIn(text.at(0)), !character);
        QCOMPARE(Cp932::standInFor(uchar(b)).isNull(), character && b != 0 && b != '\r' && b != '\n');
        // As a document: one character, a stand-in for all but ASCII and katakana.
        const pel::DecodedText file = pel::decodeTextFile(bytes);
        QCOMPARE(file.text.size(), 1);
        QCOMPARE(file.text.at(0) == QChar::ObjectReplacementCharacter, !character || b == 0);
        QCOMPARE(reopened(bytes).toHex(), bytes.toHex());
    }
}

void TestCp932::everyPairRoundTrips()
{
    int valid = 0;
    int alternates = 0;
    QSet<char16_t> seen;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLead(lead))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const QByteArray bytes = pairBytes(lead, trail);
            const QString plain = Cp932::decode(bytes);
            const Cp932::Encoded back = Cp932::encode(plain);
            QVERIFY2(back.ok() && back.bytes == bytes, qPrintable(QString::fromLatin1(bytes.toHex())));

            Cp932::Alternates record;
            const QString text = Cp932::decode(bytes, &record);
            QVERIFY(!Cp932::isStandIn(text.at(0)) || text.size() == 2);
            const Cp932::Encoded recorded = Cp932::encode(text, &record);
            QVERIFY2(recorded.ok() && recorded.bytes == bytes, qPrintable(QString::fromLatin1(bytes.toHex())));
            QCOMPARE(reopened(bytes).toHex(), bytes.toHex());
            const pel::DecodedText file = pel::decodeTextFile(bytes);
            QVERIFY(onlyVisibleCharacters(file.text));
            QCOMPARE(file.text.size(), Cp932::isStandIn(text.at(0)) ? 2 : 1);

            if (Cp932::isStandIn(text.at(0))) {
                // An invalid pair: only the lead byte is a stand-in.
                QCOMPARE(text.at(0), Cp932::standInFor(uchar(lead)));
                continue;
            }
            ++valid;
            QCOMPARE(text.size(), 1);
            QVERIFY(!text.at(0).isSurrogate());
            seen.insert(text.at(0).unicode());
            if (!record.isEmpty()) {
                ++alternates;
                QCOMPARE(record.value(text.at(0).unicode()), bytes);
                QCOMPARE(plain.size(), 2);   // without a record the selector says which code
            }
        }
    }
    // Windows code page 932: JIS X 0208, NEC row 13, both IBM extension
    // sets and the user-defined area.
    QCOMPARE(valid, 9604);
    QCOMPARE(alternates, 398);
    QCOMPARE(seen.size(), valid - alternates);
}

void TestCp932::knownCodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("standard");   // the code encoding writes for the text

    QTest::newRow("half-width middle dot") << hex("a5") << QStringLiteral("･") << true;
    QTest::newRow("half-width full stop") << hex("a1") << QStringLiteral("｡") << true;
    QTest::newRow("half-width comma") << hex("a4") << QStringLiteral("､") << true;
    QTest::newRow("full-width space") << hex("8140") << QStringLiteral("　") << true;
    QTest::newRow("hiragana") << hex("82a082a282a4") << QStringLiteral("あいう") << true;
    QTest::newRow("kanji") << hex("93fa967b8cea") << QStringLiteral("日本語") << true;
    QTest::newRow("backslash stays") << hex("5c7e") << QStringLiteral("\\~") << true;
    QTest::newRow("ASCII controls") << hex("1a1c7f") << QStringLiteral("\x1a\x1c\x7f") << true;
    QTest::newRow("wave dash") << hex("8160") << QStringLiteral("～") << true;
    QTest::newRow("minus") << hex("817c") << QStringLiteral("－") << true;
    QTest::newRow("user-defined first") << hex("f040") << QString(QChar(0xE000)) << true;
    QTest::newRow("user-defined last") << hex("f9fc") << QString(QChar(0xE757)) << true;
    QTest::newRow("NEC roman one") << hex("8754") << QStringLiteral("Ⅰ") << true;
    QTest::newRow("IBM roman one") << hex("fa4a") << QStringLiteral("Ⅰ") << false;
    QTest::newRow("IBM small roman one") << hex("fa40") << QStringLiteral("ⅰ") << true;
    QTest::newRow("NEC-selected small roman one") << hex("eeef") << QStringLiteral("ⅰ") << false;
    QTest::newRow("JIS approximately equal") << hex("81e0") << QStringLiteral("≒") << true;
    QTest::newRow("NEC approximately equal") << hex("8790") << QStringLiteral("≒") << false;
    QTest::newRow("IBM kanji") << hex("fa5c") << QStringLiteral("纊") << true;
    QTest::newRow("NEC-selected kanji") << hex("ed40") << QStringLiteral("纊") << false;
    QTest::newRow("because, JIS") << hex("81e6") << QStringLiteral("∵") << true;
    QTest::newRow("because, NEC") << hex("879a") << QStringLiteral("∵") << false;
    QTest::newRow("because, IBM") << hex("fa5b") << QStringLiteral("∵") << false;
    QTest::newRow("not sign, NEC-selected") << hex("eef9") << QStringLiteral("￢") << false;
}

void TestCp932::knownCodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, standard);

    Cp932::Alternates record;
    QCOMPARE(showText(Cp932::decode(bytes, &record)), showText(text));
    QCOMPARE(record.isEmpty(), standard);
    const Cp932::Encoded asRecorded = Cp932::encode(text, &record);
    QVERIFY(asRecorded.ok());
    QCOMPARE(asRecorded.bytes.toHex(), bytes.toHex());
    const Cp932::Encoded plain = Cp932::encode(text);
    QVERIFY(plain.ok());
    QCOMPARE(plain.bytes == bytes, standard);
}

void TestCp932::invalidBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const auto s = [](int byte) { return QString(QChar(0xF700 + byte)); };
    QTest::newRow("80") << hex("80") << s(0x80);
    QTest::newRow("A0") << hex("a0") << s(0xA0);
    QTest::newRow("FD FE FF") << hex("fdfeff") << s(0xFD) + s(0xFE) + s(0xFF);
    QTest::newRow("lead at end") << hex("4181") << QStringLiteral("A") + s(0x81);
    QTest::newRow("lead before space") << hex("8120") << s(0x81) + QStringLiteral(" ");
    QTest::newRow("lead before 7F") << hex("887f") << s(0x88) + QStringLiteral("\x7f");
    QTest::newRow("lead before invalid trail") << hex("82fd") << s(0x82) + s(0xFD);
    QTest::newRow("lead before katakana") << hex("85a1") << s(0x85) + QStringLiteral("｡");
    QTest::newRow("unassigned pair keeps its trail") << hex("8540") << s(0x85) + QStringLiteral("@");
    QTest::newRow("unassigned pairs in a row") << hex("ebfc8140") << s(0xEB) + s(0xFC) + QStringLiteral("　");
    QTest::newRow("lead before CR LF") << hex("9f0d0a") << s(0x9F) + QStringLiteral("\r\n");
    QTest::newRow("two leads then trail") << hex("818181") << QStringLiteral("＝") + s(0x81);
}

void TestCp932::invalidBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    const QString decoded = Cp932::decode(bytes);
    QCOMPARE(showText(decoded), showText(text));
    const Cp932::Encoded encoded = Cp932::encode(decoded);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.bytes.toHex(), bytes.toHex());
}

void TestCp932::duplicateCodesKeepTheFilesCode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");   // with a record

    const QString vs1 = QString(QChar(0xFE00));
    const QString vs2 = QString(QChar(0xFE01));
    const QString vs3 = QString(QChar(0xFE02));
    QTest::newRow("NEC row 13 throughout") << hex("87900d0a8790") << QStringLiteral("≒\r\n≒");
    QTest::newRow("NEC-selected kanji throughout") << hex("ed40ed40") << QStringLiteral("纊纊");
    QTest::newRow("standard then NEC") << hex("81e08790") << QStringLiteral("≒≒") + vs2;
    QTest::newRow("NEC then standard") << hex("879081e0") << QStringLiteral("≒≒") + vs1;
    QTest::newRow("IBM kanji then NEC-selected") << hex("fa5ced40fa5c") << QStringLiteral("纊纊") + vs2 + QStringLiteral("纊");
    QTest::newRow("three codes of because") << hex("879a81e6fa5b879a")
                                            << QStringLiteral("∵∵") + vs1 + QStringLiteral("∵") + vs3 + QStringLiteral("∵");
    QTest::newRow("three codes of not") << hex("fa54eef981ca") << QStringLiteral("￢￢") + vs2 + QStringLiteral("￢") + vs1;
}

void TestCp932::duplicateCodesKeepTheFilesCode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    Cp932::Alternates record;
    const QString decoded = Cp932::decode(bytes, &record);
    QCOMPARE(showText(decoded), showText(text));
    const Cp932::Encoded encoded = Cp932::encode(decoded, &record);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.bytes.toHex(), bytes.toHex());

    // The same through a document file and without a record.
    const pel::DecodedText file = pel::decodeTextFile(bytes);
    QVERIFY(onlyVisibleCharacters(file.text));
    QCOMPARE(file.text.size(), text.size() - text.count(QRegularExpression(QStringLiteral("[\uFE00-\uFE0F]"))) - text.count(u'\r'));
    QCOMPARE(reopened(bytes).toHex(), bytes.toHex());
    const Cp932::Encoded plain = Cp932::encode(Cp932::decode(bytes));
    QVERIFY(plain.ok());
    QCOMPARE(plain.bytes.toHex(), bytes.toHex());
}

void TestCp932::everyDuplicateCodeRoundTripsPerDocument()
{
    // Found from the tables: every pair whose character encodes to another code.
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLead(lead))
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const QByteArray alternate = pairBytes(lead, trail);
            Cp932::Alternates probe;
            const QString c = Cp932::decode(alternate, &probe);
            if (probe.isEmpty())
                continue;
            const QByteArray standard = Cp932::encode(c).bytes;
            QVERIFY(standard.size() == 2 && standard != alternate);

            // A document written with the alternate code throughout.
            const QByteArray document = alternate + "\r\n" + alternate + alternate;
            const pel::DecodedText file = pel::decodeTextFile(document);
            QCOMPARE(file.text, c + u'\n' + c + c);
            QCOMPARE(file.marks.size(), 3);
            QCOMPARE(reopened(document).toHex(), document.toHex());
            // The same text without the marks, as typed or pasted, takes the standard code.
            QCOMPARE(pel::encodeTextFile(file.text).bytes.toHex(),
                     QByteArray(standard + "\r\n" + standard + standard).toHex());
            // A document mixing both codes.
            const QByteArray mixed = standard + alternate + standard;
            QCOMPARE(pel::decodeTextFile(mixed).text, c + c + c);
            QCOMPARE(reopened(mixed).toHex(), mixed.toHex());
            ++checked;
        }
    }
    QCOMPARE(checked, 398);
}

void TestCp932::marksOnlyCountOnTheirCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<pel::CodeMarks>("marks");
    QTest::addColumn<QByteArray>("bytes");   // empty: refused at failedAt
    QTest::addColumn<qsizetype>("failedAt");

    const QChar standIn = QChar::ObjectReplacementCharacter;
    QTest::newRow("stand-in") << QString(standIn) + u' ' << pel::CodeMarks{{0, 0x81}} << hex("8120") << qsizetype(-1);
    QTest::newRow("NEC code") << QStringLiteral("≒≒") << pel::CodeMarks{{1, 0x8790}} << hex("81e08790") << qsizetype(-1);
    QTest::newRow("byte mark on a letter") << QStringLiteral("AB") << pel::CodeMarks{{1, 0x81}} << hex("4142") << qsizetype(-1);
    QTest::newRow("another character's code") << QStringLiteral("≒") << pel::CodeMarks{{0, 0xFA4A}} << hex("81e0") << qsizetype(-1);
    QTest::newRow("marks beyond the text") << QStringLiteral("a") << pel::CodeMarks{{5, 0x81}} << hex("61") << qsizetype(-1);
    QTest::newRow("stand-in without a mark") << QStringLiteral("ab") + standIn << pel::CodeMarks{} << QByteArray() << qsizetype(2);
    QTest::newRow("typed private-use stand-in") << QStringLiteral("a") + QChar(0xF780) << pel::CodeMarks{{1, 0x80}} << QByteArray() << qsizetype(1);
    QTest::newRow("typed selector after NEC candidate") << QStringLiteral("≒") + QChar(0xFE01) << pel::CodeMarks{} << QByteArray() << qsizetype(1);
    QTest::newRow("typed NUL stand-in") << QString(QChar(0xF700)) << pel::CodeMarks{} << QByteArray() << qsizetype(0);
}

void TestCp932::marksOnlyCountOnTheirCharacter()
{
    QFETCH(QString, text);
    QFETCH(pel::CodeMarks, marks);
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, failedAt);

    const pel::EncodedText encoded = pel::encodeTextFile(text, marks);
    QCOMPARE(encoded.bytes.toHex(), bytes.toHex());
    QCOMPARE(encoded.failedAt, failedAt);
    QCOMPARE(encoded.failure, bytes.isEmpty() ? pel::EncodedText::Failure::NoCode : pel::EncodedText::Failure::None);
}

void TestCp932::joiningBytesAreRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qsizetype>("removeAt");   // one character deleted before saving
    QTest::addColumn<qsizetype>("failedAt");   // -1: saves

    QTest::newRow("lead byte meets a trail") << hex("812041") << qsizetype(1) << qsizetype(0);
    QTest::newRow("lead byte meets a stand-in") << hex("8220a0") << qsizetype(1) << qsizetype(0);
    QTest::newRow("stray CR and LF become a break") << QByteArray("a\r\nb\rX\nc\r\n") << qsizetype(4) << qsizetype(3);
    QTest::newRow("lead byte meets a space") << hex("81202041") << qsizetype(1) << qsizetype(-1);
    QTest::newRow("lead byte at the end") << hex("412081") << qsizetype(1) << qsizetype(-1);
}

void TestCp932::joiningBytesAreRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(qsizetype, removeAt);
    QFETCH(qsizetype, failedAt);

    pel::DecodedText decoded = pel::decodeTextFile(file);
    decoded.text.remove(removeAt, 1);
    for (pel::CodeMark& mark : decoded.marks) {
        QVERIFY(mark.position != removeAt);
        if (mark.position > removeAt)
            --mark.position;
    }
    const pel::EncodedText saved = pel::encodeTextFile(decoded.text, decoded.marks, decoded.spelling);
    QCOMPARE(saved.failedAt, failedAt);
    if (failedAt >= 0) {
        QCOMPARE(saved.failure, pel::EncodedText::Failure::Merges);
        QVERIFY(saved.bytes.isEmpty());
    } else {
        QVERIFY(saved.ok());
        QCOMPARE(pel::decodeTextFile(saved.bytes).text, decoded.text);
    }
}

void TestCp932::unencodableCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("failedAt");

    QTest::newRow("emoji") << QStringLiteral("あい😀う") << qsizetype(2);
    QTest::newRow("e acute in the middle") << QStringLiteral("caf\u00e9s") << qsizetype(3);
    QTest::newRow("first of several") << QStringLiteral("ab\u00e9\u00e9") << qsizetype(2);
    QTest::newRow("at the start") << QStringLiteral("\u00e9") << qsizetype(0);
    QTest::newRow("yen sign is not backslash") << QStringLiteral("x\u00a5") << qsizetype(1);
    QTest::newRow("lone low surrogate") << QString(QChar(0xDC00)) + QStringLiteral("a") << qsizetype(0);
    QTest::newRow("lone high surrogate at end") << QStringLiteral("a") + QChar(0xD83D) << qsizetype(1);
    QTest::newRow("selector after a plain character") << QStringLiteral("a") + QChar(0xFE00) << qsizetype(1);
    QTest::newRow("selector beyond the codes") << QStringLiteral("≒") + QChar(0xFE02) << qsizetype(1);
    QTest::newRow("private use that is no stand-in") << QStringLiteral("あ") + QChar(0xF741) << qsizetype(1);
    QTest::newRow("after a line break") << QStringLiteral("a\nb\u00e9") << qsizetype(3);
}

void TestCp932::unencodableCharacters()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, failedAt);

    const Cp932::Encoded encoded = Cp932::encode(text);
    QVERIFY(!encoded.ok());
    QCOMPARE(encoded.failedAt, failedAt);
    QVERIFY(!encoded.bytes.contains('?'));
    const pel::EncodedText file = pel::encodeTextFile(text);
    QCOMPARE(file.failedAt, failedAt);
}

void TestCp932::jisFormsTakeTheCodePagesCode_data()
{
    QTest::addColumn<QString>("jis");       // as Linux input methods type it
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("reading");   // the code page's character of that code

    QTest::newRow("wave dash") << u"\u301c"_s << hex("8160") << u"\uff5e"_s;
    QTest::newRow("double vertical line") << u"\u2016"_s << hex("8161") << u"\u2225"_s;
    QTest::newRow("minus sign") << u"\u2212"_s << hex("817c") << u"\uff0d"_s;
    QTest::newRow("cent sign") << u"\u00a2"_s << hex("8191") << u"\uffe0"_s;
    QTest::newRow("pound sign") << u"\u00a3"_s << hex("8192") << u"\uffe1"_s;
    QTest::newRow("not sign") << u"\u00ac"_s << hex("81ca") << u"\uffe2"_s;
    QTest::newRow("em dash") << u"\u2014"_s << hex("815c") << u"\u2015"_s;
}

void TestCp932::jisFormsTakeTheCodePagesCode()
{
    QFETCH(QString, jis);
    QFETCH(QByteArray, code);
    QFETCH(QString, reading);

    const QString text = u"10時"_s + jis + u"12時"_s;
    const QByteArray bytes = hex("31308e9e") + code + hex("31328e9e");
    // Phrases.
    const Cp932::Encoded phrase = Cp932::encode(text);
    QVERIFY(phrase.ok());
    QCOMPARE(phrase.bytes.toHex(), bytes.toHex());
    QCOMPARE(showText(Cp932::decode(phrase.bytes)), showText(u"10時"_s + reading + u"12時"_s));
    // Documents, also one whose stand-in makes the save read its bytes back.
    pel::EncodedText saved = pel::encodeTextFile(text);
    QVERIFY(saved.ok());
    QCOMPARE(saved.bytes.toHex(), bytes.toHex());
    pel::DecodedText file = pel::decodeTextFile(hex("80") + code);
    file.text.insert(1, jis);
    saved = pel::encodeTextFile(file.text, file.marks, file.spelling);
    QVERIFY(saved.ok());
    QCOMPARE(saved.bytes.toHex(), (hex("80") + code + code).toHex());
    QCOMPARE(Cp932::codePageForm(jis.at(0)), reading.at(0));
    // Every other code page character keeps to its own code.
    QCOMPARE(Cp932::encode(reading).bytes.toHex(), code.toHex());
}

void TestCp932::lineBreaks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<LineBreak>("lineBreak");

    // Stand-ins for stray break bytes and NUL.
    const QString cr = QString(QChar::ObjectReplacementCharacter);
    const QString lf = cr;
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n") << LineBreak::CrLf;
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringLiteral("a\nb\n") << LineBreak::Lf;
    QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringLiteral("a\nb\n") << LineBreak::Cr;
    QTest::newRow("no trailing break") << QByteArray("a\r\nb") << QStringLiteral("a\nb") << LineBreak::CrLf;
    QTest::newRow("no break") << QByteArray("abc") << QStringLiteral("abc") << LineBreak::CrLf;
    QTest::newRow("only a break") << QByteArray("\n") << QStringLiteral("\n") << LineBreak::Lf;
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\r\n") << QStringLiteral("\n\n\n") << LineBreak::CrLf;
    QTest::newRow("mixed, mostly CR LF") << QByteArray("a\r\nb\nc\rd\r\n")
                                         << QStringLiteral("a\nb") + lf + QStringLiteral("c") + cr + QStringLiteral("d\n")
                                         << LineBreak::CrLf;
    QTest::newRow("mixed, mostly LF") << QByteArray("a\nb\r\nc\n")
                                      << QStringLiteral("a\nb") + cr + QStringLiteral("\nc\n") << LineBreak::Lf;
    QTest::newRow("mixed, mostly CR") << QByteArray("a\rb\r\nc\r")
                                      << QStringLiteral("a\nb\n") + lf + QStringLiteral("c\n") << LineBreak::Cr;
    QTest::newRow("tie goes to CR LF") << QByteArray("a\r\nb\n") << QStringLiteral("a\nb") + lf << LineBreak::CrLf;
    QTest::newRow("tie of LF and CR") << QByteArray("a\nb\r") << QStringLiteral("a\nb") + cr << LineBreak::Lf;
    QTest::newRow("CR before CR LF") << QByteArray("a\r\r\n") << QStringLiteral("a") + cr + QStringLiteral("\n")
                                     << LineBreak::CrLf;
    QTest::newRow("trailing lone CR") << QByteArray("a\r\nb\r") << QStringLiteral("a\nb") + cr << LineBreak::CrLf;
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringLiteral("a\n") + cr + QStringLiteral("b")
                                         << LineBreak::Lf;
    QTest::newRow("NUL is visible") << QByteArray("a\0b\r\n", 5) << QStringLiteral("a") + cr + QStringLiteral("b\n")
                                    << LineBreak::CrLf;
    QTest::newRow("Japanese lines") << hex("82a082a20d0a93fa967b0d0a") << QStringLiteral("あい\n日本\n") << LineBreak::CrLf;
    QTest::newRow("lead byte before the break") << hex("41820a420a") << QStringLiteral("A") + cr + QStringLiteral("\nB\n")
                                                << LineBreak::Lf;
}

void TestCp932::lineBreaks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(LineBreak, lineBreak);

    const pel::DecodedText file = pel::decodeTextFile(bytes);
    QCOMPARE(showText(file.text), showText(text));
    QCOMPARE(file.spelling.lineBreak, lineBreak);
    QCOMPARE(file.marks.size(), file.text.count(QChar::ObjectReplacementCharacter));
    QCOMPARE(reopened(bytes).toHex(), bytes.toHex());
}

void TestCp932::breaksWrittenAsSpelled_data()
{
    QTest::addColumn<LineBreak>("lineBreak");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("CR LF") << LineBreak::CrLf << QByteArray("\x82\xa0\r\n\r\nb\xf7");
    QTest::newRow("LF") << LineBreak::Lf << QByteArray("\x82\xa0\n\nb\xf7");
    QTest::newRow("CR") << LineBreak::Cr << QByteArray("\x82\xa0\r\rb\xf7");
}

void TestCp932::breaksWrittenAsSpelled()
{
    QFETCH(LineBreak, lineBreak);
    QFETCH(QByteArray, bytes);

    TextSpelling spelling;
    spelling.lineBreak = lineBreak;
    // Typed text: a new document's breaks and a stand-in kept from elsewhere.
    const pel::EncodedText encoded
        = pel::encodeTextFile(QStringLiteral("あ\n\nb") + QChar::ObjectReplacementCharacter, {{4, 0xF7}}, spelling);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.bytes.toHex(), bytes.toHex());
    // The bare codec keeps '\n' as LF.
    QCOMPARE(Cp932::encode(u"\n\r").bytes, QByteArray("\n\r"));
}

void TestCp932::randomBytesRoundTrip()
{
    QRandomGenerator random(932);
    for (int i = 0; i < 5000; ++i) {
        const QByteArray bytes = randomBytes(random, random.bounded(400));

        const Cp932::Encoded plain = Cp932::encode(Cp932::decode(bytes));
        QVERIFY2(plain.ok() && plain.bytes == bytes, qPrintable(QString::fromLatin1(bytes.toHex())));

        Cp932::Alternates record;
        const QString text = Cp932::decode(bytes, &record);
        const Cp932::Encoded recorded = Cp932::encode(text, &record);
        QVERIFY2(recorded.ok() && recorded.bytes == bytes, qPrintable(QString::fromLatin1(bytes.toHex())));

        const pel::DecodedText file = pel::decodeTextFile(bytes);
        QVERIFY(!file.text.contains(u'\r'));
        QVERIFY(!file.text.contains(QChar(0)));
        QVERIFY(onlyVisibleCharacters(file.text));
        QVERIFY2(reopened(bytes) == bytes, qPrintable(QString::fromLatin1(bytes.toHex())));
    }
}

void TestCp932::emptyInput()
{
    Cp932::Alternates record;
    QVERIFY(Cp932::decode(QByteArrayView(), &record).isEmpty());
    QVERIFY(record.isEmpty());
    const Cp932::Encoded encoded = Cp932::encode(QStringView());
    QVERIFY(encoded.ok());
    QVERIFY(encoded.bytes.isEmpty());
    const pel::DecodedText file = pel::decodeTextFile(QByteArray());
    QVERIFY(file.text.isEmpty());
    QCOMPARE(file.spelling.lineBreak, LineBreak::CrLf);
    const pel::EncodedText saved = pel::encodeTextFile(QString(), {}, file.spelling);
    QVERIFY(saved.ok());
    QVERIFY(saved.bytes.isEmpty());
}

void TestCp932::editorLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toEditor");
    QTest::addColumn<QString>("toFile");
    QTest::addColumn<QString>("toNewlines");
    const QString para(QChar::ParagraphSeparator), line(QChar::LineSeparator);
    QTest::newRow("empty") << QString() << QString() << QString() << QString();
    QTest::newRow("cr lf") << u"a\r\nb"_s << u"a\nb"_s << u"a\r\nb"_s << u"a\r\nb"_s;
    QTest::newRow("lone cr") << u"a\rb\r"_s << u"a\rb\r"_s << u"a\rb\r"_s << u"a\rb\r"_s;
    QTest::newRow("lone lf") << u"\na\n"_s << u"\na\n"_s << u"\na\n"_s << u"\na\n"_s;
    QTest::newRow("lf cr") << u"a\n\rb"_s << u"a\n\rb"_s << u"a\n\rb"_s << u"a\n\rb"_s;
    QTest::newRow("cr cr lf") << u"\r\r\n"_s << u"\r\n"_s << u"\r\r\n"_s << u"\r\r\n"_s;
    QTest::newRow("paragraph") << u"a"_s + para + u"b"_s << u"a"_s + para + u"b"_s << u"a\r\nb"_s << u"a\nb"_s;
    QTest::newRow("line separator") << line + line << line + line << u"\r\n\r\n"_s << u"\n\n"_s;
    QTest::newRow("mixed") << para + u"\r\n"_s + line << para + u"\n"_s + line << u"\r\n\r\n\r\n"_s
                           << u"\n\r\n\n"_s;
}

void TestCp932::editorLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, toEditor);
    QFETCH(QString, toFile);
    QFETCH(QString, toNewlines);
    QCOMPARE(pel::lineBreaks::toEditor(text), toEditor);
    QCOMPARE(pel::lineBreaks::toFile(text), toFile);
    QCOMPARE(pel::lineBreaks::toNewlines(text), toNewlines);
}

QTEST_MAIN(TestCp932)
#include "tst_cp932.moc"
