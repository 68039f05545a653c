// Start-up, layout and settings of the main window.
#include "main/Pelmain.h"

#include "view/DocumentView.h"
#include "main/FindReplaceDialogs.h"
#include "main/About.h"
#include "main/MainImages.h"
#include "main/MainSettings.h"
#include "paint/PelPaint.h"
#include "phrases/PhraseList.h"
#include "phrases/PhraseRegister.h"
#include "platform/ColorNames.h"
#include "platform/Fonts.h"
#include "platform/Hints.h"
#include "platform/ProgramDirectory.h"
#include "platform/RecoveryStore.h"
#include "platform/Prompts.h"
#include "platform/RegistryKey.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "platform/WindowPlacement.h"
#include "platform/TextMessages.h"
#include "platform/EditorPort.h"
#include "text/DocumentSession.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

TForm1* Form1 = nullptr;

namespace {
using pel::mainSettings::kFile;
using pel::mainSettings::kOption;
using pel::mainSettings::kSettingNames;
// A command-line file this large is loaded in the shown window.
constexpr qsizetype kLoadShownFrom = qsizetype(1) << 20;

// What commands and tool windows get: the document's text, and the about
// box. An insertion is a selection change the window answers (the editor
// takes the keyboard, the window comes forward).
class MainEditorPort final : public pel::EditorPort {
public:
    MainEditorPort(pel::DocumentSession& session, std::function<void()> inserted)
        : session_(session), inserted_(std::move(inserted))
    {
    }
    void ReplaceEditorSelection(const QString& text) override
    {
        session_.ReplaceEditorSelection(text);
        inserted_();
    }
    QString selectedText() const override { return session_.selectedText(); }
    void showAboutModal() override { AboutBox->showModalFromTool(); }

private:
    pel::DocumentSession& session_;
    std::function<void()> inserted_;
};
} // namespace

TForm1::TForm1(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), arguments_(arguments)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Pelmora"));
    setWindowIcon(MainImages::programIcon());
    setFont(pel::japaneseFont(12));
    pel::setHint(this, QStringLiteral("Pelmora|Pelmoraにて編集作業中"));

    session_ = new pel::DocumentSession(this);
    editorPort_ = std::make_unique<MainEditorPort>(*session_, [this] { RichEdit1SelectionChange(); });
    setupRecovery();
    phraseList_ = new pel::PhraseList(this);
    phraseRegister_ = new pel::PhraseRegister(*phraseList_, QStringLiteral("COMBLOG.TXT"),
                                              QStringLiteral("COMBOLOG.bak"), this);
    buildLayout();
    setupDocumentActions();
    setupEditActions();
    setupFindActions();
    setupHelpActions();
    setupViewActions();
    setupPhraseActions();
    buildMenus();
    buildToolBar1();
    buildToolBar5();
    setupHtmlCommands();
    setupClockPanel();

    new pel::HintTracker(this, [this](const QString& text) { StatusBar1->showMessage(text); });
    FormCreate();
}

