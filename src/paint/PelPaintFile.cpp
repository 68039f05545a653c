// Picture files, sizes, display modes, clipboard and settings of the paint form.
#include "paint/PelPaint.h"

#include "paint/ImageControl.h"
#include "paint/PaintSettings.h"
#include "platform/CommandBars.h"
#include "platform/Dialogs.h"
#include "platform/Hints.h"
#include "platform/Printing.h"
#include "platform/ProgramDirectory.h"
#include "platform/WindowPlacement.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSettingsApplication = QStringLiteral("Img");
const QString kFile = QStringLiteral("File");
const QString kSaveCancelled = QStringLiteral("保存がキャンセルされました。");

struct SizeAction {
    const char* name;
    const char* caption;
    const char* menuItem;
    int width;
    int height;
};

const SizeAction kSizeActions[] = {
    {"ImageSize16Action", "画像サイズ16X16", "N16X161", 16, 16},
    {"ImageSize32Action", "画像サイズ32X32", "N32X321", 32, 32},
    {"ImageSize64Action", "画像サイズ64X64", "N64X641", 64, 64},
    {"ImageSize128Action", "画像サイズ128X128", "N128X1281", 128, 128},
    {"ImageSize256Action", "画像ｻｲｽﾞ256X256", "N256X2561", 256, 256},
    {"ImageSize600Action", "画像サイズ800X600", "N800X6001", 800, 600},
};

// The extension as the file name spells it, with its dot; empty without one.
QString extensionOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

// The open and save dialogs: picture files, the first filter chosen.
pel::FileDialogRequest pictureDialogRequest(const QString& directory, const QString& fileName)
{
    pel::FileDialogRequest request;
    request.directory = directory;
    request.fileName = fileName;
    request.filters = pel::pictureFileFilters();
    request.filterIndex = 0;
    request.picturePreview = true;
    return request;
}

} // namespace

QAction* TForm6::fileAction(const char* name, const QString& caption, const QString& hint, const char* category)
{
    auto* action = new QAction(caption, ActionList1);
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("category", QString::fromLatin1(category));
    if (!hint.isEmpty())
        pel::setHint(action, hint);
    addAction(action);
    return action;
}

void TForm6::setupFileActions()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    ActionList1 = new QObject(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));

    struct Command {
        const char* name;
        QString caption;
        QString hint;
        const char* category;
        void (TForm6::*run)();
    };
    const auto add = [this](const Command& command) {
        connect(fileAction(command.name, command.caption, command.hint, command.category), &QAction::triggered, this,
                command.run);
    };
    const Command files[] = {
        {"NewImgAction", u"新規絵画"_s, u"新しい絵を描きます"_s, "File", &TForm6::NewImgActionExecute},
        {"OpenImgAction", u"絵を開く"_s, u"既存の絵を開きます"_s, "File", &TForm6::OpenImgActionExecute},
        {"SaveImgAction", u"絵を保存"_s, u"絵に名前を付けて保存"_s, "File", &TForm6::SaveImgActionExecute},
        {"CloseImgAction", u"絵を閉じる"_s, u"編集中の絵を閉じます"_s, "File", &TForm6::CloseImgActionExecute},
        {"ExitImgAction", u"絵画を終了"_s, u"絵画フォームを終了します"_s, "File", &TForm6::ExitImgActionExecute},
    };
    for (const Command& command : files)
        add(command);
    for (const SizeAction& size : kSizeActions) {
        QAction* action = fileAction(size.name, QString::fromUtf8(size.caption), {}, "Image");
        const int width = size.width, height = size.height;
        connect(action, &QAction::triggered, this, [this, width, height] { imageSizeActionExecute(width, height); });
    }
    const Command others[] = {
        {"FreeAction", u"フリーサイズ"_s, {}, "Image", &TForm6::FreeActionExecute},
        {"Stretch1Action", u"拡大表示"_s, {}, "Show", &TForm6::Stretch1ActionExecute},
        {"Center1Action", u"中央表示"_s, {}, "Show", &TForm6::Center1ActionExecute},
        {"ShowAction", u"ツールバーの表示"_s, {}, "Show", &TForm6::ShowActionExecute},
        {"ImgCopyAction", u"コピー"_s, {}, "Edit", &TForm6::ImgCopyActionExecute},
        {"ImgCutAction", u"切り取り"_s, {}, "Edit", &TForm6::ImgCutActionExecute},
        {"ImgPasteAction", u"貼り付け"_s, {}, "Edit", &TForm6::ImgPasteActionExecute},
        {"Print1", u"印刷"_s, u"印刷"_s, "File", &TForm6::Print1Execute},
        {"PrinterAction", u"プリンタの設定"_s, {}, "File", &TForm6::PrinterActionExecute},
    };
    for (const Command& command : others)
        add(command);

    setupMenuBar();
    setupPrintButtons();
    pel::keepToolBarsWhole(ControlBar1);
    startingBars_ = ControlBar1->saveState();
    FormCreate();
}

