#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace pel {

// Reads a whole file. nullopt when it cannot be opened or read (missing,
// a folder, no permission).
std::optional<QByteArray> readWholeFile(const QString& path);

// Writes `bytes` to `path` through a temporary file in the same folder and
// a rename, so a failed write (full disk, no permission) leaves the previous
// file as it was. A path that is a symbolic link keeps the link and writes
// its target; the target's permissions are kept. Returns false on any
// failure, including a short write.
bool writeWholeFile(const QString& path, const QByteArray& bytes);

// The error texts of the file commands.
QString cannotOpenMessage(const QString& path);    // "ファイル %s は開けません"
QString cannotCreateMessage(const QString& path);  // "ファイル %s を作成できません"

} // namespace pel