TForm1::~TForm1()
{
    // FormDestroy: the phrase bar's register goes back to its list file.
    phraseRegister_->writeList(nullptr);
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::buildLayout()
{
    auto makeBar = [this](const QString& name, const QString& caption) {
        auto* bar = new QToolBar(caption, this);
        bar->setObjectName(name);
        return bar;
    };
    // ControlBar1: the menu buttons, the phrase bar and the home-page bar.
    ToolBar1 = makeBar(QStringLiteral("ToolBar1"), QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar3 = makeBar(QStringLiteral("ToolBar3"), QStringLiteral("NewTextBox"));
    ToolBar2 = makeBar(QStringLiteral("ToolBar2"), QStringLiteral("ホームページ制作支援ツールバー"));
    ToolBar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Each band has a row of its own, so none hides buttons behind another.
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, ToolBar3);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, ToolBar2);
    addToolBarBreak(Qt::TopToolBarArea);

    // PageScroller1 holds the HTML icon bar ToolBar4.
    PageScroller1 = makeBar(QStringLiteral("PageScroller1"), QStringLiteral("ホームページ製作用ツールバー"));
    PageScroller1->setFixedHeight(24 + 4);
    ToolBar4 = makeBar(QStringLiteral("ToolBar4"), QStringLiteral("ホームページ製作用ツールバー"));
    ToolBar4->setIconSize(QSize(16, 16));
    // Inside the scroller the bar is only a row of buttons: without a handle,
    // frame or margin of its own its 22-pixel buttons fit the 24-pixel
    // scroller instead of being cut at the bottom.
    ToolBar4->setMovable(false);
    ToolBar4->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; margin: 0px; spacing: 0px; }"));
    PageScroller1->addWidget(ToolBar4);
    addToolBar(Qt::TopToolBarArea, PageScroller1);
    addToolBarBreak(Qt::TopToolBarArea);

    ToolBar5 = makeBar(QStringLiteral("ToolBar5"), QStringLiteral("ToolBar5"));
    ToolBar5->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, ToolBar5);
    addToolBarBreak(Qt::TopToolBarArea);

    ControlBar2 = makeBar(QStringLiteral("ControlBar2"), QStringLiteral("ControlBar2"));
    addToolBar(Qt::TopToolBarArea, ControlBar2);

    RichEdit1 = new pel::DocumentView(*session_, this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    RichEdit1->setFont(pel::japaneseFont(19));
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    RichEdit1->setPalette(palette);
    pel::setHint(RichEdit1, QStringLiteral("|メインフォーム文字を入力します｡"));
    setCentralWidget(RichEdit1);
    RichEdit1->installEventFilter(this);
    RichEdit1->viewport()->installEventFilter(this);
    connect(session_, &pel::DocumentSession::indicatorChanged, this, &TForm1::showChangeIndicator);
    connect(session_, &pel::DocumentSession::contentChanged, this, &TForm1::followUnsavedChanges);
    connect(session_, &pel::DocumentSession::refused, this, [this](const QString& text, qsizetype index) {
        // Located where it would have gone in the document.
        const QString before = session_->document().text(0, session_->selection().start());
        pel::prompts().error(this, pel::unsavableCharacterMessage(before + text, before.size() + index,
                                                                  session_->spelling().encoding));
    });
    connect(RichEdit1, &pel::DocumentView::selectionChanged, this, &TForm1::RichEdit1SelectionChange);
    connect(RichEdit1, &pel::DocumentView::wrapKeptChanged, this, &TForm1::reportKeptWrap);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(24);
    StatusBar1->setSizeGripEnabled(true);
    setStatusBar(StatusBar1);
    // The document's encoding and line breaks, as its file has them.
    auto* encoding = new QLabel(StatusBar1);
    encoding->setObjectName(QStringLiteral("EncodingLabel"));
    StatusBar1->addPermanentWidget(encoding);
    const auto showEncoding = [this, encoding] {
        const pel::TextSpelling spelling = session_->spelling();
        const QString text = pel::textEncodingName(spelling) + QStringLiteral("  ") + pel::lineBreakName(spelling.lineBreak);
        if (encoding->text() != text)
            encoding->setText(text);
    };
    connect(session_, &pel::DocumentSession::contentChanged, encoding, showEncoding);
    connect(session_, &pel::DocumentSession::textReset, encoding, showEncoding);
    connect(session_, &pel::DocumentSession::spellingChanged, encoding, showEncoding);
    showEncoding();

    // Bars hidden at start; ToolBar4 stays visible inside its hidden scroller.
    ToolBar3->hide();
    ToolBar2->hide();
    PageScroller1->hide();
    ControlBar2->hide();
}

void TForm1::FormCreate()
{
    readSettings();

    // 12. The phrase bar's register; only at start-up, so that nothing
    //     registered during the run is thrown away later.
    phraseRegister_->load(this);

    resetWindowState();

    // 18. A file named on the command line, read once at start-up.
    if (!arguments_.isEmpty()) {
        const QString path = arguments_.constFirst();
        const auto bytes = pel::readWholeFile(path);
        if (!bytes) {
            pel::prompts().applicationError(this, pel::cannotOpenMessage(path));
            return;
        }
        // A large one waits for the window, which shows how far it is.
        if (bytes->size() >= kLoadShownFrom)
            startupFile_ = std::move(*bytes);
        else
            loadDocumentBytes(*bytes);
    }

    // 19. Nothing is modified yet.
    session_->setModifiedFlag(false);

    // 20. The input method's composition in the editor's colours (not after
    //     a command-line file that could not be opened: see above).
    RichEdit1->setCompositionColoured(true);
}

void TForm1::startWork()
{
    if (!startupFile_.isEmpty()) {
        loadDocumentBytes(std::exchange(startupFile_, {}));
        session_->setModifiedFlag(false);
    }
    // A close asked for while the file loaded comes first; the copies are
    // offered at the next start.
    if (!closeAfterLoading_)
        offerRecovery();
}

