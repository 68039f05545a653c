#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pel {

// The folders that hold desktop entries, most important first:
// $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS.
QStringList applicationFolders();

// The file of desktop entry `id` ("org.gnome.TextEditor.desktop") in the
// first of `folders` that has it; empty when none has it.
QString findDesktopEntry(const QString& id, const QStringList& folders);

// The program and arguments of a desktop entry's Exec key, unquoted as the
// desktop entry format says, with the file codes replaced by `file` (or
// dropped when it is empty) and the other field codes dropped. Empty when
// the entry has no usable Exec line or is hidden.
QStringList desktopEntryCommand(const QByteArray& entry, const QString& file = {});

} // namespace pel
