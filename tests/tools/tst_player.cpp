#include "platform/Hints.h"
#include "platform/MediaService.h"
#include "support/TestServices.h"
#include "tools/MediaPlayerBar.h"
#include "tools/PelPlayer.h"
#include "tools/PlayerDisplay.h"
#include "ToolTestSupport.h"

#include <QFileInfo>
#include <QLabel>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>
#include <QAudioDevice>
#include <QBuffer>
#include <QImage>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <memory>

using namespace pel::test;
using Service = pel::MediaService;
using Mode = Service::Mode;
using Caps = Service::Capabilities;

Q_DECLARE_METATYPE(Mode)
Q_DECLARE_METATYPE(Caps)

namespace {

// A mono 16-bit PCM WAV file with a quiet 440 Hz tone.
QByteArray makeWav(int milliseconds, int rate = 8000)
{
    QByteArray pcm;
    const int samples = rate * milliseconds / 1000;
    for (int i = 0; i < samples; ++i) {
        const qint16 s = qint16(3000 * std::sin(2 * M_PI * 440 * i / rate));
        pcm.append(reinterpret_cast<const char*>(&s), 2);
    }
    QByteArray wav;
    const auto u32 = [&](quint32 v) { for (int b = 0; b < 4; ++b) wav.append(char((v >> (8 * b)) & 0xFF)); };
    const auto u16 = [&](quint16 v) { wav.append(char(v & 0xFF)); wav.append(char(v >> 8)); };
    wav += "RIFF";
    u32(36 + quint32(pcm.size()));
    wav += "WAVEfmt ";
    u32(16); u16(1); u16(1); u32(quint32(rate)); u32(quint32(rate) * 2); u16(2); u16(16);
    wav += "data";
    u32(quint32(pcm.size()));
    return wav + pcm;
}

// A motion-JPEG AVI: `count` frames of `width` x `height` at `fps`, each a
// different grey so the frames are not all alike.
QByteArray makeMjpegAvi(int count, int fps, int width = 64, int height = 48)
{
    const auto u32 = [](QByteArray& out, quint32 v) { for (int b = 0; b < 4; ++b) out.append(char((v >> (8 * b)) & 0xFF)); };
    const auto u16 = [](QByteArray& out, quint16 v) { out.append(char(v & 0xFF)); out.append(char(v >> 8)); };
    const auto chunk = [&](const char* id, const QByteArray& body) {
        QByteArray out(id, 4);
        u32(out, quint32(body.size()));
        out += body;
        if (body.size() % 2)
            out.append('\0');
        return out;
    };
    const auto list = [&](const char* type, const QByteArray& body) { return chunk("LIST", QByteArray(type, 4) + body); };

    QList<QByteArray> frames;
    for (int i = 0; i < count; ++i) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((i * 37) % 360, 200, 220));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG", 80);
        frames << buffer.data();
    }
    QByteArray avih;
    u32(avih, quint32(1000000 / fps)); u32(avih, 0); u32(avih, 0); u32(avih, 0x10);
    u32(avih, quint32(count)); u32(avih, 0); u32(avih, 1); u32(avih, 0);
    u32(avih, quint32(width)); u32(avih, quint32(height));
    for (int i = 0; i < 4; ++i) u32(avih, 0);
    QByteArray strh("vidsMJPG");
    u32(strh, 0); u16(strh, 0); u16(strh, 0); u32(strh, 0);
    u32(strh, 1); u32(strh, quint32(fps)); u32(strh, 0); u32(strh, quint32(count));
    u32(strh, 0); u32(strh, 0xFFFFFFFF); u32(strh, 0);
    u16(strh, 0); u16(strh, 0); u16(strh, quint16(width)); u16(strh, quint16(height));
    QByteArray strf;
    u32(strf, 40); u32(strf, quint32(width)); u32(strf, quint32(height)); u16(strf, 1); u16(strf, 24);
    strf += "MJPG";
    u32(strf, quint32(width * height * 3));
    for (int i = 0; i < 4; ++i) u32(strf, 0);
    const QByteArray hdrl = list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));

    QByteArray movi("movi");
    QByteArray idx1;
    for (const QByteArray& frame : frames) {
        idx1 += "00dc";
        u32(idx1, 0x10);
        u32(idx1, quint32(movi.size()));
        u32(idx1, quint32(frame.size()));
        movi += chunk("00dc", frame);
    }
    const QByteArray body = QByteArray("AVI ") + hdrl + chunk("LIST", movi) + chunk("idx1", idx1);
    return chunk("RIFF", body);
}

