#include "tools/DateTimeFormat.h"

#include "platform/LocaleInfo.h"

namespace {

// Length of the run of `letter` (either case) starting at `from`.
qsizetype runLength(const QString& text, qsizetype from, QChar letter)
{
    qsizetype end = from;
    while (end < text.size() && text.at(end).toLower() == letter)
        ++end;
    return end - from;
}

bool startsWithAt(const QString& text, qsizetype from, QLatin1StringView word)
{
    return QStringView(text).mid(from, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

QString number(int value, bool padded)
{
    return padded ? QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')) : QString::number(value);
}

} // namespace

DateTimeFormat::DateTimeFormat(const QString& pattern)
    : pattern_(pattern)
{
    // The nearest field before the current position, for telling minutes from months.
    Field lastField = Field::Literal;
    auto addField = [&](Field field, bool padded) {
        tokens_.append({field, padded, {}});
        lastField = field;
    };
    auto addLiteral = [&](const QString& text) {
        if (text.isEmpty())
            return;
        if (!tokens_.isEmpty() && tokens_.last().field == Field::Literal)
            tokens_.last().text += text;
        else
            tokens_.append({Field::Literal, false, text});
    };

    qsizetype i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern.at(i);
        const QChar lower = c.toLower();
        if (c == u'"') {
            const qsizetype close = pattern.indexOf(u'"', i + 1);
            if (close < 0) {
                addLiteral(pattern.mid(i + 1));
                break;
            }
            addLiteral(pattern.mid(i + 1, close - i - 1));
            i = close + 1;
        } else if (lower == u'y') {
            const qsizetype n = runLength(pattern, i, u'y');
            addField(n <= 2 ? Field::Year2 : Field::Year4, true);
            i += n;
        } else if (lower == u'm' || lower == u'd' || lower == u'h' || lower == u's') {
            const qsizetype n = runLength(pattern, i, lower);
            Field field = Field::Second;
            if (lower == u'm')
                field = (lastField == Field::Hour) ? Field::Minute : Field::Month;
            else if (lower == u'd')
                field = Field::Day;
            else if (lower == u'h')
                field = Field::Hour;
            addField(field, n >= 2);
            i += n;
        } else if (startsWithAt(pattern, i, QLatin1StringView("ampm"))) {
            addField(Field::AmPm, false);
            twelveHour_ = true;
            i += 4;
        } else if (startsWithAt(pattern, i, QLatin1StringView("aaaa"))) {
            addField(Field::Weekday, false);
            i += 4;
        } else if (startsWithAt(pattern, i, QLatin1StringView("ggg"))) {
            addField(Field::Era, false);
            i += runLength(pattern, i, u'g');
        } else {
            addLiteral(QString(c));
            ++i;
        }
    }
}

QString DateTimeFormat::format(const QDateTime& when) const
{
    const QDate date = when.date();
    const QTime time = when.time();
    QString out;
    for (const Token& token : tokens_) {
        switch (token.field) {
        case Field::Literal:
            out += token.text;
            break;
        case Field::Year2:
            out += number(date.year() % 100, true);
            break;
        case Field::Year4:
            out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            break;
        case Field::Month:
            out += number(date.month(), token.padded);
            break;
        case Field::Minute:
            out += number(time.minute(), token.padded);
            break;
        case Field::Day:
            out += number(date.day(), token.padded);
            break;
        case Field::Hour: {
            int hour = time.hour();
            if (twelveHour_) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += number(hour, token.padded);
            break;
        }
        case Field::Second:
            out += number(time.second(), token.padded);
            break;
        case Field::Weekday:
            out += pel::LocaleInfo::weekdayName(date);
            break;
        case Field::Era:
            out += pel::LocaleInfo::eraName(date);
            break;
        case Field::AmPm:
            out += time.hour() < 12 ? pel::LocaleInfo::amDesignator() : pel::LocaleInfo::pmDesignator();
            break;
        }
    }
    return out;
}

QString DateTimeFormat::format(const QString& pattern, const QDateTime& when)
{
    return DateTimeFormat(pattern).format(when);
}
