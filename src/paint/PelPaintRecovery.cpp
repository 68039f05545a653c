// The unsaved picture: the question at the end of the program, and the
// recovery copy kept while the bitmap has changes nobody saved.
#include "paint/PelPaint.h"

#include "paint/ImageControl.h"
#include "platform/Prompts.h"
#include "platform/RecoveryStore.h"
#include "platform/Services.h"

#include <QBuffer>
#include <QTimer>

namespace {

// A copy is written this long after the last change: a stroke of the pen
// is many changes.
constexpr int kCopyDelayMilliseconds = 1000;

QByteArray pictureBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // PNG keeps every pixel, in a fraction of a bitmap's size.
    if (!image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

} // namespace

void TForm6::setupPictureRecovery()
{
    pictureStore_ = std::make_unique<pel::RecoveryStore>(QStringLiteral("picture"));
    pictureStore_->setWriteWatcher(this, [this](bool written) {
        showStatus(written ? QStringLiteral("絵の控えを再び保存できるようになりました｡")
                           : QStringLiteral("絵の控えを保存できません｡異常終了すると未保存の絵は失われます｡"));
    });
    pictureCopyTimer_ = new QTimer(this);
    pictureCopyTimer_->setSingleShot(true);
    pictureCopyTimer_->setInterval(kCopyDelayMilliseconds);
    connect(pictureCopyTimer_, &QTimer::timeout, this, &TForm6::writePictureCopy);
}

void TForm6::setPictureChanged(bool changed)
{
    pictureChanged_ = changed;
    if (changed) {
        pictureCopyTimer_->start();
        return;
    }
    // Saved, opened anew or let go: nothing is left to recover.
    pictureCopyTimer_->stop();
    pictureStore_->remove();
}

void TForm6::writePictureCopy()
{
    if (!pictureChanged_ || !canvas().isBitmap())
        return;
    // The image is shared, not copied, until the next stroke changes it;
    // the worker encodes it.
    const QImage image = canvas().image();
    pictureStore_->saveWith([image] { return pictureBytes(image); });
}

QString TForm6::pictureCopyPath() const
{
    return pictureStore_->path();
}

bool TForm6::mayEndProgram()
{
    if (!pictureChanged_)
        return true;
    pel::systemBeep();
    QWidget* parent = isVisible() ? static_cast<QWidget*>(this) : parentWidget();
    const auto answer = pel::prompts().confirm(parent, QStringLiteral("絵は変更されています｡\r\n保存しますか ?"));
    if (answer == pel::Prompts::Answer::Cancel)
        return false;
    if (answer == pel::Prompts::Answer::Yes) {
        SaveImgActionExecute();
        // A save that was cancelled or failed keeps the program running.
        return !pictureChanged_;
    }
    setPictureChanged(false);
    return true;
}

void TForm6::storeForSessionEnd()
{
    pictureCopyTimer_->stop();
    if (pictureChanged_ && canvas().isBitmap())
        pictureStore_->saveBytesNow(pictureBytes(canvas().image()));
}

void TForm6::offerPictureRecovery()
{
    if (pictureCopyOffered_)
        return;
    pictureCopyOffered_ = true;
    const QList<pel::RecoveryStore::Left> copies = pictureStore_->leftCopies();
    // Newest first: that is the one the user last worked on.
    for (auto it = copies.crbegin(); it != copies.crend(); ++it) {
        const QImage image = QImage::fromData(it->bytes, "PNG");
        if (image.isNull())
            continue;
        const auto answer = pel::prompts().confirm(
            this, QStringLiteral("前回保存されずに終了した絵があります｡(%1×%2)\r\n復元しますか ?")
                      .arg(image.width())
                      .arg(image.height()),
            pel::Prompts::Buttons::YesNo);
        if (answer != pel::Prompts::Answer::Yes) {
            pel::RecoveryStore::discard(it->path);
            continue;
        }
        replaceBitmap(image);
        pictureKind_ = pel::PictureKind::Bitmap;
        refreshCanvas();
        // The picture is this run's unsaved one now: its own copy is on disk
        // before the old one goes.
        pictureChanged_ = true;
        if (pictureStore_->saveBytesNow(pictureBytes(canvas().image())))
            pel::RecoveryStore::discard(it->path);
        return;
    }
}