void TForm6::setupMenuBar()
{
    using pel::entryRow;
    using pel::separatorRow;

    pel::CommandRow n10 = entryRow(0, u"N10"_s, u"Center1Action"_s, -1, u"中央表示  (&S)"_s,
                                   u"画像をキャンバスの中央に移動します"_s);
    pel::CommandRow n17 = entryRow(0, u"N17"_s, u"Stretch1Action"_s, -1, u"拡大表示  (&Z)"_s,
                                   u"画像をキャンバスいっぱいに拡大します"_s);
    n10.checkable = n17.checkable = true;
    pel::MenuTable tools{
        u"ToolMenu"_s, true, {pel::submenuRow(u"N11"_s, u"画像サイズ"_s, u"画像サイズを設定します"_s)}, false};
    for (const SizeAction& size : kSizeActions)
        tools.rows << entryRow(1, QString::fromLatin1(size.menuItem), QString::fromLatin1(size.name), -1, {},
                               QString::fromUtf8(size.caption));
    tools.rows << entryRow(1, u"NFree"_s, u"FreeAction"_s);
    const pel::MenuTable menus[] = {
        {u"FileMenu"_s, true, {
            entryRow(0, u"N1"_s, u"NewImgAction"_s),
            entryRow(0, u"N2"_s, u"OpenImgAction"_s, -1, u"絵を開く (&O)"_s),
            separatorRow(),
            entryRow(0, u"N3"_s, u"SaveImgAction"_s, -1, u"絵を保存 (&S)"_s,
                     u"絵を保存|絵に名前を付けて保存します"_s),
            entryRow(0, u"N4"_s, u"CloseImgAction"_s),
            separatorRow(),
            entryRow(0, u"Print2"_s, u"Print1"_s, -1, u"印刷   (&P)"_s),
            entryRow(0, u"N25"_s, u"PrinterAction"_s, -1, {}, u"プリンタの設定"_s),
            separatorRow(),
            entryRow(0, u"N5"_s, u"ExitImgAction"_s, -1, u"絵画フォームを終了してPelmoraに戻る(&R)"_s),
            separatorRow(),
            entryRow(0, u"Pelmora1"_s, u"Pelmora1Click"_s, -1, u"Pelmoraを終了する｡  (&X)"_s),
        }, false},
        {u"EditMenu"_s, true, {
            entryRow(0, u"Copy1"_s, u"ImgCopyAction"_s, -1, {}, u"画像をコピーします｡"_s),
            entryRow(0, u"Cut1"_s, u"ImgCutAction"_s, -1, {}, u"画像を切り取ります｡"_s),
            entryRow(0, u"Paste1"_s, u"ImgPasteAction"_s, -1, {}, u"画像を貼り付けます｡"_s),
        }, false},
        {u"ShowMenu"_s, true, {
            entryRow(0, u"N9"_s, u"ShowAction"_s, -1, {}, u"閉じたツールバーを再び表示します"_s),
            separatorRow(),
            n10,
            n17,
        }, false},
        tools,
    };
    // Entries bound to the form's actions; Pelmora1 ends the whole program.
    const pel::EntryFactory entry = [this](const pel::CommandRow& row, QObject* parent) -> QAction* {
        if (auto* command = ActionList1->findChild<QAction*>(row.command))
            return pel::commandEntry(row, command, QIcon(), parent);
        if (row.command == u"Pelmora1Click")
            return pel::handlerEntry(row, [this] { Pelmora1Click(); }, parent);
        return nullptr;
    };
    QMenu** const built[] = {&FileMenu, &EditMenu, &ShowMenu, &ToolMenu};
    for (int i = 0; i < 4; ++i)
        *built[i] = pel::buildMenu(menus[i], this, entry);
    N10 = ShowMenu->findChild<QAction*>(u"N10"_s);
    N17 = ShowMenu->findChild<QAction*>(u"N17"_s);
    // The check marks follow the flags, not the clicks.
    connect(N10, &QAction::triggered, N10, [this] { N10->setChecked(image1()->center()); });
    connect(N17, &QAction::triggered, N17, [this] { N17->setChecked(image1()->stretch()); });
    if (penStyleMenu())
        ToolMenu->addMenu(penStyleMenu());
    if (brushStyleMenu())
        ToolMenu->addMenu(brushStyleMenu());

    ToolBar1 = new QToolBar(u"メニュー"_s, this);
    ToolBar1->setObjectName(u"ToolBar1"_s);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const pel::MenuButtonRow buttons[] = {
        {u"ToolButton9"_s, u"ファイル (&F)"_s, u"新規絵画 ( Alt + F ) |新規絵画フォームを開く"_s, u"FileMenu"_s},
        {u"ToolButton14"_s, u"編集  (&E)"_s, u"編集( Alt + E )|編集"_s, u"EditMenu"_s},
        {u"ToolButton30"_s, u"表示  (&V)"_s, u"表示( Alt + V )|表示"_s, u"ShowMenu"_s},
        {u"ToolButton34"_s, u"ツール (&T)"_s, u"ツール( Alt + T )|各種設定をします"_s, u"ToolMenu"_s},
    };
    for (const pel::MenuButtonRow& row : buttons) {
        QMenu* menu = findChild<QMenu*>(row.menu, Qt::FindDirectChildrenOnly);
        pel::addMenuButton(ToolBar1, row, menu, pel::MenuButtonLook::Arrow)->setMinimumSize(74, 20);
    }
    // The menu bar stays where it is; only the tool bars move and float.
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    insertMenuBand(ToolBar1);
}

