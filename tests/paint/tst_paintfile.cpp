// The paint form's shell: menus and actions, settings, opening and saving
// pictures, sizes, display modes and the clipboard.
#include "paint/ImageControl.h"
#include "paint/PelPaint.h"
#include "paint/PictureFile.h"
#include "platform/EditorPort.h"
#include "platform/Hints.h"
#include "platform/ProgramDirectory.h"
#include "platform/SafeFile.h"
#include "support/TestServices.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using namespace pel;
using Answer = Prompts::Answer;

namespace {

class NoEditor final : public EditorPort {
public:
    void ReplaceEditorSelection(const QString&) override {}
    QString selectedText() const override { return {}; }
    void showAboutModal() override {}
};

QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// One form per test, in a fresh environment.
struct Fixture {
    test::TestEnvironment env;
    NoEditor editor;
    std::unique_ptr<TForm6> form;

    Fixture() { create(); }
    void create()
    {
        form.reset();
        form = std::make_unique<TForm6>(editor);
    }
    QAction* action(const char* name) const { return form->findChild<QAction*>(QString::fromLatin1(name)); }
    QString status() const { return form->statusPanel(0); }
    void writeSetting(const QString& key, const QString& value)
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZELVO"), QStringLiteral("Img"));
        settings.setValue(key, value);
    }
    QString readSetting(const QString& key) const
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZELVO"), QStringLiteral("Img"));
        return settings.value(key).toString();
    }
};

QStringList menuNames(const QMenu* menu)
{
    QStringList names;
    for (const QAction* a : menu->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return names;
}

} // namespace

class TestPaintFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void actionsHaveTheirCaptionsAndHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::newRow("new") << "NewImgAction" << "新規絵画" << "新しい絵を描きます";
        QTest::newRow("open") << "OpenImgAction" << "絵を開く" << "既存の絵を開きます";
        QTest::newRow("save") << "SaveImgAction" << "絵を保存" << "絵に名前を付けて保存";
        QTest::newRow("close") << "CloseImgAction" << "絵を閉じる" << "編集中の絵を閉じます";
        QTest::newRow("exit") << "ExitImgAction" << "絵画を終了" << "絵画フォームを終了します";
        QTest::newRow("256") << "ImageSize256Action" << "画像ｻｲｽﾞ256X256" << "";
        QTest::newRow("800") << "ImageSize600Action" << "画像サイズ800X600" << "";
        QTest::newRow("free") << "FreeAction" << "フリーサイズ" << "";
        QTest::newRow("stretch") << "Stretch1Action" << "拡大表示" << "";
        QTest::newRow("center") << "Center1Action" << "中央表示" << "";
        QTest::newRow("show") << "ShowAction" << "ツールバーの表示" << "";
        QTest::newRow("copy") << "ImgCopyAction" << "コピー" << "";
        QTest::newRow("cut") << "ImgCutAction" << "切り取り" << "";
        QTest::newRow("paste") << "ImgPasteAction" << "貼り付け" << "";
        QTest::newRow("print") << "Print1" << "印刷" << "印刷";
        QTest::newRow("printer") << "PrinterAction" << "プリンタの設定" << "";
    }
    void actionsHaveTheirCaptionsAndHints()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        Fixture f;
        auto* list = f.form->findChild<QObject*>(QStringLiteral("ActionList1"));
        QVERIFY(list);
        auto* action = list->findChild<QAction*>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(hintOf(action), hint);
    }

    void menusAreInTheirOrder()
    {
        Fixture f;
        QCOMPARE(f.form->windowTitle(), QStringLiteral("PelPaint"));
        QVERIFY(f.form->windowFlags() & Qt::WindowStaysOnTopHint);
        const QStringList captions = {QStringLiteral("ファイル (&F)"), QStringLiteral("編集  (&E)"),
                                      QStringLiteral("表示  (&V)"), QStringLiteral("ツール (&T)")};
        const char* names[] = {"ToolButton9", "ToolButton14", "ToolButton30", "ToolButton34"};
        for (int i = 0; i < 4; ++i) {
            auto* button = f.form->ToolBar1->findChild<QToolButton*>(QString::fromLatin1(names[i]));
            QVERIFY(button);
            QCOMPARE(button->text(), captions[i]);
            QVERIFY(button->menu());
        }
        QCOMPARE(hintOf(f.form->ToolBar1->findChild<QToolButton*>(QStringLiteral("ToolButton9"))),
                 QStringLiteral("新規絵画 ( Alt + F ) |新規絵画フォームを開く"));
        QCOMPARE(menuNames(f.form->FileMenu), QStringList({"N1", "N2", "-", "N3", "N4", "-", "Print2", "N25", "-",
                                                           "N5", "-", "Pelmora1"}));
        QCOMPARE(menuNames(f.form->EditMenu), QStringList({"Copy1", "Cut1", "Paste1"}));
        QCOMPARE(menuNames(f.form->ShowMenu), QStringList({"N9", "-", "N10", "N17"}));
        auto* n5 = f.form->FileMenu->findChild<QAction*>(QStringLiteral("N5"));
        QCOMPARE(n5->text(), QStringLiteral("絵画フォームを終了してPelmoraに戻る(&R)"));
        auto* n3 = f.form->FileMenu->findChild<QAction*>(QStringLiteral("N3"));
        QCOMPARE(hintOf(n3), QStringLiteral("絵を保存|絵に名前を付けて保存します"));
        auto* sizes = f.form->ToolMenu->findChild<QMenu*>(QStringLiteral("N11"));
        QVERIFY(sizes);
        QCOMPARE(menuNames(sizes), QStringList({"N16X161", "N32X321", "N64X641", "N128X1281", "N256X2561",
                                                "N800X6001", "NFree"}));
        QCOMPARE(hintOf(sizes->actions().at(4)), QStringLiteral("画像ｻｲｽﾞ256X256"));
        for (const char* name : {"ToolButton35", "ToolButton36", "ToolButton37"})
            QVERIFY(f.form->toolBar3()->findChild<QToolButton*>(QString::fromLatin1(name)));
    }

    void settingsAreReadAtCreation_data()
    {
        QTest::addColumn<QStringList>("stored");  // key=value
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("state");
        QTest::newRow("defaults") << QStringList() << QRect(10, 10, 600, 400) << int(Qt::WindowNoState);
        QTest::newRow("stored") << QStringList({"Locate/Top=50", "Locate/left=60", "Locate/Height=300", "Locate/Width=500"})
                                << QRect(60, 50, 500, 300) << int(Qt::WindowNoState);
        QTest::newRow("top not a number") << QStringList({"Locate/Top=abc", "Locate/left=20"})
                                          << QRect(20, 10, 600, 400) << int(Qt::WindowNoState);
        QTest::newRow("maximised") << QStringList({"Locate/State=2"}) << QRect(10, 10, 600, 400)
                                   << int(Qt::WindowMaximized);
    }
    void settingsAreReadAtCreation()
    {
        QFETCH(QStringList, stored);
        QFETCH(QRect, geometry);
        QFETCH(int, state);
        Fixture f;
        for (const QString& entry : stored)
            f.writeSetting(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        f.create();
        QCOMPARE(int(f.form->windowState()), state);
        if (state == Qt::WindowNoState)
            QCOMPARE(f.form->geometry(), geometry);
        QCOMPARE(f.form->openDialogDirectory, ProgramDirectory());
    }

    void everyCloseWritesTheSettings()
    {
        Fixture f;
        f.form->setGeometry(30, 40, 500, 350);
        f.form->show();
        f.env.prompts->answers.enqueue(Answer::Yes);
        f.form->ExitImgActionExecute();
        QCOMPARE(f.env.prompts->shown.last().text, QStringLiteral("絵画フォームを終了して\n\rPelmoraに戻りますか？"));
        QVERIFY(!f.form->isVisible());
        QCOMPARE(f.readSetting(QStringLiteral("Locate/Top")), QStringLiteral("40"));
        QCOMPARE(f.readSetting(QStringLiteral("Locate/left")), QStringLiteral("30"));
        QCOMPARE(f.readSetting(QStringLiteral("Locate/Width")), QStringLiteral("500"));
        QCOMPARE(f.readSetting(QStringLiteral("Locate/Height")), QStringLiteral("350"));
        QCOMPARE(f.readSetting(QStringLiteral("Locate/State")), QStringLiteral("0"));
        QCOMPARE(f.readSetting(QStringLiteral("File/IniDir")), ProgramDirectory());
    }

    void exitAnsweredNoKeepsTheForm()
    {
        Fixture f;
        f.form->show();
        f.env.prompts->answers.enqueue(Answer::No);
        f.form->ExitImgActionExecute();
        QVERIFY(f.form->isVisible());
        QVERIFY(f.readSetting(QStringLiteral("Locate/Top")).isEmpty());
    }

    void endingTheProgramGoesThroughTheMainWindow()
    {
        Fixture f;
        int asked = 0;
        f.form->endProgram = [&asked] { ++asked; return false; };
        f.env.prompts->answers.enqueue(Answer::No);
        f.form->Pelmora1Click();
        QCOMPARE(asked, 0);
        f.env.prompts->answers.enqueue(Answer::Yes);
        f.form->Pelmora1Click();
        QCOMPARE(asked, 1);
        QCOMPARE(f.env.prompts->shown.last().text, QStringLiteral("Pelmoraを終了しますか？"));
    }

    void openReportsEachOutcome()
    {
        Fixture f;
        f.env.dialogs->openAnswers.enqueue(std::nullopt);
        f.form->OpenImgActionExecute();
        QCOMPARE(f.status(), QStringLiteral("「ファイルを開く」はキャンセルされました。"));
        const pel::FileDialogRequest first = f.env.dialogs->openRequests.last();
        QCOMPARE(first.filterIndex, 0);
        QCOMPARE(first.filters.size(), pictureFileFilters().size());
        QCOMPARE(first.filters.first().patterns, pictureFileFilters().first().patterns);
        QCOMPARE(first.directory, ProgramDirectory());
        QVERIFY(first.picturePreview);

        const QString path = f.env.path(QStringLiteral("pic.bmp"));
        QVERIFY(writeBmpFile(path, filled(20, 10, qRgb(0, 255, 0))));
        f.env.dialogs->openAnswers.enqueue(path);
        f.form->OpenImgActionExecute();
        QCOMPARE(f.status(), QDir::toNativeSeparators(path) + QStringLiteral("が開かれました。"));
        QCOMPARE(f.form->image1()->canvas().image().size(), QSize(20, 10));
        QCOMPARE(f.form->image1()->size(), QSize(20, 10));
        QVERIFY(f.form->image1()->canvas().isBitmap());

        f.env.dialogs->openAnswers.enqueue(f.env.path(QStringLiteral("pic.gif")));
        f.form->OpenImgActionExecute();
        QCOMPARE(f.env.dialogs->openRequests.last().fileName, QStringLiteral("*.*"));
        QCOMPARE(f.status(), QStringLiteral("拡張子 .gif の画像形式は処理できません"));
        QCOMPARE(f.env.beep->count, 1);
        QCOMPARE(f.form->image1()->canvas().image().size(), QSize(20, 10));

        const QString broken = f.env.path(QStringLiteral("broken.jpg"));
        test::writeFile(broken, QByteArray("\xFF\xD8\xFF\xE0 not really", 14));
        f.env.dialogs->openAnswers.enqueue(broken);
        f.form->OpenImgActionExecute();
        QVERIFY(f.status().startsWith(QStringLiteral("JPEG エラー #")));
        QCOMPARE(f.env.beep->count, 2);
        QCOMPARE(f.form->image1()->canvas().image().pixel(1, 1), qRgb(0, 255, 0));

        // A damaged bitmap opens, and the status says it is damaged.
        const QString cut = f.env.path(QStringLiteral("cut.bmp"));
        test::writeFile(cut, encodeBmp(filled(20, 10, qRgb(0, 0, 255))).left(54 + 60 * 4));
        f.env.dialogs->openAnswers.enqueue(cut);
        f.form->OpenImgActionExecute();
        QVERIFY(f.status().startsWith(QDir::toNativeSeparators(cut) + QStringLiteral("が開かれました。")));
        QVERIFY(f.status().contains(QStringLiteral("壊れています")));
        QCOMPARE(f.form->image1()->canvas().image().pixel(1, 1), qRgb(255, 255, 255));
        QCOMPARE(f.form->image1()->canvas().image().pixel(1, 9), qRgb(0, 0, 255));
    }

    // The open dialog shows the chosen picture small beside the file list.
    void openDialogPreviewsThePicture()
    {
        Fixture f;
        f.form->OpenImgActionExecute();
        const pel::FileDialogRequest request = f.env.dialogs->openRequests.last();
        QVERIFY(request.preview);
        const QString wide = f.env.path(QStringLiteral("wide.bmp"));
        QVERIFY(writeBmpFile(wide, filled(400, 200, qRgb(255, 0, 0))));
        const QImage small = request.preview(wide, QSize(160, 160));
        QCOMPARE(small.size(), QSize(160, 80));
        QCOMPARE(small.pixel(80, 40), qRgb(255, 0, 0));
        QVERIFY(request.preview(f.env.path(QStringLiteral("missing.bmp")), QSize(160, 160)).isNull());
    }

    void saveAsksWhatItShould_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<QString>("written");  // empty: nothing written
        const QString ext = QStringLiteral("ファイルの拡張子がBMP以外ですが保存してよろしいですか？");
        const QString over = QStringLiteral("同じ名前のファイルが既に存在しますが上書き保存しますか？ ");
        QTest::newRow("no extension") << "pic" << false << QList<int>() << QStringList() << "pic.bmp";
        QTest::newRow("bmp") << "pic.bmp" << false << QList<int>() << QStringList() << "pic.bmp";
        QTest::newRow("BMP asks") << "pic.BMP" << false << QList<int>{int(Answer::Yes)} << QStringList{ext} << "pic.BMP";
        QTest::newRow("jpg refused") << "pic.jpg" << false << QList<int>{int(Answer::No)} << QStringList{ext} << "";
        QTest::newRow("existing kept") << "pic.bmp" << true << QList<int>{int(Answer::No)} << QStringList{over} << "";
        QTest::newRow("existing replaced") << "pic.bmp" << true << QList<int>{int(Answer::Yes)} << QStringList{over}
                                           << "pic.bmp";
        QTest::newRow("both questions") << "pic.jpg" << true << QList<int>{int(Answer::Yes), int(Answer::Yes)}
                                        << QStringList{ext, over} << "pic.jpg";
    }
    void saveAsksWhatItShould()
    {
        QFETCH(QString, name);
        QFETCH(bool, existing);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, questions);
        QFETCH(QString, written);
        Fixture f;
        f.form->replaceBitmap(filled(5, 4, qRgb(0, 0, 255)));
        const QString path = f.env.path(name);
        if (existing)
            test::writeFile(path, "old");
        for (int a : answers)
            f.env.prompts->answers.enqueue(Answer(a));
        f.env.dialogs->saveAnswers.enqueue(path);
        f.form->SaveImgActionExecute();
        QCOMPARE(f.env.prompts->texts(), questions);
        if (written.isEmpty()) {
            QCOMPARE(f.status(), QStringLiteral("保存がキャンセルされました。"));
            if (existing)
                QCOMPARE(test::readFile(path), QByteArray("old"));
            else
                QVERIFY(!QFileInfo::exists(path));
        } else {
            const QString target = QDir::toNativeSeparators(f.env.path(written));
            QCOMPARE(f.status(), QStringLiteral("ファイルは") + target + QStringLiteral("と言うファイル名で保存されました。"));
            QCOMPARE(test::readFile(target), encodeBmp(filled(5, 4, qRgb(0, 0, 255))));
        }
    }

    void saveCancelledAndFailedSaves()
    {
        Fixture f;
        f.form->SaveImgActionExecute();  // dialog cancelled: silent
        QCOMPARE(f.status(), QString());
        QCOMPARE(f.env.beep->count, 0);

        const QString path = f.env.path(QStringLiteral("no-such-folder/pic.bmp"));
        f.env.dialogs->saveAnswers.enqueue(path);
        f.form->SaveImgActionExecute();
        QCOMPARE(f.status(), cannotCreateMessage(QDir::toNativeSeparators(path)));
        QCOMPARE(f.env.beep->count, 1);

        f.form->clearPicture();
        f.form->SaveImgActionExecute();
        QCOMPARE(f.env.prompts->texts().last(), QStringLiteral("保存するファイルはまだ開かれていません。 "));
        QCOMPARE(f.status(), QStringLiteral("保存するファイルはまだ開かれていません。"));
        QCOMPARE(f.env.beep->count, 2);
    }

    void savingAJpegPictureWritesABitmapAndKeepsThePicture()
    {
        Fixture f;
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(filled(12, 9, qRgb(200, 100, 50)).save(&buffer, "JPEG", 100));
        const QString source = f.env.path(QStringLiteral("photo.jpg"));
        test::writeFile(source, jpeg);
        f.env.dialogs->openAnswers.enqueue(source);
        f.form->OpenImgActionExecute();
        QCOMPARE(f.form->pictureKind(), PictureKind::Jpeg);
        const QString target = f.env.path(QStringLiteral("photo.bmp"));
        f.env.dialogs->saveAnswers.enqueue(target);
        f.form->SaveImgActionExecute();
        const PictureResult saved = loadPictureFile(target);
        QVERIFY(saved.picture);
        QCOMPARE(saved.picture->image.size(), QSize(12, 9));
        QCOMPARE(f.form->pictureKind(), PictureKind::Jpeg);
        QCOMPARE(f.form->image1()->canvas().image().size(), QSize(12, 9));
    }

    void closingThePicture()
    {
        Fixture f;
        f.form->replaceBitmap(filled(40, 30, qRgb(1, 2, 3)));
        f.env.prompts->answers.enqueue(Answer::No);
        f.form->CloseImgActionExecute();
        QCOMPARE(f.env.prompts->texts().last(), QStringLiteral("保存しなくてもよろしいですか？"));
        QCOMPARE(f.form->image1()->size(), QSize(0, 0));
        QCOMPARE(f.form->image1()->canvas().image().size(), QSize(40, 30));
        f.form->Stretch1ActionExecute();
        f.form->Stretch1ActionExecute();
        QCOMPARE(f.form->image1()->size(), QSize(40, 30));

        f.env.prompts->answers.enqueue(Answer::Yes);
        f.form->CloseImgActionExecute();
        QCOMPARE(f.form->image1()->canvas().image().size(), QSize(0, 0));
        QCOMPARE(f.form->image1()->size(), QSize(0, 0));
    }

    void sizeActionsMakeWhitePictures_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QSize>("size");
        QTest::newRow("16") << "ImageSize16Action" << QSize(16, 16);
        QTest::newRow("32") << "ImageSize32Action" << QSize(32, 32);
        QTest::newRow("64") << "ImageSize64Action" << QSize(64, 64);
        QTest::newRow("128") << "ImageSize128Action" << QSize(128, 128);
        QTest::newRow("256") << "ImageSize256Action" << QSize(256, 256);
        QTest::newRow("800x600") << "ImageSize600Action" << QSize(800, 600);
    }
    void sizeActionsMakeWhitePictures()
    {
        QFETCH(QString, action);
        QFETCH(QSize, size);
        Fixture f;
        f.form->replaceBitmap(filled(3, 3, qRgb(0, 0, 0)));
        f.form->canvas().pen().color = Qt::red;
        f.action(action.toLatin1().constData())->trigger();
        QCOMPARE(f.form->canvas().image().size(), size);
        QCOMPARE(f.form->canvas().image().pixel(size.width() - 1, size.height() - 1), qRgb(255, 255, 255));
        QCOMPARE(f.form->canvas().pen().color, QColor(Qt::black));
        QCOMPARE(f.form->image1()->size(), size);
    }

    void displayModes()
    {
        Fixture f;
        f.form->resize(600, 400);
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
        f.form->replaceBitmap(filled(20, 20, qRgb(9, 9, 9)));
        auto* n17 = f.form->ShowMenu->findChild<QAction*>(QStringLiteral("N17"));
        auto* n10 = f.form->ShowMenu->findChild<QAction*>(QStringLiteral("N10"));
        QVERIFY(n10->isChecked());
        QVERIFY(!n17->isChecked());
        QCOMPARE(f.form->image1()->size(), QSize(20, 20));

        f.form->Stretch1ActionExecute();
        QVERIFY(n17->isChecked());
        QVERIFY(f.form->image1()->stretch());
        QCOMPARE(f.form->image1()->size(), f.form->scrollBox1()->viewport()->size());

        // Stretch on, then centre off: the control takes the picture's size
        // although stretching is still on.
        f.form->Center1ActionExecute();
        QVERIFY(!n10->isChecked());
        QVERIFY(f.form->image1()->stretch());
        QCOMPARE(f.form->image1()->size(), QSize(20, 20));

        n10->trigger();
        QVERIFY(n10->isChecked());
        QVERIFY(f.form->image1()->center());
        QCOMPARE(f.form->image1()->size(), f.form->scrollBox1()->viewport()->size());
    }

    void showActionBringsClosedBarsBack()
    {
        Fixture f;
        f.form->show();
        QVERIFY(f.form->controlBar1()->isVisible());
        QVERIFY(f.form->toolBar2()->isVisible());
        f.form->toolBar2()->hide();
        f.form->toolBar3()->hide();
        f.action("ShowAction")->trigger();
        QVERIFY(f.form->toolBar2()->isVisible());
        QVERIFY(f.form->toolBar3()->isVisible());
    }

    void clipboard()
    {
        Fixture f;
        QClipboard* clip = QGuiApplication::clipboard();
        f.form->replaceBitmap(filled(6, 5, qRgb(10, 20, 30)));
        f.form->ImgCopyActionExecute();
        QCOMPARE(clip->image().convertToFormat(QImage::Format_RGB32).pixel(2, 2), qRgb(10, 20, 30));

        f.form->ImgCutActionExecute();
        QCOMPARE(f.form->canvas().image().size(), QSize(6, 5));
        QCOMPARE(f.form->canvas().image().pixel(2, 2), qRgb(255, 255, 255));
        QCOMPARE(clip->image().convertToFormat(QImage::Format_RGB32).pixel(2, 2), qRgb(10, 20, 30));

        // Pasting into a bitmap keeps its drawing state.
        f.form->canvas().pen().color = Qt::red;
        clip->setImage(filled(9, 7, qRgb(0, 0, 200)));
        f.form->ImgPasteActionExecute();
        QCOMPARE(f.form->canvas().image().size(), QSize(9, 7));
        QCOMPARE(f.form->canvas().image().pixel(4, 4), qRgb(0, 0, 200));
        QCOMPARE(f.form->canvas().pen().color, QColor(Qt::red));

        // Nothing but text on the clipboard: nothing happens.
        clip->setText(QStringLiteral("abc"));
        f.form->ImgPasteActionExecute();
        QCOMPARE(f.form->canvas().image().size(), QSize(9, 7));
    }

    void iconsAreRefusedByTheClipboard()
    {
        Fixture f;
        QByteArray ico;
        QBuffer buffer(&ico);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(filled(16, 16, qRgb(0, 128, 0)).save(&buffer, "ICO"));
        const QString path = f.env.path(QStringLiteral("app.ico"));
        test::writeFile(path, ico);
        f.env.dialogs->openAnswers.enqueue(path);
        f.form->OpenImgActionExecute();
        QCOMPARE(f.form->pictureKind(), PictureKind::Icon);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        f.form->ImgCutActionExecute();
        QCOMPARE(f.env.prompts->texts().last(), QStringLiteral("クリップボードはアイコンには対応していません"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(f.form->pictureKind(), PictureKind::Icon);  // the cut stopped at the copy

        // Pasting over a picture that is not a bitmap makes a new bitmap.
        QGuiApplication::clipboard()->setImage(filled(3, 3, qRgb(1, 1, 1)));
        f.form->ImgPasteActionExecute();
        QCOMPARE(f.form->pictureKind(), PictureKind::Bitmap);
        QCOMPARE(f.form->canvas().image().size(), QSize(3, 3));
    }

    void printCommandsNeedAPicture()
    {
        Fixture f;
        f.form->clearPicture();
        f.form->Print1Execute();  // no picture: nothing happens, nothing shown
        f.form->ToolButton37Click();
        QVERIFY(f.env.prompts->shown.isEmpty());
        f.action("PrinterAction")->trigger();
        QCOMPARE(f.env.dialogs->printerSetups, 1);
    }
};

QTEST_MAIN(TestPaintFile)
#include "tst_paintfile.moc"
