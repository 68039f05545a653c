#pragma once
#include <QFlags>
#include <QMediaPlayer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <memory>

class QWidget;

namespace pel {

// One medium at a time: a sound or video file, or the music CD. Opens by file
// (the device follows the file's type) or the CD by device type, reports the
// position in a chosen time format, and runs the transport operations.
class MediaService : public QObject {
    Q_OBJECT
public:
    enum class Device { Automatic, CdAudio };
    enum class TimeFormat { Milliseconds, Frames, Tmsf };
    enum class Mode { NotOpen, Stopped, Playing, Paused, Recording };
    enum Capability {
        CanPlay = 0x01,
        CanRecord = 0x02,
        CanStep = 0x04,
        CanEject = 0x08,
        HasVideo = 0x10,
        HasTracks = 0x20,
    };
    Q_DECLARE_FLAGS(Capabilities, Capability)

    struct OpenRequest {
        Device device = Device::Automatic;
        QString fileName;      // not used for the CD: the default CD drive plays
        bool shareable = false;
    };

    // The text for an error that the service cannot name.
    static QString unknownErrorText();

    // Packs a CD position: track in the lowest byte, then minutes, seconds,
    // frames.
    static quint32 packTmsf(int track, int minutes, int seconds, int frames);

    // Closes whatever is open first. On failure nothing is open and
    // errorText() tells why. A CD opens with the track-minute-second-frame
    // format; a file with milliseconds.
    virtual bool open(const OpenRequest& request) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Why the last open failed ("原因不明のエラー" when the service cannot say).
    virtual QString errorText() const = 0;

    // False when the medium does not take the format; the old one stays.
    virtual bool setTimeFormat(TimeFormat format) = 0;
    virtual TimeFormat timeFormat() const = 0;
    // Position in the current format as one 32-bit value; 0 with nothing open.
    virtual quint32 position() const = 0;
    // At (or past) the end of the medium: play has to rewind first.
    virtual bool atEnd() const = 0;

    virtual Capabilities capabilities() const = 0;
    virtual Mode mode() const = 0;

    // Play resumes a paused medium.
    virtual void play() = 0;
    virtual void pause() = 0;
    // Stops where it is; the position is kept.
    virtual void stop() = 0;
    // Next or previous track; the end or the start for media without tracks.
    virtual void next() = 0;
    virtual void previous() = 0;
    virtual void step(int frames) = 0;
    virtual void back(int frames) = 0;
    virtual void record() = 0;
    virtual void eject() = 0;
    virtual void seekToStart() = 0;

    // Where video shows: filled by the picture while a video medium is open.
    virtual void setVideoOutput(QWidget* display) = 0;

Q_SIGNALS:
    // The medium, its mode or its capabilities changed.
    void changed();
};

Q_DECLARE_OPERATORS_FOR_FLAGS(MediaService::Capabilities)

// The real service over Qt Multimedia (GStreamer on Linux). The player is
// created when a medium opens and released when it closes, so an idle
// service holds no pipeline and no sound device.
class SystemMediaService final : public MediaService {
    Q_OBJECT
public:
    SystemMediaService();
    ~SystemMediaService() override;

    bool open(const OpenRequest& request) override;
    void close() override;
    bool isOpen() const override;
    QString errorText() const override;
    bool setTimeFormat(TimeFormat format) override;
    TimeFormat timeFormat() const override;
    quint32 position() const override;
    bool atEnd() const override;
    Capabilities capabilities() const override;
    Mode mode() const override;
    void play() override;
    void pause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void step(int frames) override;
    void back(int frames) override;
    void record() override;
    void eject() override;
    void seekToStart() override;
    void setVideoOutput(QWidget* display) override;

    // How long open() waits for the medium to load before giving up.
    void setOpenTimeout(int milliseconds) { openTimeout_ = milliseconds; }
    // The frame rate assumed where the medium shows no pictures (sound files).
    static constexpr double FallbackFrameRate = 25.0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Player;
    bool load(const QUrl& url, QString* error);
    bool openCdTrack(int track, QString* error);
    void onEndOfMedia();
    void placeVideo();
    double frameRate() const;
    qint64 frameAt(qint64 ms) const;
    void seekFrame(qint64 frame);
    void showFrame(qint64 frame);  // seeks so the frame is drawn, played or not
    qint64 durationMs() const;
    qint64 positionMs() const;
    void seekMs(qint64 ms);

    std::unique_ptr<Player> player_;
    QPointer<QWidget> display_;
    QString error_;
    Device device_ = Device::Automatic;
    TimeFormat format_ = TimeFormat::Milliseconds;
    Mode mode_ = Mode::NotOpen;
    QString drivePath_;   // CD: the drive probed at the open
    int track_ = 0;       // CD: the track in the player, 1-based
    int trackCount_ = 0;  // CD: last track on the disc; 0 when unknown
    int firstTrack_ = 1;  // CD: first audio track
    int openTimeout_ = 20000;
};

// The Japanese text for a failed open: the kind of error only, never the
// media backend's own (English) detail.
QString mediaErrorText(QMediaPlayer::Error code, bool cd, bool timedOut);

} // namespace pel
