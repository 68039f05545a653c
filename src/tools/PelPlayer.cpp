#include "tools/PelPlayer.h"

#include "platform/Dialogs.h"
#include "platform/GlyphIcons.h"
#include "platform/Hints.h"
#include "platform/LocaleInfo.h"
#include "platform/Prompts.h"
#include "platform/Services.h"
#include "tools/MediaPlayerBar.h"
#include "tools/PlayerDisplay.h"
#include "tools/ToolWindow.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TForm7* Form7 = nullptr;
std::function<QIcon(int)> TForm7::iconSource;

namespace {

using Device = pel::MediaService::Device;

struct StripButton {
    const char* name;
    int icon;
    const char16_t* hint;
    const char* themeName;   // for the glyphs used when no picture source is set
    const char16_t* glyph;
};

const StripButton kStripButtons[3] = {
    {"ToolButton1", 20, u"FileOpen", "document-open", u"開"},
    {"ToolButton2", 21, u"音楽CDの再生|音楽CDを再生します｡", "media-optical-audio", u"CD"},
    {"ToolButton3", 22, u"Exit|終了", "application-exit", u"終"},
};

QIcon stripIcon(const StripButton& row)
{
    if (TForm7::iconSource)
        return TForm7::iconSource(row.icon);
    return pel::themeOrGlyph(row.themeName, QString::fromUtf16(row.glyph), QColor(0x40, 0x40, 0x40));
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QColor& colour,
                  const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    setPaletteColor(label, QPalette::WindowText, colour);
    return label;
}

QFont boldFont(const QFont& base, int pixelSize)
{
    QFont font = base;
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QFont titleFont(int pixelSize)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    return boldFont(font, pixelSize);
}

QList<pel::FileFilter> openFilters()
{
    // "mpeg" without "*." is kept as the users know the list.
    return {
        {QStringLiteral("MIDIファイル(*.MID,*.RMI)"), QStringLiteral("*.mid;*.rmi")},
        {QStringLiteral("ムービー(*.mov)"), QStringLiteral("*.mov")},
        {QStringLiteral("メディアクリップ(*.AVI,*.MPG)"), QStringLiteral("*.avi;*.mpg;mpeg;*.mov;*.qt")},
        {QStringLiteral("Wave File(*.wav;*.mp3)"), QStringLiteral("*.wav;*.mp3")},
    };
}

} // namespace

