#include "platform/MediaService.h"

#include <QAudioOutput>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QVideoSink>
#include <QVideoWidget>
#include <QWidget>
#include <algorithm>
#include <cmath>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace pel {

QString mediaErrorText(QMediaPlayer::Error code, bool cd, bool timedOut)
{
    switch (code) {
    case QMediaPlayer::FormatError:
        return QStringLiteral("この形式のメディアは再生できません");
    case QMediaPlayer::AccessDeniedError:
        return QStringLiteral("メディアを開く権限がありません");
    case QMediaPlayer::ResourceError:
    case QMediaPlayer::NetworkError:
        return cd ? QStringLiteral("音楽CDを読み込めません") : QStringLiteral("メディアを開けません");
    case QMediaPlayer::NoError:
        break;
    }
    return timedOut ? QStringLiteral("メディアの読み込みが時間内に終わりませんでした") : MediaService::unknownErrorText();
}

QString MediaService::unknownErrorText()
{
    return QStringLiteral("原因不明のエラー");
}

quint32 MediaService::packTmsf(int track, int minutes, int seconds, int frames)
{
    return quint32(track & 0xFF) | quint32(minutes & 0xFF) << 8 | quint32(seconds & 0xFF) << 16
           | quint32(frames & 0xFF) << 24;
}

namespace {

// A CD audio frame is 1/75 second.
constexpr int kCdFramesPerSecond = 75;

// What the drive says before GStreamer is asked to read it: GStreamer's own
// errors for an empty drive are vague, and it cannot eject.
struct CdDrive {
    QString path;          // empty: no drive found
    enum class Disc { Unknown, None, TrayOpen, NotReady, Ready } disc = Disc::Unknown;
    int tracks = 0;        // last track number; 0 when unknown
    int firstAudio = 1;    // a mixed CD may begin with a data track
    bool hasAudio = true;
};

CdDrive probeCdDrive()
{
    CdDrive drive;
#ifdef Q_OS_LINUX
    // The desktop's default drive is /dev/cdrom; the first SCSI drive otherwise.
    for (const char* candidate : {"/dev/cdrom", "/dev/sr0"}) {
        if (QFileInfo::exists(QString::fromLatin1(candidate))) {
            drive.path = QString::fromLatin1(candidate);
            break;
        }
    }
    if (drive.path.isEmpty())
        return drive;
    const int fd = ::open(QFile::encodeName(drive.path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return drive;
    switch (::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT)) {
    case CDS_NO_DISC: drive.disc = CdDrive::Disc::None; break;
    case CDS_TRAY_OPEN: drive.disc = CdDrive::Disc::TrayOpen; break;
    case CDS_DRIVE_NOT_READY: drive.disc = CdDrive::Disc::NotReady; break;
    case CDS_DISC_OK: drive.disc = CdDrive::Disc::Ready; break;
    default: break;
    }
    if (drive.disc == CdDrive::Disc::Ready || drive.disc == CdDrive::Disc::Unknown) {
        cdrom_tochdr header{};
        if (::ioctl(fd, CDROMREADTOCHDR, &header) == 0) {
            drive.tracks = header.cdth_trk1;
            drive.hasAudio = false;
            for (int t = header.cdth_trk0; t <= header.cdth_trk1; ++t) {
                cdrom_tocentry entry{};
                entry.cdte_track = quint8(t);
                entry.cdte_format = CDROM_MSF;
                if (::ioctl(fd, CDROMREADTOCENTRY, &entry) == 0 && !(entry.cdte_ctrl & CDROM_DATA_TRACK)
                    && !drive.hasAudio) {
                    drive.hasAudio = true;
                    drive.firstAudio = t;
                }
            }
        }
    }
    ::close(fd);
#endif
    return drive;
}

bool ejectCdDrive(const QString& path)
{
#ifdef Q_OS_LINUX
    if (path.isEmpty())
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool ok = ::ioctl(fd, CDROMEJECT, 0) == 0;
    ::close(fd);
    return ok;
#else
    Q_UNUSED(path);
    return false;
#endif
}

QUrl cdTrackUrl(const QString& drivePath, int track)
{
    // "cdda://N" plays track N of GStreamer's default drive; naming the drive
    // we probed keeps the TOC and the sound from two different drives.
    if (drivePath.isEmpty() || drivePath == QLatin1String("/dev/cdrom"))
        return QUrl(QStringLiteral("cdda://%1").arg(track));
    return QUrl(QStringLiteral("cdda://%1#%2").arg(drivePath).arg(track));
}


} // namespace

struct SystemMediaService::Player {
    QAudioOutput audio;   // outlives the player that plays into it
    QVideoSink sink;      // frames go here when there is no display
    QMediaPlayer media;
    QPointer<QVideoWidget> video;
    double frameRate = 0; // learnt from the first picture; 0 until then