void TForm1::readSettings()
{
    // 1. Empty the editor; emptying a document that held text is a change.
    session_->clear();

    // 2. The settings key; a key that cannot be opened reads as defaults.
    //    A value that cannot be used is reported and replaced by its
    //    default; the rest of the settings are still read.
    pel::RegistryKey key(QStringLiteral("Pelmora"));
    QFont font = RichEdit1->font();
    const pel::MainSettings settings = pel::readMainSettings(key, font.family(),
                                                             pel::fontPoints(font, logicalDpiY()),
                                                             pel::ProgramDirectory());

    // 3. Bounds, kept on the screen whatever is stored.
    move(settings.placement.bounds.topLeft());
    resize(settings.placement.bounds.size());

    // 4. Initial folder of the open dialog.
    openDialogInitialDir_ = settings.openDialogDir;

    // 5. Window state, applied when the window is shown.
    // A window manager may map a window asked for minimised as a normal one
    // (and Qt would then believe it minimised): it is minimised once it is up.
    setWindowState(settings.placement.state & Qt::WindowMaximized);
    minimiseWhenShown_ = settings.placement.state & Qt::WindowMinimized;

    // 6. Font face, 7. font colour, 8. font size in points.
    font.setFamily(settings.fontFamily);
    if (settings.fontPoints)
        font.setPointSize(*settings.fontPoints);
    RichEdit1->setFont(font);
    if (settings.textColour)
        setEditorColour(QPalette::Text, *settings.textColour);

    // 9. Background colour.
    setEditorColour(QPalette::Base, settings.background);

    // 10. Word wrap; the check mark and the button keep their own state.
    RichEdit1->setWordWrap(settings.wordWrap);

    // 11. Values that could not be used (colours, font style and pitch).
    for (const QString& error : settings.errors)
        pel::prompts().applicationError(this, error);
}

void TForm1::resetWindowState()
{
    // 13. The phrase bar's list of strings.
    phraseBarStrings_.clear();

    // 14. Empty search text.
    FindDialog1->setFindText(QString());

    // 15. Clipboard commands.
    action(QStringLiteral("CutAction"))->setEnabled(false);
    action(QStringLiteral("CopyAction"))->setEnabled(false);
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    action(QStringLiteral("PasteAction"))->setEnabled(clip && clip->hasText());

    // 16. Help file.
    applicationHelpFile_ = pel::ProgramDirectory() + QStringLiteral("Pel.hlp");

    // 17. Files may be dropped on the window.
    setAcceptDrops(true);
}

void TForm1::setEditorColour(QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = RichEdit1->palette();
    palette.setColor(role, colour);
    RichEdit1->setPalette(palette);
}

bool TForm1::writeSettings()
{
    pel::RegistryKey key(QStringLiteral("Pelmora"));
    // The frame's position, the window's size.
    pel::writeWindowPlacement(key, {QRect(pos(), geometry().size()), windowState()});
    key.writeString(kFile, kSettingNames.iniDir, openDialogInitialDir_);
    const QFont font = RichEdit1->font();
    key.writeString(kOption, kSettingNames.font, font.family());
    key.writeString(kOption, kSettingNames.fontColor,
                    pel::colorToString(pel::fromQColor(RichEdit1->palette().color(QPalette::Text))));
    const int points = pel::fontPoints(font, logicalDpiY());
    key.writeInteger(kOption, kSettingNames.fontSize, points);
    key.writeString(kOption, kSettingNames.color,
                    pel::colorToString(pel::fromQColor(RichEdit1->palette().color(QPalette::Base))));
    key.writeBool(kOption, kSettingNames.wordWrap, RichEdit1->wordWrap());
    key.writeInteger(kOption, kSettingNames.fontStyle, 0);
    key.writeInteger(kOption, kSettingNames.fontPitch, 0);
    if (!key.flush()) {
        pel::prompts().applicationError(this, pel::cannotCreateMessage(key.location()));
        return false;
    }
    return true;
}

void TForm1::showEvent(QShowEvent* event)
{
    if (firstShow_) {
        // Centred on the desktop the first time; the stored size stays.
        firstShow_ = false;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect desktop = screen->geometry();
            const QSize frame = frameGeometry().size();
            move(qMax(0, (desktop.width() - frame.width()) / 2),
                 qMax(0, (desktop.height() - frame.height()) / 2));
        }
    }
    if (minimiseWhenShown_) {
        // Minimised once the window is mapped, however long the window
        // manager takes: asked for before, it maps the window normal.
        minimiseWhenShown_ = false;
        if (windowHandle()->isExposed())
            minimiseNow();
        else
            windowHandle()->installEventFilter(this);
    }
    QMainWindow::showEvent(event);
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Queued: the question waits until the activation is done.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(this, &TForm1::offerReloadIfChanged, Qt::QueuedConnection);
}

void TForm1::minimiseNow()
{
    if (isVisible())
        setWindowState(windowState() | Qt::WindowMinimized);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Half a file must never be offered for saving: the close waits until
    // the document is whole.
    if (loading_) {
        closeAfterLoading_ = true;
        event->ignore();
        return;
    }
    closeAfterLoading_ = false;
    // The paint form's unsaved picture is asked about first: a Cancel there
    // leaves the document as it was.
    if ((Form6 && !Form6->mayEndProgram()) || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    closing_ = true;
    // Closed normally: the document was saved or the user let it go.
    session_->markSaved();
    followUnsavedChanges();
    event->accept();
    QApplication::quit();
}
