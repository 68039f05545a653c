// Picture files, sizes, display modes, clipboard and settings of the paint form.
#include "paint/PelPaint.h"

#include "paint/ImageControl.h"
#include "paint/PaintSettings.h"
#include "paint/PelPreview.h"
#include "paint/PelSizepas.h"
#include "platform/Dialogs.h"
#include "platform/Hints.h"
#include "platform/ModalOwner.h"
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

namespace {

const QString kSettingsApplication = QStringLiteral("Img");
const QString kLocate = QStringLiteral("Locate");
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

// A menu entry bound to `action`: its own name, the action's caption and
// hint unless the entry has its own.
QAction* TForm6::menuItem(QMenu* menu, const char* name, QAction* action, const QString& caption,
                          const QString& hint)
{
    auto* item = new QAction(caption.isEmpty() ? action->text() : caption, menu);
    item->setObjectName(QString::fromLatin1(name));
    const QString ownHint = hint.isEmpty() ? pel::hintOf(action) : hint;
    if (!ownHint.isEmpty())
        pel::setHint(item, ownHint);
    connect(item, &QAction::triggered, action, &QAction::trigger);
    menu->addAction(item);
    return item;
}

void TForm6::setupFileActions()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    ActionList1 = new QObject(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));

    QAction* newImg = fileAction("NewImgAction", QStringLiteral("新規絵画"), QStringLiteral("新しい絵を描きます"), "File");
    QAction* openImg = fileAction("OpenImgAction", QStringLiteral("絵を開く"), QStringLiteral("既存の絵を開きます"), "File");
    QAction* saveImg = fileAction("SaveImgAction", QStringLiteral("絵を保存"), QStringLiteral("絵に名前を付けて保存"), "File");
    QAction* closeImg = fileAction("CloseImgAction", QStringLiteral("絵を閉じる"), QStringLiteral("編集中の絵を閉じます"), "File");
    QAction* exitImg = fileAction("ExitImgAction", QStringLiteral("絵画を終了"), QStringLiteral("絵画フォームを終了します"), "File");
    connect(newImg, &QAction::triggered, this, &TForm6::NewImgActionExecute);
    connect(openImg, &QAction::triggered, this, &TForm6::OpenImgActionExecute);
    connect(saveImg, &QAction::triggered, this, &TForm6::SaveImgActionExecute);
    connect(closeImg, &QAction::triggered, this, &TForm6::CloseImgActionExecute);
    connect(exitImg, &QAction::triggered, this, &TForm6::ExitImgActionExecute);

    for (const SizeAction& size : kSizeActions) {
        QAction* action = fileAction(size.name, QString::fromUtf8(size.caption), {}, "Image");
        const int width = size.width, height = size.height;
        connect(action, &QAction::triggered, this, [this, width, height] { imageSizeActionExecute(width, height); });
    }
    QAction* freeSize = fileAction("FreeAction", QStringLiteral("フリーサイズ"), {}, "Image");
    connect(freeSize, &QAction::triggered, this, &TForm6::FreeActionExecute);

    QAction* stretch = fileAction("Stretch1Action", QStringLiteral("拡大表示"), {}, "Show");
    QAction* center = fileAction("Center1Action", QStringLiteral("中央表示"), {}, "Show");
    QAction* showBars = fileAction("ShowAction", QStringLiteral("ツールバーの表示"), {}, "Show");
    connect(stretch, &QAction::triggered, this, &TForm6::Stretch1ActionExecute);
    connect(center, &QAction::triggered, this, &TForm6::Center1ActionExecute);
    connect(showBars, &QAction::triggered, this, &TForm6::ShowActionExecute);

    QAction* copy = fileAction("ImgCopyAction", QStringLiteral("コピー"), {}, "Edit");
    QAction* cut = fileAction("ImgCutAction", QStringLiteral("切り取り"), {}, "Edit");
    QAction* paste = fileAction("ImgPasteAction", QStringLiteral("貼り付け"), {}, "Edit");
    connect(copy, &QAction::triggered, this, &TForm6::ImgCopyActionExecute);
    connect(cut, &QAction::triggered, this, &TForm6::ImgCutActionExecute);
    connect(paste, &QAction::triggered, this, &TForm6::ImgPasteActionExecute);

    QAction* print = fileAction("Print1", QStringLiteral("印刷"), QStringLiteral("印刷"), "File");
    QAction* printer = fileAction("PrinterAction", QStringLiteral("プリンタの設定"), {}, "File");
    connect(print, &QAction::triggered, this, &TForm6::Print1Execute);
    connect(printer, &QAction::triggered, this, &TForm6::PrinterActionExecute);

    setupMenuBar();
    setupPrintButtons();
    FormCreate();
}

