#include "platform/LocaleInfo.h"
#include "tools/DateTimeFormat.h"

#include <QTest>

// The time tool's eight label formats.
static const QString kFormat1 = QStringLiteral("\"\"ggg\"年\"mm\"月\"dd\"日(\"aaaa\")\"");
static const QString kFormat2 = QStringLiteral("\"\"ggg\"年\"m\"月\"d\"日(\"aaaa\")\"");
static const QString kFormat3 = QStringLiteral("\"\"ampm hh\"時\" mm\"分\" ss\"秒\"");
static const QString kFormat4 = QStringLiteral("\"\"ampm h\"時\" m\"分\" s\"秒\"");
static const QString kFormat5 = QStringLiteral("\"\"yyyy\"/\"mm\"/\"dd\"");
static const QString kFormat6 = QStringLiteral("\"\"yyyy\"/\"m\"/\"d\"");
static const QString kFormat7 = QStringLiteral("\"\"yy\"/\"mm\"/\"dd\"");
static const QString kFormat8 = QStringLiteral("\"\"yy\"/\"m\"/\"d\"");

static QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

class TestDateTimeFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { pel::LocaleInfo::setLocaleName(QStringLiteral("ja_JP")); }
    void cleanup() { pel::LocaleInfo::setLocaleName(QStringLiteral("ja_JP")); }

    void labelFormats_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("expected");

        const QDateTime monday = at(2026, 12, 7, 13, 5, 9);
        QTest::newRow("1 era, two-digit month and day") << kFormat1 << monday << u"令和年12月07日(月曜日)"_qs;
        QTest::newRow("2 era, one-digit month and day") << kFormat2 << monday << u"令和年12月7日(月曜日)"_qs;
        QTest::newRow("3 afternoon, two digits") << kFormat3 << monday << u"午後 01時 05分 09秒"_qs;
        QTest::newRow("4 afternoon, one digit") << kFormat4 << monday << u"午後 1時 5分 9秒"_qs;
        QTest::newRow("5 four-digit year") << kFormat5 << monday << u"2026/12/07"_qs;
        QTest::newRow("6 four-digit year, one digit") << kFormat6 << monday << u"2026/12/7"_qs;
        QTest::newRow("7 two-digit year") << kFormat7 << monday << u"26/12/07"_qs;
        QTest::newRow("8 two-digit year, one digit") << kFormat8 << monday << u"26/12/7"_qs;

        // The 12-hour clock at its edges.
        QTest::newRow("00:30 is 12 in the morning") << kFormat3 << at(2026, 1, 5, 0, 30, 0) << u"午前 12時 30分 00秒"_qs;
        QTest::newRow("00:30 one digit") << kFormat4 << at(2026, 1, 5, 0, 30, 0) << u"午前 12時 30分 0秒"_qs;
        QTest::newRow("noon is 12 in the afternoon") << kFormat3 << at(2026, 1, 5, 12, 0, 0) << u"午後 12時 00分 00秒"_qs;
        QTest::newRow("11:59:59") << kFormat3 << at(2026, 1, 5, 11, 59, 59) << u"午前 11時 59分 59秒"_qs;
        QTest::newRow("23:59:59") << kFormat4 << at(2026, 1, 5, 23, 59, 59) << u"午後 11時 59分 59秒"_qs;
        QTest::newRow("01:00") << kFormat4 << at(2026, 1, 5, 1, 0, 0) << u"午前 1時 0分 0秒"_qs;

        // Dates.
        QTest::newRow("1 March") << kFormat2 << at(2026, 3, 1, 9) << u"令和年3月1日(日曜日)"_qs;
        QTest::newRow("1 March padded") << kFormat1 << at(2026, 3, 1, 9) << u"令和年03月01日(日曜日)"_qs;
        QTest::newRow("2005 two-digit year") << kFormat7 << at(2005, 6, 9) << u"05/06/09"_qs;
        QTest::newRow("2005 one-digit") << kFormat8 << at(2005, 6, 9) << u"05/6/9"_qs;
        QTest::newRow("2000 two-digit year") << kFormat7 << at(2000, 1, 1) << u"00/01/01"_qs;
        QTest::newRow("four-digit year below 1000") << kFormat5 << at(999, 2, 3) << u"0999/02/03"_qs;
        QTest::newRow("Saturday") << kFormat2 << at(2026, 12, 12) << u"令和年12月12日(土曜日)"_qs;

        // Era boundaries: the era changes at midnight.
        QTest::newRow("last day of Heisei") << kFormat1 << at(2019, 4, 30, 23, 59, 59) << u"平成年04月30日(火曜日)"_qs;
        QTest::newRow("first day of Reiwa") << kFormat1 << at(2019, 5, 1, 0, 0, 0) << u"令和年05月01日(水曜日)"_qs;
        QTest::newRow("last day of Showa") << kFormat2 << at(1989, 1, 7) << u"昭和年1月7日(土曜日)"_qs;
        QTest::newRow("first day of Heisei") << kFormat2 << at(1989, 1, 8) << u"平成年1月8日(日曜日)"_qs;
    }
    void labelFormats()
    {
        QFETCH(QString, pattern);
        QFETCH(QDateTime, when);
        QFETCH(QString, expected);
        QCOMPARE(DateTimeFormat::format(pattern, when), expected);
    }

    void language_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("expected");

        const QDateTime when = at(2026, 12, 7, 13, 5, 9);
        // Quotes.
        QTest::newRow("empty quotes give nothing") << u"\"\""_qs << when << QString();
        QTest::newRow("lone quote at the end gives nothing") << u"yy\""_qs << when << u"26"_qs;
        QTest::newRow("only a quote") << u"\""_qs << when << QString();
        QTest::newRow("unclosed quote copies the rest") << u"yy\"/mm"_qs << when << u"26/mm"_qs;
        QTest::newRow("quoted letters stay letters") << u"\"hh:mm\" hh"_qs << when << u"hh:mm 13"_qs;
        QTest::newRow("adjacent quotes") << u"\"a\"\"b\""_qs << when << u"ab"_qs;
        QTest::newRow("spaces are copied") << u"  d  "_qs << when << u"  7  "_qs;
        QTest::newRow("other characters are copied") << u"d/x-z:e"_qs << when << u"7/x-z:e"_qs;

        // m as month or minutes.
        QTest::newRow("m alone is the month") << u"m"_qs << when << u"12"_qs;
        QTest::newRow("m after h is minutes") << u"h:m"_qs << when << u"13:5"_qs;
        QTest::newRow("mm straight after hh") << u"hhmm"_qs << when << u"1305"_qs;
        QTest::newRow("literals between hour and minutes") << u"hh\"時\" \"x\" mm"_qs << when << u"13時 x 05"_qs;
        QTest::newRow("a field between makes it the month") << u"h d m"_qs << when << u"13 7 12"_qs;
        QTest::newRow("m before the hour is the month") << u"mm hh"_qs << when << u"12 13"_qs;
        QTest::newRow("second m after minutes is the month") << u"h m m"_qs << when << u"13 5 12"_qs;
        QTest::newRow("mm:ss without an hour is the month") << u"mm:ss"_qs << when << u"12:09"_qs;

        // Case and 12-hour clock.
        QTest::newRow("upper case letters") << u"YYYY/MM/DD HH:MM:SS"_qs << when << u"2026/12/07 13:05:09"_qs;
        QTest::newRow("upper case AMPM") << u"AMPM H"_qs << when << u"午後 1"_qs;
        QTest::newRow("24-hour clock without ampm") << u"hh h"_qs << at(2026, 1, 1, 0, 0) << u"00 0"_qs;
        QTest::newRow("ampm after the hour still applies") << u"hh ampm"_qs << when << u"01 午後"_qs;
        QTest::newRow("ampm applies to every hour") << u"h ampm h"_qs << at(2026, 1, 1, 0, 0) << u"12 午前 12"_qs;
        QTest::newRow("long runs are two-digit") << u"ddd"_qs << at(2026, 1, 2) << u"02"_qs;
        QTest::newRow("a single y is the short year") << u"y"_qs << when << u"26"_qs;
        QTest::newRow("three y are the long year") << u"yyy"_qs << when << u"2026"_qs;
        QTest::newRow("aaa is not a weekday") << u"aaa"_qs << when << u"aaa"_qs;
        QTest::newRow("gg is not an era") << u"gg"_qs << when << u"gg"_qs;
        QTest::newRow("era alone") << u"ggg"_qs << when << u"令和"_qs;
    }
    void language()
    {
        QFETCH(QString, pattern);
        QFETCH(QDateTime, when);
        QFETCH(QString, expected);
        QCOMPARE(DateTimeFormat(pattern).format(when), expected);
    }

    void parsedOnceAppliesToManyMoments()
    {
        const DateTimeFormat format(kFormat3);
        QCOMPARE(format.format(at(2026, 1, 1, 0, 0, 0)), u"午前 12時 00分 00秒"_qs);
        QCOMPARE(format.format(at(2026, 1, 1, 15, 4, 3)), u"午後 03時 04分 03秒"_qs);
        QCOMPARE(format.pattern(), kFormat3);
    }

    void namesFollowTheLocale()
    {
        pel::LocaleInfo::setLocaleName(QStringLiteral("en_US"));
        const QDateTime when = at(2026, 12, 7, 13, 5, 9);
        QCOMPARE(DateTimeFormat::format(u"ampm h \"x\" aaaa"_qs, when), u"PM 1 x Monday"_qs);
        QCOMPARE(DateTimeFormat::format(kFormat5, when), u"2026/12/07"_qs);  // slashes stay
    }
};

QTEST_MAIN(TestDateTimeFormat)
#include "tst_datetimeformat.moc"