    ~Player()
    {
        media.stop();
        delete video.data();
    }
};

SystemMediaService::SystemMediaService() = default;

SystemMediaService::~SystemMediaService()
{
    // No signals from here on: the program is ending.
    blockSignals(true);
    close();
}

bool SystemMediaService::open(const OpenRequest& request)
{
    // The shareable flag changes nothing here: the sound server mixes every
    // program's sound, and a CD is read, not locked.
    close();
    error_.clear();
    QString error;
    if (request.device == Device::CdAudio) {
        // The stored name is not used: the default CD drive plays.
        const CdDrive drive = probeCdDrive();
#ifdef Q_OS_LINUX
        if (drive.path.isEmpty())
            error = QStringLiteral("CDドライブが見つかりません");
        else if (drive.disc == CdDrive::Disc::None || drive.disc == CdDrive::Disc::TrayOpen)
            error = QStringLiteral("ドライブにCDが入っていません");
        else if (drive.disc == CdDrive::Disc::NotReady)
            error = QStringLiteral("CDドライブの準備ができていません。しばらくしてからもう一度お試しください");
        else if (!drive.hasAudio)
            error = QStringLiteral("ドライブのCDは音楽CDではありません");
#endif
        if (error.isEmpty()) {
            trackCount_ = drive.tracks;
            firstTrack_ = drive.firstAudio;
            drivePath_ = drive.path;
            device_ = Device::CdAudio;
            if (openCdTrack(firstTrack_, &error))
                format_ = TimeFormat::Tmsf;
        }
    } else {
        const QString path = QDir::fromNativeSeparators(request.fileName);
        const QFileInfo info(path);
        if (request.fileName.isEmpty() || !info.isFile()) {
            error = QStringLiteral("ファイル %1 が見つかりません").arg(request.fileName);
        } else {
            device_ = Device::Automatic;
            if (load(QUrl::fromLocalFile(info.absoluteFilePath()), &error))
                format_ = TimeFormat::Milliseconds;
        }
    }
    if (!player_) {
        error_ = error.isEmpty() ? unknownErrorText() : error;
        close();
        return false;
    }
    mode_ = Mode::Stopped;
    placeVideo();
    Q_EMIT changed();
    return true;
}

bool SystemMediaService::openCdTrack(int track, QString* error)
{
    // Each track is a medium of its own to GStreamer.
    const bool wasPlaying = mode_ == Mode::Playing;
    player_.reset();
    if (!load(cdTrackUrl(drivePath_, track), error))
        return false;
    track_ = track;
    if (wasPlaying) {
        player_->media.play();
        mode_ = Mode::Playing;
    }
    return true;
}

bool SystemMediaService::load(const QUrl& url, QString* error)
{
    auto player = std::make_unique<Player>();
    QMediaPlayer& media = player->media;
    if (!media.isAvailable()) {
        *error = QStringLiteral("この環境にはメディアを再生する機能がありません");
        return false;
    }
    media.setAudioOutput(&player->audio);
    QVideoSink* sink = &player->sink;
    if (display_) {
        player->video = new QVideoWidget(display_);
        player->video->setObjectName(QStringLiteral("VideoOutput"));
        player->video->hide();
        media.setVideoOutput(player->video.data());
        sink = player->video->videoSink();
    } else {
        media.setVideoSink(sink);
    }
    // The backend names no frame rate in the metadata; the pictures carry it.
    Player* const raw = player.get();
    QObject::connect(sink, &QVideoSink::videoFrameChanged, sink, [raw](const QVideoFrame& frame) {
        if (raw->frameRate > 0)
            return;
        double rate = frame.surfaceFormat().frameRate();
        if (rate <= 0 && frame.endTime() > frame.startTime())
            rate = 1e6 / double(frame.endTime() - frame.startTime());
        if (rate > 0)
            raw->frameRate = rate;
    });

    // The open waits for the medium, like the rest of the program expects of
    // a device open, but keeps repainting; clicks wait until it is done.
    QEventLoop loop;
    bool done = false;
    bool loaded = false;
    QMediaPlayer::Error code = QMediaPlayer::NoError;
    const auto finish = [&] {
        done = true;
        loop.quit();
    };
    QObject::connect(&media, &QMediaPlayer::mediaStatusChanged, &loop, [&](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia
            || status == QMediaPlayer::BufferingMedia) {
            loaded = true;
            finish();
        } else if (status == QMediaPlayer::InvalidMedia) {
            finish();
        }
    });
    QObject::connect(&media, &QMediaPlayer::errorOccurred, &loop,
                     [&](QMediaPlayer::Error e) {
                         // The backend's own text is English and technical;
                         // only the kind of error is shown.
                         if (code == QMediaPlayer::NoError)
                             code = e;
                         finish();
                     });
    bool timedOut = false;
    QTimer::singleShot(openTimeout_, &loop, [&] {
        timedOut = true;
        finish();
    });
    media.setSource(url);
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!loaded || code != QMediaPlayer::NoError) {
        *error = mediaErrorText(code, url.scheme() == QLatin1String("cdda"), timedOut);
        return false;
    }

    // Queued: the end of a CD track replaces the player that reports it.
    connect(
        &media, &QMediaPlayer::mediaStatusChanged, this,
        [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia && player_
                && player_->media.mediaStatus() == QMediaPlayer::EndOfMedia)
                onEndOfMedia();
        },
        Qt::QueuedConnection);
    // The pipeline stopped by itself (an error after the open). Queued too, so
    // the end of the medium is told apart: that one goes to onEndOfMedia().
    connect(
        &media, &QMediaPlayer::playbackStateChanged, this,
        [this](QMediaPlayer::PlaybackState state) {
            if (state == QMediaPlayer::StoppedState && mode_ == Mode::Playing && player_
                && player_->media.playbackState() == QMediaPlayer::StoppedState
                && player_->media.mediaStatus() != QMediaPlayer::EndOfMedia) {
                mode_ = Mode::Stopped;
                Q_EMIT changed();
            }
        },
        Qt::QueuedConnection);
    connect(&media, &QMediaPlayer::hasVideoChanged, this, [this] {
        placeVideo();
        Q_EMIT changed();
    });
    connect(&media, &QMediaPlayer::seekableChanged, this, &MediaService::changed);
    player_ = std::move(player);
    return true;
}

