#include "platform/LocaleInfo.h"

#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <QRegularExpression>
#include <memory>

namespace pel {
namespace {

QString& currentLocale()
{
    static QString name = QStringLiteral("ja_JP");
    return name;
}

icu::Locale icuLocale(const char* keywords = nullptr)
{
    QByteArray id = currentLocale().toLatin1();
    if (keywords)
        id += keywords;
    return icu::Locale(id.constData());
}

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

// Noon of `date` in local time, as ICU's milliseconds since the epoch.
UDate noonOf(const QDate& date)
{
    return UDate(QDateTime(date, QTime(12, 0)).toMSecsSinceEpoch());
}

QString formatWith(icu::DateFormat* format, UDate when)
{
    if (!format)
        return {};
    icu::UnicodeString out;
    format->format(when, out);
    return fromIcu(out);
}

QString formatPattern(const char* pattern, UDate when, const char* keywords = nullptr)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(icu::UnicodeString::fromUTF8(pattern), icuLocale(keywords), status);
    if (U_FAILURE(status))
        return {};
    return formatWith(&format, when);
}

} // namespace

void LocaleInfo::setLocaleName(const QString& icuLocaleName)
{
    currentLocale() = icuLocaleName;
}

QString LocaleInfo::localeName()
{
    return currentLocale();
}

QString LocaleInfo::shortDate(const QDate& date)
{
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(icu::DateFormat::kShort, icuLocale()));
    // Windows-style short dates carry the full year; ICU's ja pattern is "y/MM/dd".
    if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get())) {
        icu::UnicodeString pattern;
        simple->toPattern(pattern);
        QString p = fromIcu(pattern);
        if (!p.contains(QLatin1String("yyyy"))) {
            p.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
            simple->applyPattern(icu::UnicodeString(reinterpret_cast<const UChar*>(p.utf16()), int32_t(p.size())));
        }
    }
    return formatWith(format.get(), noonOf(date));
}

QString LocaleInfo::longDate(const QDate& date)
{
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateInstance(icu::DateFormat::kLong, icuLocale()));
    return formatWith(format.get(), noonOf(date));
}

QString LocaleInfo::longTime(const QTime& time)
{
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, icuLocale()));
    const UDate when = UDate(QDateTime(QDate(2000, 1, 1), time).toMSecsSinceEpoch());
    return formatWith(format.get(), when);
}

QString LocaleInfo::eraName(const QDate& date)
{
    return formatPattern("GGGG", noonOf(date), "@calendar=japanese");
}

QString LocaleInfo::weekdayName(const QDate& date)
{
    return formatPattern("EEEE", noonOf(date));
}

QString LocaleInfo::amDesignator()
{
    return formatPattern("a", UDate(QDateTime(QDate(2000, 1, 1), QTime(9, 0)).toMSecsSinceEpoch()));
}

QString LocaleInfo::pmDesignator()
{
    return formatPattern("a", UDate(QDateTime(QDate(2000, 1, 1), QTime(15, 0)).toMSecsSinceEpoch()));
}

} // namespace pel
