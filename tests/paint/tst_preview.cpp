// Print preview: where the picture lands at each scale, the scale buttons,
// and printing the page to a PDF file.
#include "paint/PaintCanvas.h"
#include "paint/PelPreview.h"
#include "platform/Printing.h"
#include "support/TestServices.h"

#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QToolButton>
#include <QtTest>

Q_DECLARE_METATYPE(pel::EdgeRect)

using namespace pel;
using pel::Prompts;

namespace {

EdgeRect edges(int l, int t, int r, int b) { return EdgeRect{l, t, r, b}; }

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void targetsAtEachScale_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("scale");
        QTest::addColumn<EdgeRect>("preview");
        QTest::addColumn<EdgeRect>("print");
        QTest::newRow("128 at 2") << QSize(128, 128) << 2 << edges(10, 10, 61, 61) << edges(10, 10, 266, 266);
        QTest::newRow("128 at 1") << QSize(128, 128) << 1 << edges(10, 10, 35, 35) << edges(10, 10, 138, 138);
        QTest::newRow("128 at 16") << QSize(128, 128) << 16 << edges(10, 10, 419, 419) << edges(10, 10, 2058, 2058);
        // Product first, then the division: 3 * 2 / 5 = 1, not 3 * (2 / 5) = 0.
        QTest::newRow("3x7 at 2") << QSize(3, 7) << 2 << edges(10, 10, 11, 12) << edges(10, 10, 16, 24);
        QTest::newRow("empty") << QSize(0, 0) << 2 << edges(10, 10, 10, 10) << edges(10, 10, 10, 10);
        QTest::newRow("800x600 at 4") << QSize(800, 600) << 4 << edges(10, 10, 650, 490) << edges(10, 10, 3210, 2410);
    }
    void targetsAtEachScale()
    {
        QFETCH(QSize, picture);
        QFETCH(int, scale);
        QFETCH(EdgeRect, preview);
        QFETCH(EdgeRect, print);
        QCOMPARE(PreviewGeometry::previewTarget(picture, scale), preview);
        QCOMPARE(PreviewGeometry::printTarget(picture, scale), print);
    }

    void enlargingStopsBeforeThePageIsLeft_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<int>("next");  // 0: refused
        QTest::newRow("fits") << QSize(128, 128) << 2 << QSize(4960, 7016) << 4;
        QTest::newRow("exactly fits") << QSize(100, 100) << 2 << QSize(410, 410) << 4;
        QTest::newRow("one pixel over") << QSize(100, 100) << 2 << QSize(409, 2000) << 0;
        QTest::newRow("height over") << QSize(10, 1000) << 2 << QSize(4960, 3000) << 0;
        QTest::newRow("would overflow 32 bits") << QSize(30000, 30000) << (1 << 15) << QSize(4960, 7016) << 0;
        QTest::newRow("empty picture stops at the maximum")
            << QSize(0, 0) << PreviewGeometry::kMaxScale << QSize(4960, 7016) << 0;
        QTest::newRow("empty picture below the maximum") << QSize(0, 0) << 2 << QSize(4960, 7016) << 4;
    }
    void enlargingStopsBeforeThePageIsLeft()
    {
        QFETCH(QSize, picture);
        QFETCH(int, scale);
        QFETCH(QSize, page);
        QFETCH(int, next);
        const std::optional<int> result = PreviewGeometry::enlarged(scale, picture, page);
        QCOMPARE(result.value_or(0), next);
    }

    void previewDrawsThePictureAndTheButtonsChangeTheScale()
    {
        test::TestEnvironment env;
        sharedPrinter().setOutputFileName(env.path(QStringLiteral("preview.pdf")));
        TForm12 preview;
        PaintCanvas canvas;
        canvas.replace(filled(128, 128, qRgb(255, 0, 0)));
        preview.setPicture(&canvas);
        QVERIFY(preview.preparePreview());
        QCOMPARE(preview.PreviewScale, 2);
        QCOMPARE(preview.Label1->text(), QStringLiteral("2"));
        const QSize page(sharedPrinter().width(), sharedPrinter().height());
        QCOMPARE(preview.Image1->size(), QSize(page.width() / 5, page.height() / 5));
        const QImage& shown = preview.previewPage();
        QCOMPARE(shown.size(), preview.Image1->size());
        QCOMPARE(shown.pixel(10, 10), qRgb(255, 0, 0));
        QCOMPARE(shown.pixel(60, 60), qRgb(255, 0, 0));
        QCOMPARE(shown.pixel(61, 61), qRgb(255, 255, 255));
        QCOMPARE(shown.pixel(9, 9), qRgb(255, 255, 255));

        preview.ScaleMinusButton->click();
        QCOMPARE(preview.PreviewScale, 1);
        QCOMPARE(preview.Label1->text(), QStringLiteral("1"));
        QCOMPARE(preview.previewPage().pixel(34, 34), qRgb(255, 0, 0));
        QCOMPARE(preview.previewPage().pixel(35, 35), qRgb(255, 255, 255));
        preview.ScaleMinusButton->click();
        QCOMPARE(preview.PreviewScale, 1);

        QVERIFY(preview.preparePreview());
        for (int i = 0; i < 3; ++i)
            preview.ScalePlusButton->click();
        QCOMPARE(preview.PreviewScale, 16);
        QCOMPARE(preview.Label1->text(), QStringLiteral("16"));
        QCOMPARE(preview.previewPage().pixel(418, 418), qRgb(255, 0, 0));
    }

    void pageBitmapKeepsItsFirstSize()
    {
        test::TestEnvironment env;
        TForm12 preview;
        PaintCanvas canvas;
        preview.setPicture(&canvas);
        QVERIFY(preview.preparePreview());
        const QSize first = preview.previewPage().size();
        preview.Image1->resize(first.height(), first.width());  // paper turned
        preview.RenderPreview();
        QCOMPARE(preview.previewPage().size(), first);
    }

    void emptyPictureGivesAWhitePage()
    {
        test::TestEnvironment env;
        TForm12 preview;
        PaintCanvas canvas;
        canvas.clear();
        preview.setPicture(&canvas);
        QVERIFY(preview.preparePreview());
        const QImage& page = preview.previewPage();
        QCOMPARE(page.pixel(10, 10), qRgb(255, 255, 255));
        QCOMPARE(page.pixel(page.width() - 1, page.height() - 1), qRgb(255, 255, 255));
    }

    // With no printer the page goes to a PDF file the user names; an
    // existing file is replaced only on Yes, and the user is told where the
    // page went.
    void printingToAFileAsksForItsName_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QList<int>>("answers");  // overwrite question
        QTest::addColumn<bool>("written");
        QTest::newRow("new file") << false << QList<int>{} << true;
        QTest::newRow("existing, yes") << true << QList<int>{int(Prompts::Answer::Yes)} << true;
        QTest::newRow("existing, no") << true << QList<int>{int(Prompts::Answer::No)} << false;
    }
    void printingToAFileAsksForItsName()
    {
        QFETCH(bool, exists);
        QFETCH(QList<int>, answers);
        QFETCH(bool, written);
        test::TestEnvironment env;
        const QString pdf = env.path(QStringLiteral("picture.pdf"));
        if (exists)
            test::writeFile(pdf, "keep me");
        sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        env.dialogs->saveAnswers << pdf;
        for (int a : answers)
            env.prompts->answers << Prompts::Answer(a);
        TForm12 preview;
        PaintCanvas canvas;
        canvas.replace(filled(64, 32, qRgb(0, 0, 255)));
        preview.setPicture(&canvas);
        QVERIFY(preview.preparePreview());
        preview.PrintButton->click();
        QCOMPARE(env.dialogs->saveRequests.size(), 1);
        const QByteArray bytes = test::readFile(pdf);
        if (!written) {
            QCOMPARE(bytes, QByteArray("keep me"));
            QCOMPARE(env.prompts->shown.size(), 1);
            return;
        }
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
        QVERIFY(bytes.contains("/Subtype /Image"));
        QCOMPARE(env.prompts->shown.size(), answers.size() + 1);
        QVERIFY(env.prompts->shown.last().text.contains(QDir::toNativeSeparators(pdf)));
        QVERIFY(preview.isVisible() == false);  // never shown here, and printing does not close it
    }

    void cancelledFileChoicePrintsNothing()
    {
        test::TestEnvironment env;
        sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        TForm12 preview;
        PaintCanvas canvas;
        preview.setPicture(&canvas);
        QVERIFY(preview.preparePreview());
        preview.PrintButtonClick();
        QCOMPARE(env.dialogs->saveRequests.size(), 1);
        QVERIFY(env.prompts->shown.isEmpty());
        QVERIFY(QDir(env.programDirectory()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    }

    void printFailureReachesTheErrorDisplay()
    {
        test::TestEnvironment env;
        sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        env.dialogs->saveAnswers << env.path(QStringLiteral("no-such-folder/out.pdf"));
        TForm12 preview;
        PaintCanvas canvas;
        preview.setPicture(&canvas);
        QVERIFY(preview.preparePreview());
        preview.PrintButtonClick();
        QCOMPARE(env.prompts->shown.size(), 1);
        QVERIFY(env.prompts->shown.first().text.contains(QStringLiteral("out.pdf")));
    }

    void speedButtonsTurnBlueWhilePressed()
    {
        test::TestEnvironment env;
        TForm12 preview;
        QToolButton* button = preview.ScalePlusButton;
        QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &press);
        QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(0, 0, 255));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(50, 50), button->mapToGlobal(QPointF(50, 50)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &release);
        QCOMPARE(button->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