void SystemMediaService::onEndOfMedia()
{
    // A CD plays on to the end of the disc, one track after another.
    if (device_ == Device::CdAudio && mode_ == Mode::Playing && (trackCount_ == 0 || track_ < trackCount_)) {
        QString ignored;
        const int ended = track_;
        if (openCdTrack(ended + 1, &ignored)) {
            Q_EMIT changed();
            return;
        }
        // No TOC told us this was the last track: stay at its end.
        mode_ = Mode::Stopped;
        trackCount_ = ended;
        if (!openCdTrack(ended, &ignored)) {
            close();
            return;
        }
        seekMs(durationMs());
    }
    mode_ = Mode::Stopped;
    Q_EMIT changed();
}

void SystemMediaService::close()
{
    const bool wasOpen = player_ || mode_ != Mode::NotOpen;
    player_.reset();
    mode_ = Mode::NotOpen;
    format_ = TimeFormat::Milliseconds;
    device_ = Device::Automatic;
    track_ = 0;
    trackCount_ = 0;
    firstTrack_ = 1;
    drivePath_.clear();
    if (wasOpen)
        Q_EMIT changed();
}

bool SystemMediaService::isOpen() const
{
    return bool(player_);
}

QString SystemMediaService::errorText() const
{
    return error_.isEmpty() ? unknownErrorText() : error_;
}

