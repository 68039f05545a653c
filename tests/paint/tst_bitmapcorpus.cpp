// A public bitmap test suite with good, questionable and bad files, and two
// files of another reader's tests (see bitmaps/README): each file opens as
// the paint form opens it and matches its reference picture, or is refused
// with a message, or is shown as damaged, as bitmaps/expected.txt says.
#include "paint/PictureFile.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace pel;

namespace {

// Bit-field colours are widened to 8 bits with rounding that may differ from
// the reference's by a few levels; anything more is a wrong colour.
constexpr int kLevels = 8;

} // namespace

class TestBitmapCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensAsExpected_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        const QDir dir(QStringLiteral(PEL_BITMAP_CORPUS));
        QFile list(dir.filePath(QStringLiteral("expected.txt")));
        QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
        int files = 0;
        while (!list.atEnd()) {
            const QString line = QString::fromUtf8(list.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
            QCOMPARE(fields.size(), 2);
            QTest::newRow(qPrintable(fields[0])) << dir.filePath(fields[0]) << fields[1];
            ++files;
        }
        // Every file of the suite is listed (and the two others).
        int present = 2;
        for (const QString& sub : {QStringLiteral("g"), QStringLiteral("q"), QStringLiteral("b")})
            present += int(QDir(dir.filePath(sub)).entryList({QStringLiteral("*.bmp")}, QDir::Files).size());
        QCOMPARE(files, present);
        QVERIFY(files >= 50);
    }
    void opensAsExpected()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        const PictureResult result = loadPictureFile(file);
        if (expected == u"refused") {
            QVERIFY(!result.picture);
            QVERIFY(!result.error.isEmpty());
            return;
        }
        QVERIFY2(result.picture, qPrintable(result.error));
        if (file.endsWith(u".bmp"))
            QCOMPARE(result.picture->image.format(), QImage::Format_RGB32);
        QCOMPARE(!result.warning.isEmpty(), expected == u"damaged");
        if (expected == u"shown" || expected == u"damaged")
            return;
        // A bitmap is shown as its colours, its alpha left out; where the
        // reference is wholly transparent it records no colour to compare.
        const QImage reference = QImage(QFileInfo(file).dir().filePath(QStringLiteral("../ref/") + expected))
                                     .convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!reference.isNull());
        const QImage& shown = result.picture->image;
        QCOMPARE(shown.size(), reference.size());
        qint64 differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb p = shown.pixel(x, y), q = reference.pixel(x, y);
                differing += qAlpha(q) != 0
                    && (std::abs(qRed(p) - qRed(q)) > kLevels || std::abs(qGreen(p) - qGreen(q)) > kLevels
                        || std::abs(qBlue(p) - qBlue(q)) > kLevels);
            }
        }
        QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
    }
};

QTEST_MAIN(TestBitmapCorpus)
#include "tst_bitmapcorpus.moc"