void TForm6::setupMenuBar()
{
    auto action = [this](const char* name) { return ActionList1->findChild<QAction*>(QString::fromLatin1(name)); };

    FileMenu = new QMenu(this);
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    menuItem(FileMenu, "N1", action("NewImgAction"));
    menuItem(FileMenu, "N2", action("OpenImgAction"), QStringLiteral("絵を開く (&O)"));
    FileMenu->addSeparator();
    menuItem(FileMenu, "N3", action("SaveImgAction"), QStringLiteral("絵を保存 (&S)"),
             QStringLiteral("絵を保存|絵に名前を付けて保存します"));
    menuItem(FileMenu, "N4", action("CloseImgAction"));
    FileMenu->addSeparator();
    menuItem(FileMenu, "Print2", action("Print1"), QStringLiteral("印刷   (&P)"));
    menuItem(FileMenu, "N25", action("PrinterAction"), {}, QStringLiteral("プリンタの設定"));
    FileMenu->addSeparator();
    menuItem(FileMenu, "N5", action("ExitImgAction"), QStringLiteral("絵画フォームを終了してPelmoraに戻る(&R)"));
    FileMenu->addSeparator();
    auto* pelmora1 = new QAction(QStringLiteral("Pelmoraを終了する｡  (&X)"), FileMenu);
    pelmora1->setObjectName(QStringLiteral("Pelmora1"));
    connect(pelmora1, &QAction::triggered, this, &TForm6::Pelmora1Click);
    FileMenu->addAction(pelmora1);

    EditMenu = new QMenu(this);
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    menuItem(EditMenu, "Copy1", action("ImgCopyAction"), {}, QStringLiteral("画像をコピーします｡"));
    menuItem(EditMenu, "Cut1", action("ImgCutAction"), {}, QStringLiteral("画像を切り取ります｡"));
    menuItem(EditMenu, "Paste1", action("ImgPasteAction"), {}, QStringLiteral("画像を貼り付けます｡"));

    ShowMenu = new QMenu(this);
    ShowMenu->setObjectName(QStringLiteral("ShowMenu"));
    menuItem(ShowMenu, "N9", action("ShowAction"), {}, QStringLiteral("閉じたツールバーを再び表示します"));
    ShowMenu->addSeparator();
    N10 = menuItem(ShowMenu, "N10", action("Center1Action"), QStringLiteral("中央表示  (&S)"),
                   QStringLiteral("画像をキャンバスの中央に移動します"));
    N17 = menuItem(ShowMenu, "N17", action("Stretch1Action"), QStringLiteral("拡大表示  (&Z)"),
                   QStringLiteral("画像をキャンバスいっぱいに拡大します"));
    N10->setCheckable(true);
    N17->setCheckable(true);
    // The check marks follow the flags, not the clicks.
    connect(N10, &QAction::triggered, N10, [this] { N10->setChecked(image1()->center()); });
    connect(N17, &QAction::triggered, N17, [this] { N17->setChecked(image1()->stretch()); });

    ToolMenu = new QMenu(this);
    ToolMenu->setObjectName(QStringLiteral("ToolMenu"));
    QMenu* sizes = ToolMenu->addMenu(QStringLiteral("画像サイズ"));
    sizes->setObjectName(QStringLiteral("N11"));
    sizes->menuAction()->setObjectName(QStringLiteral("N11"));
    pel::setHint(sizes->menuAction(), QStringLiteral("画像サイズを設定します"));
    for (const SizeAction& size : kSizeActions)
        menuItem(sizes, size.menuItem, action(size.name), {}, QString::fromUtf8(size.caption));
    menuItem(sizes, "NFree", action("FreeAction"));
    if (penStyleMenu())
        ToolMenu->addMenu(penStyleMenu());
    if (brushStyleMenu())
        ToolMenu->addMenu(brushStyleMenu());

    ToolBar1 = new QToolBar(QStringLiteral("メニュー"), this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    struct Button {
        const char* name;
        QString caption;
        QString hint;
        QMenu* menu;
    };
    const Button buttons[] = {
        {"ToolButton9", QStringLiteral("ファイル (&F)"), QStringLiteral("新規絵画 ( Alt + F ) |新規絵画フォームを開く"), FileMenu},
        {"ToolButton14", QStringLiteral("編集  (&E)"), QStringLiteral("編集( Alt + E )|編集"), EditMenu},
        {"ToolButton30", QStringLiteral("表示  (&V)"), QStringLiteral("表示( Alt + V )|表示"), ShowMenu},
        {"ToolButton34", QStringLiteral("ツール (&T)"), QStringLiteral("ツール( Alt + T )|各種設定をします"), ToolMenu},
    };
    for (const Button& b : buttons) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setText(b.caption);
        button->setAutoRaise(true);
        button->setMinimumSize(74, 20);
        button->setMenu(b.menu);
        button->setPopupMode(QToolButton::InstantPopup);
        pel::setHint(button, b.hint);
        ToolBar1->addWidget(button);
        // A menu button's own menu is its right-click menu as well.
        QMenu* menu = b.menu;
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QToolButton::customContextMenuRequested, this,
                [button, menu](const QPoint& at) { menu->exec(button->mapToGlobal(at)); });
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
    ToolCode = pel::kFreeHandTool;
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
    key.writeInteger(kLocate, QStringLiteral("Top"), bounds.top());
    key.writeInteger(kLocate, QStringLiteral("left"), bounds.left());
    key.writeInteger(kLocate, QStringLiteral("Height"), bounds.height());
    key.writeInteger(kLocate, QStringLiteral("Width"), bounds.width());
    const int state = windowState() & Qt::WindowMinimized ? 1 : windowState() & Qt::WindowMaximized ? 2 : 0;
    key.writeInteger(kLocate, QStringLiteral("State"), state);
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
    pel::FileDialogRequest request;
    request.directory = openDialogDirectory;
    request.fileName = openDialogFileName;
    request.filters = pel::pictureFileFilters();
    request.filterIndex = 0;
    request.picturePreview = true;
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
    pel::FileDialogRequest request;
    request.directory = openDialogDirectory;
    request.fileName = saveDialogFileName;
    request.filters = pel::pictureFileFilters();
    request.filterIndex = 0;
    request.picturePreview = true;
    const std::optional<QString> chosen = pel::dialogs().saveFile(this, request);
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
    execAbove(Form9);
}

void TForm6::FreeActionExecute()
{
    execAbove(Form9);
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
    // Every bar, the menu bar too, whatever hid it.
    for (QToolBar* bar : {ToolBar1, toolBar2(), toolBar3()})
        bar->show();
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
}

// ---- Printing -------------------------------------------------------------------

void TForm6::Print1Execute()
{
    if (!image1()->canvas().hasPicture() || !Form12)
        return;
    pel::keepAboveOwner(Form12, this);
    Form12->showPreview(image1()->canvas());
}

void TForm6::ToolButton37Click()
{
    Print1Execute();
}

void TForm6::PrinterActionExecute()
{
    pel::dialogs().printerSetup(this, pel::sharedPrinter());
}