bool SystemMediaService::setTimeFormat(TimeFormat format)
{
    if (!player_)
        return false;
    // A CD counts in tracks and CD frames, a file in milliseconds or frames.
    const bool cd = device_ == Device::CdAudio;
    if ((cd && format == TimeFormat::Frames) || (!cd && format == TimeFormat::Tmsf))
        return false;
    format_ = format;
    return true;
}

MediaService::TimeFormat SystemMediaService::timeFormat() const
{
    return format_;
}

double SystemMediaService::frameRate() const
{
    if (player_) {
        if (player_->frameRate > 0)
            return player_->frameRate;
        bool ok = false;
        const double rate = player_->media.metaData().value(QMediaMetaData::VideoFrameRate).toDouble(&ok);
        if (ok && rate > 0)
            return rate;
    }
    // Sound files have no frames of their own: count in a fixed rate.
    return FallbackFrameRate;
}

qint64 SystemMediaService::frameAt(qint64 ms) const
{
    // The frame showing at `ms`; the small margin keeps 300 ms at 10/s in frame 3.
    return qint64(std::floor(double(ms) * frameRate() / 1000.0 + 1e-6));
}

void SystemMediaService::seekFrame(qint64 frame)
{
    seekMs(qint64(std::ceil(double(std::max<qint64>(0, frame)) * 1000.0 / frameRate() - 1e-6)));
}

void SystemMediaService::showFrame(qint64 frame)
{
    // A player that never played, or ran to the end, has no pipeline that
    // draws: a seek alone would move the position and show nothing. Paused,
    // it draws the frame it is moved to (and the mode stays as it was).
    if (player_->media.playbackState() == QMediaPlayer::StoppedState)
        player_->media.pause();
    seekFrame(frame);
}

qint64 SystemMediaService::durationMs() const
{
    return player_ ? std::max<qint64>(0, player_->media.duration()) : 0;
}

qint64 SystemMediaService::positionMs() const
{
    return player_ ? std::max<qint64>(0, player_->media.position()) : 0;
}

void SystemMediaService::seekMs(qint64 ms)
{
    if (!player_)
        return;
    const qint64 duration = durationMs();
    player_->media.setPosition(std::clamp<qint64>(ms, 0, duration > 0 ? duration : ms));
}

quint32 SystemMediaService::position() const
{
    if (!player_)
        return 0;
    const qint64 ms = positionMs();
    switch (format_) {
    case TimeFormat::Milliseconds:
        return quint32(ms);
    case TimeFormat::Frames:
        return quint32(frameAt(ms));
    case TimeFormat::Tmsf: {
        const qint64 seconds = ms / 1000;
        return packTmsf(track_, int(seconds / 60), int(seconds % 60),
                        int((ms % 1000) * kCdFramesPerSecond / 1000));
    }
    }
    return 0;
}

bool SystemMediaService::atEnd() const
{
    if (!player_)
        return false;
    if (device_ == Device::CdAudio && trackCount_ > 0 && track_ < trackCount_)
        return false;
    if (player_->media.mediaStatus() == QMediaPlayer::EndOfMedia)
        return true;
    const qint64 duration = durationMs();
    return duration > 0 && positionMs() >= duration;
}

