#include "tools/MediaPlayerBar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

namespace {

using Mode = pel::MediaService::Mode;
using Service = pel::MediaService;

struct ButtonRow {
    const char* name;
    const char16_t* tip;
};

const ButtonRow kButtons[MediaPlayerBar::ButtonCount] = {
    {"PlayButton", u"再生"},      {"PauseButton", u"一時停止"}, {"StopButton", u"停止"},
    {"NextButton", u"次へ"},      {"PrevButton", u"前へ"},      {"StepButton", u"コマ送り"},
    {"BackButton", u"コマ戻し"},  {"RecordButton", u"録音"},    {"EjectButton", u"取り出し"},
};

QPainterPath triangle(qreal left, qreal right, qreal top, qreal bottom, bool pointsRight)
{
    QPainterPath path;
    const qreal middle = (top + bottom) / 2;
    if (pointsRight) {
        path.moveTo(left, top);
        path.lineTo(right, middle);
        path.lineTo(left, bottom);
    } else {
        path.moveTo(right, top);
        path.lineTo(left, middle);
        path.lineTo(right, bottom);
    }
    path.closeSubpath();
    return path;
}

// The classic transport glyphs, drawn so they look alike on every desktop.
void drawGlyph(QPainter& p, MediaPlayerBar::Button which)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    switch (which) {
    case MediaPlayerBar::Play:
        p.drawPath(triangle(5, 12, 3, 13, true));
        break;
    case MediaPlayerBar::Pause:
        p.drawRect(QRectF(4, 3, 3, 10));
        p.drawRect(QRectF(9, 3, 3, 10));
        break;
    case MediaPlayerBar::Stop:
        p.drawRect(QRectF(4, 4, 8, 8));
        break;
    case MediaPlayerBar::Next:
        p.drawPath(triangle(3, 10, 3, 13, true));
        p.drawRect(QRectF(10, 3, 2.5, 10));
        break;
    case MediaPlayerBar::Previous:
        p.drawRect(QRectF(3.5, 3, 2.5, 10));
        p.drawPath(triangle(6, 13, 3, 13, false));
        break;
    case MediaPlayerBar::Step:
        p.drawPath(triangle(2, 8, 4, 12, true));
        p.drawPath(triangle(8, 14, 4, 12, true));
        break;
    case MediaPlayerBar::Back:
        p.drawPath(triangle(2, 8, 4, 12, false));
        p.drawPath(triangle(8, 14, 4, 12, false));
        break;
    case MediaPlayerBar::Record:
        p.setBrush(QColor(0xC0, 0x00, 0x00));
        p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
        break;
    case MediaPlayerBar::Eject: {
        QPainterPath up;
        up.moveTo(8, 3);
        up.lineTo(13, 9);
        up.lineTo(3, 9);
        up.closeSubpath();
        p.drawPath(up);
        p.drawRect(QRectF(3, 10.5, 10, 2.5));
        break;
    }
    }
}

QIcon glyph(MediaPlayerBar::Button which)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        drawGlyph(painter, which);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

MediaPlayerBar::EnabledStates MediaPlayerBar::enabledStates(bool open, Service::Capabilities caps, Mode mode)
{
    EnabledStates on{};
    if (!open)
        return on;
    const bool running = mode == Mode::Playing || mode == Mode::Recording;
    on[Play] = caps.testFlag(Service::CanPlay) && !running;
    // Pause also resumes a paused medium.
    on[Pause] = running || mode == Mode::Paused;
    on[Stop] = running || mode == Mode::Paused;
    on[Next] = on[Previous] = caps.testFlag(Service::CanPlay) && mode != Mode::Recording;
    on[Step] = on[Back] = caps.testFlag(Service::CanStep) && mode != Mode::Recording;
    on[Record] = caps.testFlag(Service::CanRecord) && (mode == Mode::Stopped || mode == Mode::Paused);
    on[Eject] = caps.testFlag(Service::CanEject);
    return on;
}

MediaPlayerBar::MediaPlayerBar(std::shared_ptr<pel::MediaService> media, QWidget* parent)
    : QWidget(parent), media_(std::move(media))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < ButtonCount; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kButtons[i].name));
        b->setToolTip(QString::fromUtf16(kButtons[i].tip));
        b->setIcon(glyph(Button(i)));
        b->setFixedSize(28, 24);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoFillBackground(true);
        connect(b, &QToolButton::clicked, this, [this, i] { click(Button(i)); });
        layout->addWidget(b);
        buttons_[i] = b;
    }
    connect(media_.get(), &pel::MediaService::changed, this, &MediaPlayerBar::updateButtons);
    updateButtons();
}

void MediaPlayerBar::click(Button which)
{
    if (!media_->isOpen())
        return;
    switch (which) {
    case Play:
        // From the end, play starts again at the beginning.
        if (media_->atEnd())
            media_->seekToStart();
        media_->play();
        break;
    case Pause:
        if (media_->mode() == Mode::Paused)
            media_->play();
        else
            media_->pause();
        break;
    case Stop: media_->stop(); break;
    case Next: media_->next(); break;
    case Previous: media_->previous(); break;
    case Step: media_->step(frames_); break;
    case Back: media_->back(frames_); break;
    case Record: media_->record(); break;
    case Eject: media_->eject(); break;
    }
    updateButtons();
}

void MediaPlayerBar::updateButtons()
{
    const EnabledStates on = enabledStates(media_->isOpen(), media_->capabilities(), media_->mode());
    for (int i = 0; i < ButtonCount; ++i)
        buttons_[i]->setEnabled(on[i]);
}
