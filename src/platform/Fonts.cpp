#include "platform/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace pel {

QFont japaneseFont(int pixels, bool bold)
{
    QFont font(japaneseFamily());
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void installFontSubstitutions()
{
    // The Japanese fonts here have no bold face: bold is drawn by thickening
    // the strokes, which the toolkit stops doing from 64 pixels up, so the
    // about box's large bold title would come out regular.
    if (!qEnvironmentVariableIsSet("QT_NO_SYNTHESIZED_BOLD_LIMIT"))
        qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
    const QStringList families = QFontDatabase::families();
    auto available = [&](const QStringList& candidates) {
        QStringList found;
        for (const QString& name : candidates)
            if (families.contains(name, Qt::CaseInsensitive))
                found << name;
        return found;
    };
    // Under a Japanese locale the font database names the IPA fonts in
    // Japanese. They come first: their line height matches the fonts the
    // windows were laid out for, where Noto's is half as high again.
    const QStringList proportional = available({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                                                QStringLiteral("Noto Sans CJK JP"),
                                                QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
    const QStringList fixed = available({QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                                         QStringLiteral("Noto Sans Mono CJK JP"),
                                         QStringLiteral("Noto Sans CJK JP")});
    const QStringList mincho = available({QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝"),
                                          QStringLiteral("IPAPMincho"), QStringLiteral("IPA P明朝"),
                                          QStringLiteral("Noto Serif CJK JP")});
    for (const QString& name : {japaneseFamily(), QStringLiteral("MS PGothic"), QStringLiteral("ＭＳ ＵＩ ゴシック")})
        QFont::insertSubstitutions(name, proportional);
    for (const QString& name : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")})
        QFont::insertSubstitutions(name, fixed);
    for (const QString& name : {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＭＳ 明朝")})
        QFont::insertSubstitutions(name, mincho);
}

} // namespace pel
