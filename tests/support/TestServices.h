#pragma once
// Scripted doubles of the platform services, and a per-test environment
// with its own program folder and settings folder.
#include "platform/Dialogs.h"
#include "platform/HelpSystem.h"
#include "platform/MediaService.h"
#include "platform/Prompts.h"
#include "platform/Services.h"

#include <QList>
#include <QPrinter>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>

namespace pel::test {

// Answers message boxes from a queue and records every box shown.
class ScriptedPrompts final : public Prompts {
public:
    struct Shown {
        QString caption;
        QString text;
        Buttons buttons;
        Icon icon;
    };
    QQueue<Answer> answers;  // an empty queue answers Cancel (or OK)
    void setAnswers(std::initializer_list<Answer> list)
    {
        answers.clear();
        for (Answer answer : list)
            answers.enqueue(answer);
    }
    QList<Shown> shown;

    Answer show(QWidget*, const QString& caption, const QString& text, Buttons buttons, Icon icon) override;
    QStringList texts() const;
};

// Answers the common dialogs from queues; an empty queue cancels.
class ScriptedDialogs final : public Dialogs {
public:
    QQueue<std::optional<QString>> openAnswers;
    QQueue<std::optional<QString>> saveAnswers;
    QQueue<std::optional<QFont>> fontAnswers;
    QQueue<QColor> fontColorAnswers;  // the text colour chosen with a font, when asked
    QList<QColor> fontColorRequests;
    QQueue<std::optional<QColor>> colorAnswers;
    QQueue<bool> printAnswers;
    QQueue<bool> setupAnswers;
    QList<FileDialogRequest> openRequests;
    QList<FileDialogRequest> saveRequests;
    // A dialog that offers a 文字コード choice: what it showed at first,
    // and the choices made when a file is chosen (an empty queue keeps
    // what was shown). The 文字コード dialog alone takes the next choice,
    // and is cancelled when there is none.
    QList<TextFileChoice> textFileRequests;
    QQueue<TextFileChoice> textFileAnswers;
    QList<QFont> fontRequests;
    QList<QColor> colorRequests;
    // Called with the printer when a print dialog is answered yes, so a test
    // can send the output to a PDF file.
    std::function<void(QPrinter&)> preparePrinter;
    int printerSetups = 0;

    std::optional<QString> openFile(QWidget*, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget*, const FileDialogRequest& request) override;
    bool chooseTextEncoding(QWidget*, TextFileChoice& choice) override;
    std::optional<QFont> chooseFont(QWidget*, const QFont& initial,
                                    const std::function<void(const QFont&)>& apply, QColor* colour) override;
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override;
    bool print(QWidget*, QPrinter& printer) override;
    bool printerSetup(QWidget*, QPrinter& printer) override;
};

class CountingBeep final : public Beep {
public:
    int count = 0;
    void beep() override { ++count; }
};

class RecordingShell final : public Shell {
public:
    QStringList opened;
    QStringList editorsStarted;
    bool result = true;
    bool open(const QString& target) override { opened << target; return result; }
    bool startTextEditor(const QString& path) override { editorsStarted << path; return result; }
};

class FixedClock final : public Clock {
public:
    QDateTime current = QDateTime(QDate(2024, 5, 6), QTime(13, 4, 5));
    qint64 uptime = 0;
    QDateTime now() const override { return current; }
    qint64 uptimeMilliseconds() const override { return uptime; }
};

// Records the help files whose topics were asked for.
class RecordingHelp final : public HelpSystem {
public:
    QStringList shown;
    void showTopics(const QString& helpFile) override { shown << helpFile; }
};

// A media service that opens what it is told to and records every call.
class FakeMediaService final : public MediaService {
public:
    // Script for the next opens.
    bool openSucceeds = true;
    QString openError;                       // empty: the service cannot name the error
    Capabilities openCapabilities = CanPlay;
    bool acceptTimeFormats = true;
    // What the open medium reports.
    quint32 currentPosition = 0;
    bool endReached = false;
    // Record.
    QList<OpenRequest> opens;
    QStringList calls;                       // "open", "close", "play", "step 1", ...
    QWidget* videoOutput = nullptr;

    // Changes the open medium's mode as the device would by itself.
    void setMode(Mode mode);
    void setCapabilities(Capabilities caps);

    bool open(const OpenRequest& request) override;
    void close() override;
    bool isOpen() const override { return mode_ != Mode::NotOpen; }
    QString errorText() const override { return error_.isEmpty() ? unknownErrorText() : error_; }
    bool setTimeFormat(TimeFormat format) override;
    TimeFormat timeFormat() const override { return format_; }
    quint32 position() const override { return isOpen() ? currentPosition : 0; }
    bool atEnd() const override { return isOpen() && endReached; }
    Capabilities capabilities() const override { return isOpen() ? caps_ : Capabilities(); }
    Mode mode() const override { return mode_; }
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
    void setVideoOutput(QWidget* display) override { videoOutput = display; }

private:
    void transport(const QString& call, std::optional<Mode> mode);

    Mode mode_ = Mode::NotOpen;
    TimeFormat format_ = TimeFormat::Milliseconds;
    Capabilities caps_;
    QString error_;
};

// Installs fresh doubles and a temporary program folder and settings folder
// for the lifetime of the object.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString programDirectory() const;   // with trailing separator
    QString path(const QString& fileName) const { return programDirectory() + fileName; }
    QString settingsDirectory() const { return settingsDir_.path(); }
    QString recoveryDirectory() const { return stateDir_.path() + QStringLiteral("/recovery"); }

    std::shared_ptr<ScriptedPrompts> prompts;
    std::shared_ptr<ScriptedDialogs> dialogs;
    std::shared_ptr<CountingBeep> beep;
    std::shared_ptr<RecordingShell> shell;
    std::shared_ptr<FixedClock> clock;
    std::shared_ptr<RecordingHelp> help;
    std::shared_ptr<FakeMediaService> media;

private:
    QTemporaryDir programDir_;
    QTemporaryDir settingsDir_;
    QTemporaryDir stateDir_;
};

// Writes `bytes` to `path`; fails the test on error.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace pel::test
