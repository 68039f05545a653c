#pragma once
// What must hold for any input of each format the program reads. The fuzz
// targets abort when a check fails; the test suite replays the corpora
// (fuzz/corpus/<target>/) through the same checks.
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace pel::fuzz {

// What went wrong, or an empty string.
using Check = QString (*)(QByteArrayView bytes);

// PictureChecks.cpp: as the paint form opens a file of that extension.
QString checkBmp(QByteArrayView bytes);
QString checkIco(QByteArrayView bytes);
QString checkJpeg(QByteArrayView bytes);
QString checkWmf(QByteArrayView bytes);
QString checkEmf(QByteArrayView bytes);
// TextChecks.cpp
QString checkCp932(QByteArrayView bytes);
QString checkEncodings(QByteArrayView bytes);
QString checkPhraseFile(QByteArrayView bytes);
QString checkRecovery(QByteArrayView bytes);
// SettingsChecks.cpp: the bytes as the main window's and the paint form's
// settings files, written where the user's settings live: point them at a
// folder of their own first (QSettings::setPath).
QString checkSettings(QByteArrayView bytes);

struct Target {
    const char* name;  // also the corpus folder's name
    Check check;
};

const QList<Target>& targets();
// nullptr for an unknown name.
Check checkFor(QStringView name);

} // namespace pel::fuzz
