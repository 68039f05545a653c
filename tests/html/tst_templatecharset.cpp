#include "html/TemplateCharset.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using pel::TextEncoding;

Q_DECLARE_METATYPE(pel::TextEncoding)

class TestTemplateCharset : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void declarationNamesTheDocumentsEncoding_data();
    void declarationNamesTheDocumentsEncoding();
};

void TestTemplateCharset::declarationNamesTheDocumentsEncoding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("result");

    const QString meta = u"<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">\n"_s;
    QTest::newRow("code page 932 keeps the template") << meta << TextEncoding::Cp932 << meta;
    QTest::newRow("UTF-8") << meta << TextEncoding::Utf8
                           << u"<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"_s;
    QTest::newRow("EUC-JP") << meta << TextEncoding::EucJp
                            << u"<HEAD>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=EUC-JP\">\n"_s;
    QTest::newRow("UTF-16BE") << u"<meta charset=\"shift_jis\">"_s << TextEncoding::Utf16Be
                              << u"<meta charset=\"UTF-16\">"_s;
    QTest::newRow("other spellings, spaces") << u"charset = x-sjis; CHARSET=Shift-JIS"_s << TextEncoding::Iso2022Jp
                                             << u"charset = ISO-2022-JP; CHARSET=ISO-2022-JP"_s;
    QTest::newRow("another declared charset stays") << u"charset=Shift_JISX0213 charset=ISO-8859-1"_s
                                                    << TextEncoding::Utf8 << u"charset=Shift_JISX0213 charset=ISO-8859-1"_s;
    QTest::newRow("Shift_JIS outside a declaration stays") << u"文字コードはShift_JISです"_s << TextEncoding::Utf8
                                                           << u"文字コードはShift_JISです"_s;
}

void TestTemplateCharset::declarationNamesTheDocumentsEncoding()
{
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, result);
    QCOMPARE(pel::html::withDocumentCharset(text, encoding), result);
}

QTEST_MAIN(TestTemplateCharset)
#include "tst_templatecharset.moc"
