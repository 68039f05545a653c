#pragma once
#include <QString>
#include <QStringList>

namespace PelmoraApp {

// The program's own command line: "--help", "--version", or one optional
// file. "--" ends the options, so a file whose name starts with a dash can
// be opened; the toolkit never sees what follows it.
struct CommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    QStringList toolkitArguments;  // program name and what precedes "--"
    QStringList afterSeparator;    // what follows "--"

    static CommandLine parse(const QStringList& arguments);
    // The file to open: the first of the arguments left by the toolkit (it
    // removes its own options), else the first after "--"; further ones are
    // ignored.
    QString file(const QStringList& leftByToolkit) const;

    static QString usage();
    static QString version();
};

} // namespace PelmoraApp