void TForm6::setupPrintButtons()
{
    QToolBar* bar = toolBar3();
    if (!bar)
        return;
    QAction* before = toolBar3DrawingStart();
    auto add = [&](const char* name, const QString& hint, int icon) {
        auto* button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(pel::paintIcon(icon));
        button->setAutoRaise(true);
        pel::setHint(button, hint);
        if (before)
            bar->insertWidget(before, button);
        else
            bar->addWidget(button);
        return button;
    };
    auto action = [this](const char* name) { return ActionList1->findChild<QAction*>(QString::fromLatin1(name)); };
    QToolButton* print = add("ToolButton35", QStringLiteral("印刷絵画を印刷します"), 30);
    connect(print, &QToolButton::clicked, action("Print1"), &QAction::trigger);
    QToolButton* setup = add("ToolButton36", QStringLiteral("プリンタの設定をします"), 32);
    connect(setup, &QToolButton::clicked, action("PrinterAction"), &QAction::trigger);
    QToolButton* preview = add("ToolButton37", QStringLiteral("印刷プレビュー|印刷プレビューを開きます。"), 31);
    connect(preview, &QToolButton::clicked, this, &TForm6::ToolButton37Click);
}

// ---- Creation, showing, closing, settings ----------------------------------

void TForm6::FormCreate()
{
    // The canvas control starts centred, not stretched, sized to its picture.
    image1()->setCenter(true);
    image1()->setStretch(false);
    N10->setChecked(true);
    N17->setChecked(false);
    readSettings();
    toolDrag().ToolCode = pel::kFreeHandTool;
}

