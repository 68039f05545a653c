#include "platform/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace pel {

void installFontSubstitutions()
{
    const QStringList families = QFontDatabase::families();
    auto available = [&](const QStringList& candidates) {
        QStringList found;
        for (const QString& name : candidates)
            if (families.contains(name, Qt::CaseInsensitive))
                found << name;
        return found;
    };
    const QStringList proportional = available({QStringLiteral("IPAPGothic"),
                                                QStringLiteral("Noto Sans CJK JP"),
                                                QStringLiteral("IPAGothic")});
    const QStringList fixed = available({QStringLiteral("IPAGothic"),
                                         QStringLiteral("Noto Sans Mono CJK JP"),
                                         QStringLiteral("Noto Sans CJK JP")});
    const QStringList mincho = available({QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho"),
                                          QStringLiteral("Noto Serif CJK JP")});
    for (const QString& name : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                QStringLiteral("ＭＳ ＵＩ ゴシック")})
        QFont::insertSubstitutions(name, proportional);
    for (const QString& name : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")})
        QFont::insertSubstitutions(name, fixed);
    for (const QString& name : {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＭＳ 明朝")})
        QFont::insertSubstitutions(name, mincho);
}

} // namespace pel
