#include "support/TestServices.h"

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

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const FileDialogRequest& request)
{
    openRequests << request;
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget*, const FileDialogRequest& request)
{
    saveRequests << request;
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.dequeue();
}

std::optional<QFont> ScriptedDialogs::chooseFont(QWidget*, const QFont& initial,
                                                 const std::function<void(const QFont&)>&)
{
    fontRequests << initial;
    return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.dequeue();
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

TestEnvironment::TestEnvironment()
    : prompts(std::make_shared<ScriptedPrompts>()),
      dialogs(std::make_shared<ScriptedDialogs>()),
      beep(std::make_shared<CountingBeep>()),
      shell(std::make_shared<RecordingShell>()),
      clock(std::make_shared<FixedClock>()),
      help(std::make_shared<RecordingHelp>())
{
    setProgramDirectory(programDir_.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_.path());
    Services& s = services();
    s.prompts = prompts;
    s.dialogs = dialogs;
    s.beep = beep;
    s.shell = shell;
    s.clock = clock;
    s.help = help;
}

TestEnvironment::~TestEnvironment()
{
    services() = Services{};
    setProgramDirectory(QString());
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
