// Metafiles as other programs write them: each file of the corpus is opened
// as the paint form opens it and compared with a rendering of the same file
// by another program (see metafiles/README).
#include "paint/PictureFile.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QtTest>

using namespace pel;

namespace {

// A pixel differs when no pixel of the reference within one pixel of it is
// within this many levels in every channel: edges drawn with or without
// smoothing, or half a pixel apart, do not count; a missing or extra shape
// does.
constexpr int kLevels = 40;
// A file passes when at most this share of its pixels differ.
constexpr double kMaxDiffering = 0.02;

QImage onWhite(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

bool near(QRgb p, QRgb q)
{
    return std::abs(qRed(p) - qRed(q)) <= kLevels && std::abs(qGreen(p) - qGreen(q)) <= kLevels
        && std::abs(qBlue(p) - qBlue(q)) <= kLevels;
}

double differingShare(const QImage& shown, const QImage& reference)
{
    qint64 differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            bool matched = false;
            for (int dy = -1; dy <= 1 && !matched; ++dy)
                for (int dx = -1; dx <= 1 && !matched; ++dx)
                    matched = reference.valid(x + dx, y + dy) && near(shown.pixel(x, y), reference.pixel(x + dx, y + dy));
            differing += matched ? 0 : 1;
        }
    }
    return double(differing) / (qint64(shown.width()) * shown.height());
}

} // namespace

class TestMetafileCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matchesTheReference_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(PEL_METAFILE_CORPUS));
        const QStringList files = dir.entryList({QStringLiteral("*.emf"), QStringLiteral("*.wmf")}, QDir::Files);
        QVERIFY(files.size() >= 9);
        for (const QString& name : files)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
    void matchesTheReference()
    {
        QFETCH(QString, file);
        const QImage reference = onWhite(QImage(file + QStringLiteral(".png")));
        QVERIFY2(!reference.isNull(), "no reference rendering");
        const PictureResult result = loadPictureFile(file);
        QVERIFY2(result.picture, qPrintable(result.error));
        // Played at the reference's size, as the stretched display plays it.
        const QImage shown = onWhite(result.picture->render(reference.size()));
        const double share = differingShare(shown, reference);
        qInfo("%s: %.2f %% of the pixels differ", qPrintable(QFileInfo(file).fileName()), share * 100);
        if (share > kMaxDiffering)
            shown.save(QDir::temp().filePath(QFileInfo(file).fileName() + QStringLiteral(".shown.png")));
        QVERIFY2(share <= kMaxDiffering, qPrintable(QStringLiteral("%1 %").arg(share * 100, 0, 'f', 2)));
    }
};

QTEST_MAIN(TestMetafileCorpus)
#include "tst_metafilecorpus.moc"