QString enabledPattern(const QList<QToolButton*>& buttons)
{
    QString pattern;
    for (QToolButton* b : buttons)
        pattern += b->isEnabled() ? u'1' : u'0';
    return pattern;
}

QString enabledPattern(const MediaPlayerBar::EnabledStates& states)
{
    QString pattern;
    for (bool on : states)
        pattern += on ? u'1' : u'0';
    return pattern;
}

} // namespace

class PlayerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<FakeEditorPort> editor;
    std::unique_ptr<TForm7> form;

    FakeMediaService& media() { return *env->media; }
    QList<QToolButton*> transportButtons() const
    {
        QList<QToolButton*> list;
        for (int i = 0; i < MediaPlayerBar::ButtonCount; ++i)
            list << form->MediaPlayer1->button(MediaPlayerBar::Button(i));
        return list;
    }
    void openCd()
    {
        form->ToolButton2->click();
        QVERIFY(media().isOpen());
    }
    void openFile(const QString& path)
    {
        env->dialogs->openAnswers.enqueue(path);
        form->ToolButton1->click();
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        editor = std::make_unique<FakeEditorPort>();
        form = std::make_unique<TForm7>(*editor);
    }
    void cleanup()
    {
        form.reset();
        editor.reset();
        env.reset();
    }

    void windowAndControls()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("PelMediaPlayer"));
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(form->pos(), QPoint(393, 69));
        QCOMPARE(form->ToolButton1->toolTip(), QStringLiteral("FileOpen"));
        QCOMPARE(form->ToolButton2->toolTip(), QStringLiteral("音楽CDの再生"));
        QCOMPARE(pel::hintLongPart(pel::hintOf(form->ToolButton2)), QStringLiteral("音楽CDを再生します｡"));
        QCOMPARE(form->ToolButton3->toolTip(), QStringLiteral("Exit"));
        QCOMPARE(form->Label1->text(), QStringLiteral("Pelmora"));
        QCOMPARE(form->Label1->font().pixelSize(), 35);
        QCOMPARE(form->Label2->text(), QStringLiteral("MediaPlayer"));
        QCOMPARE(form->Label2->font().pixelSize(), 27);
        QVERIFY(form->Label3->text().isEmpty());
        QCOMPARE(form->Label5->text(), QStringLiteral("CD"));
        QCOMPARE(form->Label4->text(), QStringLiteral("Player"));
        QCOMPARE(form->Label4->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QCOMPARE(form->StatusBar1->palette().color(QPalette::Window), QColor(Qt::cyan));
        // Video goes into the display area, clear of the date and position.
        QCOMPARE(media().videoOutput, form->VideoArea);
        QCOMPARE(form->VideoArea->parentWidget(), form->DisplayPanel);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (QLabel* line : {form->Label3, form->Label4, form->Label5})
            QVERIFY2(!form->VideoArea->geometry().intersects(line->geometry()), qPrintable(line->objectName()));
        QVERIFY(form->VideoArea->height() >= form->DisplayPanel->height() / 2);
        // Nothing open: the whole bar is off.
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("000000000"));
    }

    void fileDialogFilters()
    {
        form->ToolButton1->click();
        QCOMPARE(env->dialogs->openRequests.size(), 1);
        const QList<pel::FileFilter> filters = env->dialogs->openRequests.first().filters;
        QCOMPARE(filters.size(), 4);
        QCOMPARE(filters[0].description, QStringLiteral("MIDIファイル(*.MID,*.RMI)"));
        QCOMPARE(filters[0].patterns, QStringLiteral("*.mid;*.rmi"));
        QCOMPARE(filters[1].description, QStringLiteral("ムービー(*.mov)"));
        QCOMPARE(filters[1].patterns, QStringLiteral("*.mov"));
        QCOMPARE(filters[2].description, QStringLiteral("メディアクリップ(*.AVI,*.MPG)"));
        QCOMPARE(filters[2].patterns, QStringLiteral("*.avi;*.mpg;mpeg;*.mov;*.qt"));
        QCOMPARE(filters[3].description, QStringLiteral("Wave File(*.wav;*.mp3)"));
        QCOMPARE(filters[3].patterns, QStringLiteral("*.wav;*.mp3"));
    }

    void openFile_data()
    {
        QTest::addColumn<bool>("cdFirst");          // a CD is open and playing before
        QTest::addColumn<QString>("answer");        // empty: the dialog is cancelled
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("serviceError");
        QTest::addColumn<QString>("status");        // status line afterwards
        QTest::addColumn<QString>("errorBox");      // empty: none

        const QString cd = QStringLiteral("音楽CDを再生します");
        QTest::newRow("file") << false << QStringLiteral("/home/user/音楽/song.mid") << true << QString()
                              << QStringLiteral("song.mid") << QString();
        QTest::newRow("file while CD plays") << true << QStringLiteral("/tmp/clip.avi") << true << QString()
                                             << QStringLiteral("clip.avi") << QString();
        QTest::newRow("cancelled, nothing open") << false << QString() << true << QString() << QString() << QString();
        QTest::newRow("cancelled, CD open") << true << QString() << true << QString() << cd << QString();
        QTest::newRow("failure with text") << true << QStringLiteral("/tmp/bad.wav") << false
                                           << QStringLiteral("この形式のメディアは再生できません") << cd
                                           << QStringLiteral("この形式のメディアは再生できません");
        QTest::newRow("failure without text") << false << QStringLiteral("/tmp/bad.mp3") << false << QString()
                                              << QString() << QStringLiteral("原因不明のエラー");
    }
    void openFile()
    {
        QFETCH(bool, cdFirst);
        QFETCH(QString, answer);
        QFETCH(bool, succeeds);
        QFETCH(QString, serviceError);
        QFETCH(QString, status);
        QFETCH(QString, errorBox);

        if (cdFirst) {
            openCd();
            form->MediaPlayer1->click(MediaPlayerBar::Play);
            QCOMPARE(media().mode(), Mode::Playing);
        }
        media().calls.clear();
        media().openSucceeds = succeeds;
        media().openError = serviceError;
        if (!answer.isEmpty())
            env->dialogs->openAnswers.enqueue(answer);
        form->ToolButton1->click();

        QCOMPARE(form->statusText(), status);
        if (answer.isEmpty()) {
            // Cancelled: the open medium stays as it was.
            QVERIFY(media().calls.isEmpty());
            QCOMPARE(media().isOpen(), cdFirst);
            QCOMPARE(media().mode(), cdFirst ? Mode::Playing : Mode::NotOpen);
            QVERIFY(env->prompts->shown.isEmpty());
            return;
        }
        QCOMPARE(media().opens.last().device, Service::Device::Automatic);
        QCOMPARE(media().opens.last().fileName, answer);
        QCOMPARE(form->FileName, answer);
        // The previous medium goes first, whatever happens to the new one.
        QCOMPARE(media().calls.indexOf(QStringLiteral("close")), cdFirst ? 0 : -1);
        if (succeeds) {
            QVERIFY(media().isOpen());
            QCOMPARE(media().timeFormat(), Service::TimeFormat::Frames);
            QCOMPARE(form->MediaPlayer1->frames(), 1);
            QVERIFY(!media().calls.contains(QStringLiteral("play")));  // the user presses play
            QVERIFY(env->prompts->shown.isEmpty());
        } else {
            QVERIFY(!media().isOpen());
            QCOMPARE(env->prompts->shown.size(), 1);
            QCOMPARE(env->prompts->shown.first().caption, QStringLiteral("エラー"));
            QCOMPARE(env->prompts->shown.first().text, errorBox);
            QVERIFY(!media().calls.contains(QStringLiteral("setTimeFormat 1")));
        }
    }

    void refusedTimeFormatIsNotAnError()
    {
        media().acceptTimeFormats = false;
        openFile(QStringLiteral("/tmp/tune.wav"));
        QVERIFY(media().isOpen());
        QCOMPARE(media().timeFormat(), Service::TimeFormat::Milliseconds);
        QVERIFY(env->prompts->shown.isEmpty());
        QCOMPARE(form->statusText(), QStringLiteral("tune.wav"));
    }

    void musicCd()
    {
        form->ToolButton2->click();
        QCOMPARE(media().opens.size(), 1);
        const Service::OpenRequest request = media().opens.first();
        QCOMPARE(request.device, Service::Device::CdAudio);
        QCOMPARE(request.fileName, QStringLiteral("Q:"));
        QVERIFY(request.shareable);
        QCOMPARE(media().timeFormat(), Service::TimeFormat::Tmsf);
        QCOMPARE(form->statusText(), QStringLiteral("音楽CDを再生します"));
        QVERIFY(!media().calls.contains(QStringLiteral("play")));
    }

    void musicCdFailureKeepsStatus()
    {
        openFile(QStringLiteral("/tmp/a.mid"));
        media().openSucceeds = false;
        media().openError = QStringLiteral("ドライブにCDが入っていません");
        form->ToolButton2->click();
        QVERIFY(!media().isOpen());
        QCOMPARE(env->prompts->texts(), QStringList{QStringLiteral("ドライブにCDが入っていません")});
        QCOMPARE(form->statusText(), QStringLiteral("a.mid"));
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("000000000"));
    }

    void shareableStaysOn()
    {
        openFile(QStringLiteral("/tmp/one.wav"));
        QVERIFY(!media().opens.last().shareable);  // off until the CD command
        form->ToolButton2->click();
        openFile(QStringLiteral("/tmp/two.wav"));
        media().openSucceeds = false;
        openFile(QStringLiteral("/tmp/three.wav"));
        QCOMPARE(media().opens.size(), 4);
        QVERIFY(media().opens[1].shareable);
        QVERIFY(media().opens[2].shareable);
        QVERIFY(media().opens[3].shareable);
    }

    void timerDisplay_data()
    {
        QTest::addColumn<bool>("cd");
        QTest::addColumn<bool>("open");
        QTest::addColumn<quint32>("position");
        QTest::addColumn<QString>("track");
        QTest::addColumn<QString>("time");

        QTest::newRow("CD track 3 at 2:05") << true << true << Service::packTmsf(3, 2, 5, 40) << "03" << "02:05";
        QTest::newRow("CD track 12 at 59:59") << true << true << Service::packTmsf(12, 59, 59, 74) << "12" << "59:59";
        QTest::newRow("CD start") << true << true << Service::packTmsf(1, 0, 0, 0) << "01" << "00:00";
        // A file counts frames: its bytes are shown as they are.
        QTest::newRow("frames 0x012345") << false << true << quint32(0x00012345) << "69" << "35:01";
        QTest::newRow("frames, high byte ignored") << false << true << quint32(0xFF00FF07) << "07" << "255:00";
        QTest::newRow("nothing open") << false << false << quint32(0x00050203) << "00" << "00:00";
    }
    void timerDisplay()
    {
        QFETCH(bool, cd);
        QFETCH(bool, open);
        QFETCH(quint32, position);
        QFETCH(QString, track);
        QFETCH(QString, time);

        if (open) {
            if (cd)
                form->ToolButton2->click();
            else
                openFile(QStringLiteral("/tmp/movie.mpg"));
        }
        media().currentPosition = position;  // reported only while open
        // The window need not be shown: the timer runs from start-up.
        QVERIFY(form->isHidden());
        QCOMPARE(form->Timer1->interval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(form->Label5->text(), track, 2500);
        QCOMPARE(form->Label4->text(), time);
        QCOMPARE(form->Label3->text(), QStringLiteral("2024/05/06"));

        const PlayerPositionTexts texts = playerPositionTexts(open ? position : 0);
        QCOMPARE(texts.track, track);
        QCOMPARE(texts.time, time);
    }

    void enabledStates_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<Caps>("caps");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("expected");  // play pause stop next prev step back record eject

        const Caps all = Service::CanPlay | Service::CanStep | Service::CanRecord | Service::CanEject;
        QTest::newRow("closed") << false << all << Mode::NotOpen << "000000000";
        QTest::newRow("sound stopped") << true << Caps(Service::CanPlay) << Mode::Stopped << "100110000";
        QTest::newRow("sound playing") << true << Caps(Service::CanPlay) << Mode::Playing << "011110000";
        QTest::newRow("sound paused") << true << Caps(Service::CanPlay) << Mode::Paused << "111110000";
        QTest::newRow("video stopped") << true << Caps(Service::CanPlay | Service::CanStep | Service::HasVideo)
                                       << Mode::Stopped << "100111100";
        QTest::newRow("CD playing") << true << Caps(Service::CanPlay | Service::HasTracks | Service::CanEject)
                                    << Mode::Playing << "011110001";
        QTest::newRow("recorder stopped") << true << all << Mode::Stopped << "100111111";
        QTest::newRow("recording") << true << all << Mode::Recording << "011000001";
        QTest::newRow("cannot play") << true << Caps() << Mode::Stopped << "000000000";
    }
    void enabledStates()
    {
        QFETCH(bool, open);
        QFETCH(Caps, caps);
        QFETCH(Mode, mode);
        QFETCH(QString, expected);

        QCOMPARE(enabledPattern(MediaPlayerBar::enabledStates(open, caps, mode)), expected);

        // The same through the bar, driven by the service's notifications.
        media().openCapabilities = caps;
        if (open) {
            openFile(QStringLiteral("/tmp/x.avi"));
            media().setMode(mode);
        }
        QCOMPARE(enabledPattern(transportButtons()), expected);
    }

    void barFollowsTheMedium()
    {
        media().openCapabilities = Service::CanPlay | Service::CanStep | Service::HasVideo;
        openFile(QStringLiteral("/tmp/x.mov"));
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("100111100"));
        QTest::mouseClick(form->MediaPlayer1->button(MediaPlayerBar::Play), Qt::LeftButton);
        QCOMPARE(media().mode(), Mode::Playing);
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("011111100"));
        // The medium ends by itself.
        media().setMode(Mode::Stopped);
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("100111100"));
        // A CD that cannot step.
        media().openCapabilities = Service::CanPlay | Service::HasTracks | Service::CanEject;
        form->ToolButton2->click();
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("100110001"));
        media().openSucceeds = false;
        openFile(QStringLiteral("/tmp/broken.avi"));
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("000000000"));
    }

    void transportCalls_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<bool>("atEnd");
        QTest::addColumn<int>("button");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("play") << Mode::Stopped << false << int(MediaPlayerBar::Play) << QStringList{"play"};
        QTest::newRow("play at the end rewinds")
            << Mode::Stopped << true << int(MediaPlayerBar::Play) << QStringList{"seekToStart", "play"};
        QTest::newRow("pause") << Mode::Playing << false << int(MediaPlayerBar::Pause) << QStringList{"pause"};
        QTest::newRow("pause again resumes") << Mode::Paused << false << int(MediaPlayerBar::Pause) << QStringList{"play"};
        QTest::newRow("stop") << Mode::Playing << false << int(MediaPlayerBar::Stop) << QStringList{"stop"};
        QTest::newRow("next") << Mode::Playing << false << int(MediaPlayerBar::Next) << QStringList{"next"};
        QTest::newRow("previous") << Mode::Stopped << false << int(MediaPlayerBar::Previous) << QStringList{"previous"};
        QTest::newRow("step one frame") << Mode::Stopped << false << int(MediaPlayerBar::Step) << QStringList{"step 1"};
        QTest::newRow("back one frame") << Mode::Stopped << false << int(MediaPlayerBar::Back) << QStringList{"back 1"};
        QTest::newRow("record") << Mode::Stopped << false << int(MediaPlayerBar::Record) << QStringList{"record"};
        QTest::newRow("eject") << Mode::Stopped << false << int(MediaPlayerBar::Eject) << QStringList{"eject"};
    }
    void transportCalls()
    {
        QFETCH(Mode, mode);
        QFETCH(bool, atEnd);
        QFETCH(int, button);
        QFETCH(QStringList, calls);

        media().openCapabilities = Service::CanPlay | Service::CanStep | Service::CanRecord | Service::CanEject;
        openFile(QStringLiteral("/tmp/x.avi"));
        media().setMode(mode);
        media().endReached = atEnd;
        media().calls.clear();
        QToolButton* b = form->MediaPlayer1->button(MediaPlayerBar::Button(button));
        QVERIFY(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(media().calls, calls);
    }

    void hidingKeepsPlayingAndTheEndCloses()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->ToolButton2->click();
        form->MediaPlayer1->click(MediaPlayerBar::Play);
        media().calls.clear();
        QTest::mouseClick(form->ToolButton3, Qt::LeftButton);
        QVERIFY(form->isHidden());
        QCOMPARE(media().mode(), Mode::Playing);
        QVERIFY(media().calls.isEmpty());
        QVERIFY(form->Timer1->isActive());
        form.reset();
        QCOMPARE(media().calls, QStringList{"close"});
        QVERIFY(!media().isOpen());
    }

    // Through the real service and whatever multimedia backend this machine has.
    void realWavPlayback()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tone.wav"));
        writeFile(path, makeWav(1200));
        const bool noSink = QMediaDevices::audioOutputs().isEmpty();

        pel::SystemMediaService service;
        QWidget display;
        display.resize(200, 120);
        service.setVideoOutput(&display);
        QSignalSpy changes(&service, &Service::changed);
        if (!service.open({Service::Device::Automatic, path, false})) {
            if (service.errorText().startsWith(QStringLiteral("この環境にはメディアを再生する機能がありません")))
                QSKIP("No Qt Multimedia backend on this machine");
            if (noSink)
                QSKIP(qPrintable(QStringLiteral("No audio output device, and the backend cannot open a WAV "
                                                "without one: %1").arg(service.errorText())));
            QFAIL(qPrintable(service.errorText()));
        }
        QVERIFY(service.isOpen());
        QVERIFY(changes.count() >= 1);
        QCOMPARE(service.mode(), Mode::Stopped);
        QVERIFY(service.capabilities() & Service::CanPlay);
        QVERIFY(!(service.capabilities() & Service::HasVideo));
        // Sound only: the picture area stays as it is.
        auto* video = display.findChild<QWidget*>(QStringLiteral("VideoOutput"));
        QVERIFY(video);
        QVERIFY(video->isHidden());
        QCOMPARE(service.position(), 0u);
        QVERIFY(!service.setTimeFormat(Service::TimeFormat::Tmsf));
        QCOMPARE(service.timeFormat(), Service::TimeFormat::Milliseconds);

        service.play();
        QCOMPARE(service.mode(), Mode::Playing);
        QTest::qWait(400);
        if (service.position() == 0 && noSink)
            QSKIP("No audio output device: the pipeline does not run without one");
        QVERIFY(service.position() > 0);
        // Plays to the end and stops there by itself.
        QTRY_VERIFY_WITH_TIMEOUT(service.mode() == Mode::Stopped, 10000);
        QVERIFY(service.atEnd());
        QVERIFY(service.position() >= 1000);

        // Frames at the fallback rate for a sound file.
        QVERIFY(service.setTimeFormat(Service::TimeFormat::Frames));
        const quint32 frames = service.position();
        QVERIFY2(frames >= 25 && frames <= 31, qPrintable(QString::number(frames)));

        // Rewind and play again; stop keeps the place.
        service.seekToStart();
        QTRY_VERIFY_WITH_TIMEOUT(!service.atEnd(), 3000);
        service.play();
        QTRY_VERIFY_WITH_TIMEOUT(service.position() > 5, 5000);
        service.stop();
        QCOMPARE(service.mode(), Mode::Stopped);
        QTest::qWait(300);
        const quint32 stoppedAt = service.position();
        QTest::qWait(300);
        QCOMPARE(service.position(), stoppedAt);
        QVERIFY(stoppedAt > 0);
        QVERIFY(!service.atEnd());

        service.close();
        QVERIFY(!service.isOpen());
        QCOMPARE(service.position(), 0u);
        QCOMPARE(service.mode(), Mode::NotOpen);
        QVERIFY(!display.findChild<QWidget*>(QStringLiteral("VideoOutput")));
    }

    // A two-second video at 10 frames a second: frames count at its own rate,
    // step and back move whole frames, the picture fills the display area.
    void realVideoFrames()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.avi"));
        writeFile(path, makeMjpegAvi(20, 10));

        pel::SystemMediaService service;
        QWidget display;
        display.resize(160, 100);
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        service.setVideoOutput(&display);
        if (!service.open({Service::Device::Automatic, path, false})) {
            if (service.errorText().startsWith(QStringLiteral("この環境にはメディアを再生する機能がありません")))
                QSKIP("No Qt Multimedia backend on this machine");
            QFAIL(qPrintable(service.errorText()));
        }
        QTRY_VERIFY_WITH_TIMEOUT(service.capabilities() & Service::HasVideo, 5000);
        QVERIFY(service.capabilities() & Service::CanStep);
        auto* video = display.findChild<QWidget*>(QStringLiteral("VideoOutput"));
        QVERIFY(video);
        QVERIFY(!video->isHidden());
        QCOMPARE(video->geometry(), display.rect());
        display.resize(240, 130);
        QCOMPARE(video->geometry(), display.rect());

        QVERIFY(service.setTimeFormat(Service::TimeFormat::Frames));
        QCOMPARE(service.position(), 0u);
        // Step and back draw a picture whether or not the medium has played.
        int pictures = 0;
        connect(qobject_cast<QVideoWidget*>(video)->videoSink(), &QVideoSink::videoFrameChanged, video,
                [&pictures](const QVideoFrame& frame) { pictures += frame.isValid(); });
        service.step(1);
        QTRY_VERIFY_WITH_TIMEOUT(pictures > 0, 5000);
        QCOMPARE(service.mode(), Mode::Stopped);
        service.back(1);
        QTRY_COMPARE_WITH_TIMEOUT(service.position(), 0u, 5000);
        // The rate comes with the first picture shown.
        service.play();
        QTRY_VERIFY_WITH_TIMEOUT(service.mode() == Mode::Stopped, 10000);
        QVERIFY(service.atEnd());
        QCOMPARE(service.position(), 20u);
        pictures = 0;
        service.back(2);
        QTRY_VERIFY_WITH_TIMEOUT(pictures > 0, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(service.position(), 18u, 5000);
        QCOMPARE(service.mode(), Mode::Stopped);
        service.seekToStart();
        QTRY_COMPARE_WITH_TIMEOUT(service.position(), 0u, 5000);
        service.step(3);
        QTRY_COMPARE_WITH_TIMEOUT(service.position(), 3u, 5000);
        service.back(1);
        QTRY_COMPARE_WITH_TIMEOUT(service.position(), 2u, 5000);
        service.back(5);  // not before the start
        QTRY_COMPARE_WITH_TIMEOUT(service.position(), 0u, 5000);
        service.next();  // a file without tracks: to its end
        QTRY_COMPARE_WITH_TIMEOUT(service.position(), 20u, 5000);
        QVERIFY(service.atEnd());
        service.close();
        QVERIFY(!display.findChild<QWidget*>(QStringLiteral("VideoOutput")));
    }

    // The window on the real service: open a video through the file command,
    // play it to the end, and play again from the start.
    void realPlayerWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("clip.avi"));
        writeFile(path, makeMjpegAvi(20, 10));
        form.reset();
        auto service = std::make_shared<pel::SystemMediaService>();
        pel::services().media = service;
        form = std::make_unique<TForm7>(*editor);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        openFile(path);
        if (!service->isOpen())
            QFAIL(qPrintable(env->prompts->texts().join(u'\n')));
        QCOMPARE(form->statusText(), QStringLiteral("clip.avi"));
        QTRY_VERIFY_WITH_TIMEOUT(service->capabilities() & Service::HasVideo, 5000);
        auto* video = form->VideoArea->findChild<QWidget*>(QStringLiteral("VideoOutput"));
        QVERIFY(video && video->isVisible());
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("100111100"));

        QTest::mouseClick(form->MediaPlayer1->button(MediaPlayerBar::Play), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(service->mode() == Mode::Stopped, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(form->Label5->text(), QStringLiteral("20"), 2500);
        QCOMPARE(form->Label4->text(), QStringLiteral("00:00"));
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("100111100"));

        // From the end, play starts over.
        QTest::mouseClick(form->MediaPlayer1->button(MediaPlayerBar::Play), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(service->position() > 0 && service->position() < 15, 3000);
        QCOMPARE(enabledPattern(transportButtons()), QStringLiteral("011111100"));
        form.reset();
        QVERIFY(!service->isOpen());
    }

    void realServiceRefuses_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");  // empty: the file does not exist
        QTest::addColumn<QString>("textStart");

        QTest::newRow("missing file") << QStringLiteral("missing.mid") << QByteArray()
                                      << QStringLiteral("ファイル ");
        QTest::newRow("not a sound") << QStringLiteral("text.wav") << QByteArray("hello, this is no sound at all")
                                     << QString();
    }
    void realServiceRefuses()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, textStart);

        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        if (!content.isEmpty())
            writeFile(path, content);
        pel::SystemMediaService service;
        service.setOpenTimeout(10000);
        QVERIFY(!service.open({Service::Device::Automatic, path, false}));
        QVERIFY(!service.isOpen());
        QCOMPARE(service.position(), 0u);
        QVERIFY(!service.errorText().isEmpty());
        qInfo() << "refused with" << service.errorText();
        if (!textStart.isEmpty()) {
            QVERIFY2(service.errorText().startsWith(textStart), qPrintable(service.errorText()));
            QVERIFY(service.errorText().contains(path));
        }
    }

    void realCdWithoutDrive()
    {
#ifdef Q_OS_LINUX
        if (QFileInfo::exists(QStringLiteral("/dev/cdrom")) || QFileInfo::exists(QStringLiteral("/dev/sr0")))
            QSKIP("This machine has a CD drive; the no-drive message cannot be checked here");
        pel::SystemMediaService service;
        QVERIFY(!service.open({Service::Device::CdAudio, QStringLiteral("Q:"), true}));
        QCOMPARE(service.errorText(), QStringLiteral("CDドライブが見つかりません"));
        QVERIFY(!service.isOpen());
#else
        QSKIP("The drive probe is for Linux");
#endif
    }
};

QTEST_MAIN(PlayerTest)
#include "tst_player.moc"
