// A picture drawn and not saved: asked about at the end of the program,
// kept as a recovery copy when the session ends, offered when the form
// next opens.
#include "PaintFormFixture.h"

#include "platform/RecoveryStore.h"

#include <QFileInfo>
#include <QTest>

using Answer = pel::Prompts::Answer;

namespace {

void drawLine(TForm6& form)
{
    form.Image1MouseDown(Qt::LeftButton, {5, 5});
    form.Image1MouseMove(Qt::LeftButton, {40, 30});
    form.Image1MouseUp(Qt::LeftButton, {40, 30});
}

} // namespace

class TestUnsavedPicture : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void endAsksAboutChangedPicture_data();
    void endAsksAboutChangedPicture();
    void changedPictureOutlivesTheSession_data();
    void changedPictureOutlivesTheSession();
};

void TestUnsavedPicture::endAsksAboutChangedPicture_data()
{
    QTest::addColumn<bool>("draw");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("saveChosen");  // a name in the save dialog
    QTest::addColumn<bool>("ends");
    QTest::newRow("unchanged") << false << Answer::Yes << false << true;
    QTest::newRow("cancel") << true << Answer::Cancel << false << false;
    QTest::newRow("drop") << true << Answer::No << false << true;
    QTest::newRow("save") << true << Answer::Yes << true << true;
    QTest::newRow("save cancelled") << true << Answer::Yes << false << false;
}

void TestUnsavedPicture::endAsksAboutChangedPicture()
{
    QFETCH(bool, draw);
    QFETCH(Answer, answer);
    QFETCH(bool, saveChosen);
    QFETCH(bool, ends);
    paintfx::PaintForms f;
    if (draw)
        drawLine(*f.form6);
    // Opening a picture anew is no change.
    f.form6->imageSizeActionExecute(64, 64);
    if (draw)
        drawLine(*f.form6);
    const QString path = f.env.path("picture.bmp");
    f.env.prompts->setAnswers({answer});
    f.env.dialogs->saveAnswers.enqueue(saveChosen ? std::optional<QString>(path) : std::nullopt);
    QCOMPARE(f.form6->mayEndProgram(), ends);
    QCOMPARE(f.env.prompts->texts(),
             draw ? QStringList{QStringLiteral("絵は変更されています｡\r\n保存しますか ?")} : QStringList());
    QCOMPARE(QFileInfo::exists(path), saveChosen);
    // What the user kept stays unsaved; nothing else is.
    QCOMPARE(f.form6->pictureChanged(), !ends);
    if (saveChosen)
        QCOMPARE(QImage(path).pixel(40, 30), f.form6->canvas().image().pixel(40, 30));
}

void TestUnsavedPicture::changedPictureOutlivesTheSession_data()
{
    QTest::addColumn<bool>("crash");  // else the session ends (SIGTERM)
    QTest::addColumn<Answer>("answer");
    QTest::newRow("session end, restored") << false << Answer::Yes;
    QTest::newRow("crash, restored") << true << Answer::Yes;
    QTest::newRow("session end, dropped") << false << Answer::No;
}

void TestUnsavedPicture::changedPictureOutlivesTheSession()
{
    QFETCH(bool, crash);
    QFETCH(Answer, answer);
    pel::test::TestEnvironment env;
    paintfx::FakeEditor editor;
    QImage drawn;
    QString copy;
    {
        TForm6 first(editor);
        drawLine(first);
        drawn = first.canvas().image();
        copy = first.pictureCopyPath();
        if (crash)
            QTRY_VERIFY(QFileInfo::exists(copy));  // written soon after the drawing
        else
            first.storeForSessionEnd();
        QVERIFY(QFileInfo::exists(copy));
    }
    // The next run opens the form.
    TForm6 next(editor);
    env.prompts->setAnswers({answer});
    next.show();
    QTRY_COMPARE(env.prompts->shown.size(), 1);
    QVERIFY(env.prompts->shown.first().text.contains(QStringLiteral("前回保存されずに終了した絵があります")));
    QVERIFY(!QFileInfo::exists(copy));
    if (answer == Answer::No) {
        QVERIFY(!next.pictureChanged());
        QVERIFY(next.canvas().image() != drawn);
        return;
    }
    QCOMPARE(next.canvas().image(), drawn);
    // Restored, it is this run's unsaved picture, with its own copy.
    QVERIFY(next.pictureChanged());
    QVERIFY(QFileInfo::exists(next.pictureCopyPath()));
    // Opened again later in the run: not offered twice.
    next.hide();
    next.show();
    QCoreApplication::processEvents();
    QCOMPARE(env.prompts->shown.size(), 1);
}

QTEST_MAIN(TestUnsavedPicture)
#include "tst_unsavedpicture.moc"
