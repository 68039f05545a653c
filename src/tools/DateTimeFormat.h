#pragma once
#include <QDateTime>
#include <QList>
#include <QString>

// A date and time format of the kind the time tool's labels use, parsed once
// and applied to any moment. Letters are case-insensitive:
//
//   yyyy / yy      year in four digits / year modulo 100 in two digits
//                  (a run of one or two y is the short form, three or more the long one)
//   mm / m         month with / without leading zero, or minutes when the
//                  nearest field before it is an hour (literals in between do not count)
//   dd / d, hh / h, ss / s
//                  day, hour, second with / without leading zero
//                  (any run of two or more letters is the two-digit form)
//   aaaa           the locale's full weekday name
//   ggg            the era name of the locale's alternate calendar, without a year
//   ampm           the morning or afternoon designator; puts every hour of the
//                  format on the 12-hour clock (0 shows as 12, 13 as 1)
//   "text"         copied unchanged; "" gives nothing, and an unclosed quote
//                  copies the rest of the format (nothing when it is the last character)
//
// Everything else, spaces and other letters included, is copied as it is.
class DateTimeFormat {
public:
    DateTimeFormat() = default;
    explicit DateTimeFormat(const QString& pattern);

    QString pattern() const { return pattern_; }
    QString format(const QDateTime& when) const;

    static QString format(const QString& pattern, const QDateTime& when);

private:
    enum class Field { Literal, Year2, Year4, Month, Minute, Day, Hour, Second, Weekday, Era, AmPm };
    struct Token {
        Field field = Field::Literal;
        bool padded = false;
        QString text;  // for literals
    };

    QString pattern_;
    QList<Token> tokens_;
    bool twelveHour_ = false;
};
