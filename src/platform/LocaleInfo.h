#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

namespace pel {

// The regional formats and names the program shows: the short and long date,
// the long time, era names of the locale's alternate calendar (the Japanese
// imperial calendar for Japanese), weekday names and the morning/afternoon
// designators. All from ICU; the locale is Japanese unless set otherwise.
class LocaleInfo {
public:
    static void setLocaleName(const QString& icuLocale);  // e.g. "ja_JP", "en_US"
    static QString localeName();

    static QString shortDate(const QDate& date);        // ja: 2026/12/07
    static QString longDate(const QDate& date);         // ja: 2026年12月7日
    static QString longTime(const QTime& time);         // ja: 13:05:09
    static QString eraName(const QDate& date);          // ja: 令和
    static QString weekdayName(const QDate& date);      // ja: 月曜日
    static QString amDesignator();                      // ja: 午前
    static QString pmDesignator();                      // ja: 午後
};

} // namespace pel
