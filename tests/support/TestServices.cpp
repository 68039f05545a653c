#include "support/TestServices.h"

#include "platform/RecoveryStore.h"

#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QSettings>
#include <QTest>

namespace pel::test {

Prompts::Answer ScriptedPrompts::show(QWidget*, const QString& caption, const QString& text,
                                      Buttons buttons, Icon icon)
{
    shown.append({caption, text, buttons, icon});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

QStringList ScriptedPrompts::texts() const
{
    QStringList result;
    for (const Shown& s : shown)
        result << s.text;
    return result;
}

namespace {

std::optional<QString> answerFileDialog(const FileDialogRequest& request, QQueue<std::optional<QString>>& answers,
                                        QList<TextFileChoice>& textFileRequests, QQueue<TextFileChoice>& textFileAnswers)
{
    if (request.textFile)
        textFileRequests << *request.textFile;
    const std::optional<QString> answer = answers.isEmpty() ? std::nullopt : answers.dequeue();
    if (answer && request.textFile && !textFileAnswers.isEmpty())
        *request.textFile = textFileAnswers.dequeue();
    return answer;
}

} // namespace

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const FileDialogRequest& request)
{
    openRequests << request;
    return answerFileDialog(request, openAnswers, textFileRequests, textFileAnswers);
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget*, const FileDialogRequest& request)
{
    saveRequests << request;
    return answerFileDialog(request, saveAnswers, textFileRequests, textFileAnswers);
}

bool ScriptedDialogs::chooseTextEncoding(QWidget*, TextFileChoice& choice)
{
    textFileRequests << choice;
    if (textFileAnswers.isEmpty())
        return false;
    choice = textFileAnswers.dequeue();
    return true;
}

std::optional<QFont> ScriptedDialogs::chooseFont(QWidget*, const QFont& initial,
                                                 const std::function<void(const QFont&)>&, QColor* colour)
{
    fontRequests << initial;
    if (colour)
        fontColorRequests << *colour;
    const std::optional<QFont> answer = fontAnswers.isEmpty() ? std::nullopt : fontAnswers.dequeue();
    if (answer && colour && !fontColorAnswers.isEmpty())
        *colour = fontColorAnswers.dequeue();
    return answer;
}

std::optional<QColor> ScriptedDialogs::chooseColor(QWidget*, const QColor& initial)
{
    colorRequests << initial;
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
}

bool ScriptedDialogs::print(QWidget*, QPrinter& printer)
{
    const bool answer = printAnswers.isEmpty() ? false : printAnswers.dequeue();
    if (answer && preparePrinter)
        preparePrinter(printer);
    return answer;
}

bool ScriptedDialogs::printerSetup(QWidget*, QPrinter&)
{
    ++printerSetups;
    return setupAnswers.isEmpty() ? false : setupAnswers.dequeue();
}

void FakeMediaService::setMode(Mode mode)
{
    mode_ = mode;
    Q_EMIT changed();
}

void FakeMediaService::setCapabilities(Capabilities caps)
{
    caps_ = caps;
    Q_EMIT changed();
}

bool FakeMediaService::open(const OpenRequest& request)
{
    close();
    opens << request;
    calls << QStringLiteral("open");
    if (!openSucceeds) {
        error_ = openError;
        return false;
    }
    error_.clear();
    mode_ = Mode::Stopped;
    caps_ = openCapabilities;
    format_ = request.device == Device::CdAudio ? TimeFormat::Tmsf : TimeFormat::Milliseconds;
    endReached = false;
    Q_EMIT changed();
    return true;
}

void FakeMediaService::close()
{
    if (!isOpen())
        return;
    calls << QStringLiteral("close");
    mode_ = Mode::NotOpen;
    format_ = TimeFormat::Milliseconds;
    Q_EMIT changed();
}

bool FakeMediaService::setTimeFormat(TimeFormat format)
{
    calls << QStringLiteral("setTimeFormat %1").arg(int(format));
    if (!isOpen() || !acceptTimeFormats)
        return false;
    format_ = format;
    return true;
}

void FakeMediaService::transport(const QString& call, std::optional<Mode> mode)
{
    calls << call;
    if (isOpen() && mode) {
        mode_ = *mode;
        Q_EMIT changed();
    }
}

void FakeMediaService::play() { transport(QStringLiteral("play"), Mode::Playing); }
void FakeMediaService::pause() { transport(QStringLiteral("pause"), Mode::Paused); }
void FakeMediaService::stop() { transport(QStringLiteral("stop"), Mode::Stopped); }
void FakeMediaService::next() { transport(QStringLiteral("next"), std::nullopt); }
void FakeMediaService::previous() { transport(QStringLiteral("previous"), std::nullopt); }
void FakeMediaService::step(int frames) { transport(QStringLiteral("step %1").arg(frames), std::nullopt); }
void FakeMediaService::back(int frames) { transport(QStringLiteral("back %1").arg(frames), std::nullopt); }
void FakeMediaService::record() { transport(QStringLiteral("record"), Mode::Recording); }
void FakeMediaService::eject() { transport(QStringLiteral("eject"), std::nullopt); }

void FakeMediaService::seekToStart()
{
    endReached = false;
    currentPosition = 0;
    transport(QStringLiteral("seekToStart"), std::nullopt);
}

TestEnvironment::TestEnvironment()
    : prompts(std::make_shared<ScriptedPrompts>()),
      dialogs(std::make_shared<ScriptedDialogs>()),
      beep(std::make_shared<CountingBeep>()),
      shell(std::make_shared<RecordingShell>()),
      clock(std::make_shared<FixedClock>()),
      help(std::make_shared<RecordingHelp>()),
      media(std::make_shared<FakeMediaService>())
{
    setProgramDirectory(programDir_.path());
    RecoveryStore::setFolder(stateDir_.path() + QStringLiteral("/recovery"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
    Services& s = services();
    s.prompts = prompts;
    s.dialogs = dialogs;
    s.beep = beep;
    s.shell = shell;
    s.clock = clock;
    s.help = help;
    s.media = media;
}

TestEnvironment::~TestEnvironment()
{
    services() = Services{};
    setProgramDirectory(QString());
    RecoveryStore::setFolder(QString());
}

QString TestEnvironment::programDirectory() const
{
    return ProgramDirectory();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace pel::test
