#pragma once
#include <QStringList>

namespace pel {

// The program speaks Japanese whatever the user's language: Qt's own
// dialogs, context menus and buttons through Qt's Japanese catalogues, and
// the widgets' month and weekday names through the default locale.
// Returns the catalogues that were loaded (for a start-up check and tests).
QStringList installJapaneseUi();

// Where Qt's catalogues are looked for, in order: beside the program (a
// Windows copy ships them there), then Qt's translations folder.
QStringList translationFolders();

} // namespace pel