MediaService::Capabilities SystemMediaService::capabilities() const
{
    if (!player_)
        return {};
    Capabilities caps = CanPlay;
    if (device_ == Device::CdAudio) {
        caps |= HasTracks;
        if (!drivePath_.isEmpty())
            caps |= CanEject;
    } else if (player_->media.hasVideo()) {
        caps |= HasVideo;
        if (player_->media.isSeekable())
            caps |= CanStep;
    }
    // Recording needs a recorder, not a player: this service only plays.
    return caps;
}

MediaService::Mode SystemMediaService::mode() const
{
    return mode_;
}

void SystemMediaService::play()
{
    if (!player_)
        return;
    player_->media.play();
    mode_ = Mode::Playing;
    Q_EMIT changed();
}

void SystemMediaService::pause()
{
    if (!player_ || mode_ != Mode::Playing)
        return;
    player_->media.pause();
    mode_ = Mode::Paused;
    Q_EMIT changed();
}

void SystemMediaService::stop()
{
    if (!player_)
        return;
    // QMediaPlayer::stop() would rewind; a stopped medium keeps its place.
    player_->media.pause();
    mode_ = Mode::Stopped;
    Q_EMIT changed();
}

void SystemMediaService::next()
{
    if (!player_)
        return;
    if (device_ == Device::CdAudio) {
        if (trackCount_ > 0 && track_ >= trackCount_)
            return;
        QString ignored;
        const int current = track_;
        if (!openCdTrack(current + 1, &ignored)) {
            trackCount_ = current;  // now we know
            if (!openCdTrack(current, &ignored)) {
                close();
                return;
            }
        }
        Q_EMIT changed();
        return;
    }
    seekMs(durationMs());
    Q_EMIT changed();
}

void SystemMediaService::previous()
{
    if (!player_)
        return;
    // Near the start of a track the previous one; otherwise its own start.
    if (device_ == Device::CdAudio && track_ > firstTrack_ && positionMs() < 2000) {
        QString ignored;
        const int current = track_;
        if (!openCdTrack(current - 1, &ignored) && !openCdTrack(current, &ignored)) {
            close();
            return;
        }
        Q_EMIT changed();
        return;
    }
    seekMs(0);
    Q_EMIT changed();
}

void SystemMediaService::step(int frames)
{
    if (!player_ || !(capabilities() & CanStep))
        return;
    showFrame(frameAt(positionMs()) + frames);
    Q_EMIT changed();
}

void SystemMediaService::back(int frames)
{
    if (!player_ || !(capabilities() & CanStep))
        return;
    showFrame(frameAt(positionMs()) - frames);
    Q_EMIT changed();
}

void SystemMediaService::record()
{
    // Not offered (see capabilities()).
}

void SystemMediaService::eject()
{
    if (!player_ || device_ != Device::CdAudio)
        return;
    const QString drivePath = drivePath_;
    // The drive is released before the tray opens.
    close();
    ejectCdDrive(drivePath);
}

void SystemMediaService::seekToStart()
{
    if (!player_)
        return;
    if (device_ == Device::CdAudio && track_ != firstTrack_) {
        QString ignored;
        if (!openCdTrack(firstTrack_, &ignored)) {
            close();
            return;
        }
        Q_EMIT changed();
        return;
    }
    seekMs(0);
    Q_EMIT changed();
}

void SystemMediaService::setVideoOutput(QWidget* display)
{
    if (display_ == display)
        return;
    if (display_)
        display_->removeEventFilter(this);
    display_ = display;
    if (display_)
        display_->installEventFilter(this);
}

bool SystemMediaService::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == display_ && event->type() == QEvent::Resize)
        placeVideo();
    return false;
}

void SystemMediaService::placeVideo()
{
    if (!player_ || !player_->video || !display_)
        return;
    QVideoWidget* video = player_->video.data();
    video->setGeometry(display_->rect());
    video->setVisible(player_->media.hasVideo());
}

} // namespace pel