TForm7::TForm7(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor), media_(pel::services().media)
{
    if (!media_)
        media_ = std::make_shared<pel::SystemMediaService>();
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("PelMediaPlayer"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    // 341 x 259 outside with an ordinary frame and title bar.
    resize(333, 227);
    move(393, 69);
    pel::setHint(this, QStringLiteral("MediaPlayer"));
    setPaletteColor(this, QPalette::Window, Qt::black);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAutoFillBackground(true);
    setPaletteColor(ToolBar1, QPalette::Window, Qt::black);
    ToolBar1->setBackgroundRole(QPalette::Window);  // a tool bar fills with the button colour
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    QToolButton* strip[3] = {};
    for (int i = 0; i < 3; ++i) {
        const StripButton& row = kStripButtons[i];
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setIcon(stripIcon(row));
        button->setAutoRaise(true);
        pel::setHint(button, QString::fromUtf16(row.hint));
        if (i == 2)
            ToolBar1->addSeparator();
        ToolBar1->addWidget(button);
        strip[i] = button;
    }
    ToolButton1 = strip[0];
    ToolButton2 = strip[1];
    ToolButton3 = strip[2];
    layout->addWidget(ToolBar1);

    DisplayPanel = new QWidget(this);
    DisplayPanel->setObjectName(QStringLiteral("DisplayPanel"));
    DisplayPanel->setAutoFillBackground(true);
    setPaletteColor(DisplayPanel, QPalette::Window, Qt::black);
    Label1 = makeLabel(DisplayPanel, QStringLiteral("Label1"), QStringLiteral("Pelmora"), Qt::cyan, titleFont(35));
    Label2 = makeLabel(DisplayPanel, QStringLiteral("Label2"), QStringLiteral("MediaPlayer"), Qt::cyan, titleFont(27));
    Label3 = makeLabel(DisplayPanel, QStringLiteral("Label3"), QString(), Qt::yellow, boldFont(font(), 16));
    Label5 = makeLabel(DisplayPanel, QStringLiteral("Label5"), QStringLiteral("CD"), Qt::yellow, boldFont(font(), 13));
    Label4 = makeLabel(DisplayPanel, QStringLiteral("Label4"), QStringLiteral("Player"), Qt::yellow, boldFont(font(), 13));
    // Video shows over the titles and the free space, never over the date
    // and position lines, which must stay readable while a video plays.
    VideoArea = new QWidget(DisplayPanel);
    VideoArea->setObjectName(QStringLiteral("VideoArea"));
    VideoArea->lower();
    auto* display = new QGridLayout(DisplayPanel);
    display->setContentsMargins(16, 8, 16, 8);
    display->setHorizontalSpacing(16);
    display->setVerticalSpacing(2);
    display->addWidget(VideoArea, 0, 0, 3, 3);
    display->addWidget(Label1, 0, 0, 1, 3);
    display->addWidget(Label2, 1, 0, 1, 3, Qt::AlignRight);
    display->addWidget(Label3, 3, 0, 1, 3);
    display->addWidget(Label5, 4, 0);
    display->addWidget(Label4, 4, 1);
    display->setColumnStretch(2, 1);
    display->setRowStretch(2, 1);
    layout->addWidget(DisplayPanel, 1);

    auto* transportStrip = new QWidget(this);
    transportStrip->setObjectName(QStringLiteral("Panel1"));
    transportStrip->setAutoFillBackground(true);
    setPaletteColor(transportStrip, QPalette::Window, Qt::black);
    auto* transportRow = new QHBoxLayout(transportStrip);
    transportRow->setContentsMargins(4, 3, 4, 3);
    MediaPlayer1 = new MediaPlayerBar(media_, transportStrip);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    transportRow->addWidget(MediaPlayer1);
    transportRow->addStretch(1);
    layout->addWidget(transportStrip);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setAutoFillBackground(true);
    setPaletteColor(StatusBar1, QPalette::Window, Qt::cyan);
    setPaletteColor(StatusBar1, QPalette::WindowText, Qt::black);
    // A panel of our own: a temporary status message would be wiped by tool tips.
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusBar1->addWidget(StatusPanel, 1);
    layout->addWidget(StatusBar1);

    media_->setVideoOutput(VideoArea);

    connect(ToolButton1, &QToolButton::clicked, this, &TForm7::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TForm7::ToolButton2Click);
    connect(ToolButton3, &QToolButton::clicked, this, &TForm7::ToolButton3Click);

    // Runs for the whole program, shown or not.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm7::Timer1Timer);
    Timer1->start();
}

TForm7::~TForm7()
{
    // The medium lives as long as the program: this window goes at its end.
    Timer1->stop();
    media_->setVideoOutput(nullptr);
    media_->close();
}

bool TForm7::openMedium()
{
    pel::MediaService::OpenRequest request;
    request.device = DeviceType;
    request.fileName = FileName;
    request.shareable = Shareable;
    if (media_->open(request))
        return true;
    pel::prompts().error(this, media_->errorText());
    return false;
}

void TForm7::ToolButton1Click()
{
    pel::FileDialogRequest request;
    request.filters = openFilters();
    const std::optional<QString> chosen = pel::dialogs().openFile(this, request);
    if (!chosen)
        return;
    DeviceType = Device::Automatic;
    FileName = *chosen;
    if (!openMedium())
        return;
    // A device that counts otherwise keeps its own format.
    media_->setTimeFormat(pel::MediaService::TimeFormat::Frames);
    MediaPlayer1->setFrames(1);
    StatusPanel->setText(QFileInfo(FileName).fileName());
}

void TForm7::ToolButton2Click()
{
    // The drive name is kept for the record; the default CD drive plays.
    DeviceType = Device::CdAudio;
    FileName = QStringLiteral("Q:");
    Shareable = true;
    if (!openMedium())
        return;
    StatusPanel->setText(QStringLiteral("音楽CDを再生します"));
}

void TForm7::ToolButton3Click()
{
    close();
}

void TForm7::Timer1Timer()
{
    // One reading for both labels, so they never disagree.
    const PlayerPositionTexts texts = playerPositionTexts(media_->position());
    Label5->setText(texts.track);
    Label4->setText(texts.time);
    Label3->setText(pel::LocaleInfo::shortDate(pel::clock().now().date()));
}

QString TForm7::statusText() const
{
    return StatusPanel->text();
}

void TForm7::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
