#pragma once
#include <QString>

namespace pel {

// Folder of the running executable, with a trailing separator. The phrase
// files live here and the file dialogs start here by default.
QString ProgramDirectory();

// Tests point the program at a temporary folder.
void setProgramDirectory(const QString& folder);

} // namespace pel
