#pragma once
#include <QString>
#include <QStringList>

namespace pel {

// Where the phrase registers, their backups and the paint form's pictures
// live, with a trailing separator: the folder of the running executable when
// the program may write there (a portable copy keeps its files beside
// itself), otherwise the user's own data folder.
QString ProgramDirectory();

// Tests point the program at a temporary folder.
void setProgramDirectory(const QString& folder);

// The folder of the running executable itself, with a trailing separator.
QString executableDirectory();

// Where the program's shipped data (the help book) is looked for, in order:
// beside the program (a portable copy, the build folder), then the installed
// data folder, found relative to the program so that a moved installation
// still finds it, then where it was installed. A folder set for tests
// stands for all of them.
QStringList programDataFolders();

// The register files that move with the program: lists and their backups.
QStringList registerFileNames();

struct DataFolderChoice {
    QString folder;        // with a trailing separator
    bool perUser = false;  // the program's own folder could not be used
};

// Chooses the data folder. `programFolder` is used when it is writable and
// is not the system-wide installation's folder (`installedFolder`, empty
// when unknown): an installed program run by an administrator must not
// scatter files into the system folders either.
DataFolderChoice chooseDataFolder(const QString& programFolder, const QString& userFolder,
                                  const QString& installedFolder);

// First start in the per-user folder: creates it and copies the register
// files found in `programFolder` over, unless the user folder already holds
// any register (so the copy happens once and never overwrites the user's
// own lists). Returns the names copied.
QStringList adoptRegisters(const QString& programFolder, const QString& userFolder);

} // namespace pel