void TForm6::readSettings()
{
    const pel::PaintSettings settings = pel::readPaintSettings(pel::RegistryKey(kSettingsApplication),
                                                               pel::ProgramDirectory());
    setGeometry(settings.placement.bounds);
    openDialogDirectory = settings.openDialogDir;
    setWindowState(settings.placement.state);
}

void TForm6::FormCloseQuery()
{
    pel::RegistryKey key(kSettingsApplication);
    const QRect bounds = (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) ? normalGeometry() : geometry();
    pel::writeWindowPlacement(key, {bounds, windowState()});
    key.writeString(kFile, QStringLiteral("IniDir"), openDialogDirectory);
    key.flush();
}

void TForm6::done(int result)
{
    // Every way of closing the form (close box, Esc, the exit command) ends here.
    FormCloseQuery();
    QDialog::done(result);
}

// ---- Picture files ----------------------------------------------------------

pel::PictureKind TForm6::pictureKind() const
{
    return image1()->canvas().isBitmap() ? pel::PictureKind::Bitmap : pictureKind_;
}

void TForm6::OpenImgActionExecute()
{
    pel::FileDialogRequest request = pictureDialogRequest(openDialogDirectory, openDialogFileName);
    request.preview = &pel::picturePreview;
    const std::optional<QString> chosen = pel::dialogs().openFile(this, request);
    if (!chosen) {
        showStatus(QStringLiteral("「ファイルを開く」はキャンセルされました。"));
        return;
    }
    const QString path = QDir::toNativeSeparators(QFileInfo(*chosen).absoluteFilePath());
    const pel::PictureResult result = pel::loadPictureFile(path);
    if (!result.picture) {
        showStatus(result.error);
        pel::systemBeep();
        return;
    }
    const pel::Picture picture = *result.picture;
    if (picture.isBitmap()) {
        replaceBitmap(picture.image);
    } else {
        replaceShowOnly(picture.image, [picture](QSize size) { return picture.render(size); });
    }
    pictureKind_ = picture.kind;
    showStatus(path + QStringLiteral("が開かれました。") + result.warning);
    openDialogFileName = QStringLiteral("*.*");
}

void TForm6::SaveImgActionExecute()
{
    saveDialogFileName.clear();
    if (!image1()->canvas().hasPicture()) {
        pel::prompts().message(this, QStringLiteral("保存するファイルはまだ開かれていません。 "));
        pel::systemBeep();
        showStatus(QStringLiteral("保存するファイルはまだ開かれていません。"));
        return;
    }
    const std::optional<QString> chosen =
        pel::dialogs().saveFile(this, pictureDialogRequest(openDialogDirectory, saveDialogFileName));
    if (!chosen)
        return;
    QString path = QDir::toNativeSeparators(QFileInfo(*chosen).absoluteFilePath());
    const QString extension = extensionOf(path);
    if (extension.isEmpty()) {
        path += QStringLiteral(".bmp");
    } else if (extension != QStringLiteral(".bmp")) {
        if (pel::prompts().confirm(this, QStringLiteral("ファイルの拡張子がBMP以外ですが保存してよろしいですか？"),
                                   pel::Prompts::Buttons::YesNo)
            != pel::Prompts::Answer::Yes) {
            showStatus(kSaveCancelled);
            return;
        }
    }
    if (QFileInfo::exists(path)) {
        if (pel::prompts().confirm(this, QStringLiteral("同じ名前のファイルが既に存在しますが上書き保存しますか？ "),
                                   pel::Prompts::Buttons::YesNo)
            != pel::Prompts::Answer::Yes) {
            showStatus(kSaveCancelled);
            return;
        }
    }
    // A picture loaded from a JPEG, icon or metafile is written as a bitmap
    // of its own size; the picture shown stays as it is.
    if (!pel::writeBmpFile(path, image1()->canvas().image())) {
        showStatus(pel::cannotCreateMessage(path));
        pel::systemBeep();
        return;
    }
    setPictureChanged(false);
    showStatus(QStringLiteral("ファイルは") + path + QStringLiteral("と言うファイル名で保存されました。"));
}

void TForm6::CloseImgActionExecute()
{
    if (pel::prompts().confirm(this, QStringLiteral("保存しなくてもよろしいですか？"), pel::Prompts::Buttons::YesNo)
        == pel::Prompts::Answer::Yes) {
        replaceBitmap(pel::PaintCanvas::whiteBitmap(0, 0));
        pictureKind_ = pel::PictureKind::Bitmap;
    }
    // The control vanishes either way; a picture kept shows again with the
    // next replacement or display switch.
    if (!image1()->fillsArea())
        image1()->resize(0, 0);
}

void TForm6::ExitImgActionExecute()
{
    if (pel::prompts().confirm(this, QStringLiteral("絵画フォームを終了して\n\rPelmoraに戻りますか？"),
                               pel::Prompts::Buttons::YesNo)
        == pel::Prompts::Answer::Yes)
        close();
}

void TForm6::Pelmora1Click()
{
    if (pel::prompts().confirm(this, QStringLiteral("Pelmoraを終了しますか？"), pel::Prompts::Buttons::YesNo)
        != pel::Prompts::Answer::Yes)
        return;
    // The main window's own close question decides; when it closes, so do we.
    if (endProgram && endProgram())
        close();
}

// ---- Sizes and display ------------------------------------------------------

void TForm6::imageSizeActionExecute(int width, int height)
{
    replaceBitmap(pel::PaintCanvas::whiteBitmap(width, height));
    pictureKind_ = pel::PictureKind::Bitmap;
}

void TForm6::NewImgActionExecute()
{
    execAbove(paintDialogs.pictureSize);
}

void TForm6::FreeActionExecute()
{
    execAbove(paintDialogs.pictureSize);
}

void TForm6::Stretch1ActionExecute()
{
    const bool on = !image1()->stretch();
    image1()->setStretch(on);
    N17->setChecked(on);
    image1()->setFillsArea(on);
    image1()->fitToPicture();
}

void TForm6::Center1ActionExecute()
{
    const bool on = !image1()->center();
    image1()->setCenter(on);
    N10->setChecked(on);
    image1()->setFillsArea(on);
    image1()->fitToPicture();
}

void TForm6::ShowActionExecute()
{
    // Every bar, the menu bar too, whatever hid it, in the rows it started in.
    for (QToolBar* bar : {ToolBar1, toolBar2(), toolBar3()})
        bar->show();
    ControlBar1->restoreState(startingBars_);
}

// ---- Clipboard ----------------------------------------------------------------

bool TForm6::copyPicture()
{
    if (pictureKind() == pel::PictureKind::Icon) {
        pel::prompts().applicationError(this, QStringLiteral("クリップボードはアイコンには対応していません"));
        return false;
    }
    QGuiApplication::clipboard()->setImage(pel::toBitmapImage(image1()->canvas().image()));
    return true;
}

void TForm6::ImgCopyActionExecute()
{
    copyPicture();
}

void TForm6::ImgCutActionExecute()
{
    if (!copyPicture())
        return;
    imageSizeActionExecute(image1()->width(), image1()->height());
}

void TForm6::ImgPasteActionExecute()
{
    QImage pasted = QGuiApplication::clipboard()->image();
    if (pasted.isNull())
        return;
    if (qint64(pasted.width()) * pasted.height() > pel::kMaxPicturePixels)
        return;
    pasted = pel::toBitmapImage(pasted);
    if (image1()->canvas().isBitmap()) {
        // The bitmap takes the content and keeps its drawing state.
        image1()->canvas().assignContent(pasted);
        image1()->fitToPicture();
        refreshCanvas();
    } else {
        replaceBitmap(pasted);
    }
    pictureKind_ = pel::PictureKind::Bitmap;
    setPictureChanged(true);
}

// ---- Printing -------------------------------------------------------------------

void TForm6::Print1Execute()
{
    if (image1()->canvas().hasPicture())
        execAbove(paintDialogs.preview);
}

void TForm6::ToolButton37Click()
{
    Print1Execute();
}

void TForm6::PrinterActionExecute()
{
    pel::dialogs().printerSetup(this, pel::sharedPrinter());
}
