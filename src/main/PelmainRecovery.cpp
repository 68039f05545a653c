// The unsaved document's recovery copy, and storing everything when the
// session ends without a close.
#include "main/Pelmain.h"

#include "paint/PelPaint.h"
#include "text/DocumentSession.h"

#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseRegister.h"
#include "platform/Prompts.h"
#include "platform/RecoveryStore.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace {
// A copy is written once typing pauses this long...
constexpr int kIdleMilliseconds = 700;
// ...and at the latest this long after the first change it does not hold.
constexpr int kLatestMilliseconds = 2000;
// The unsaved document as its copy keeps it.
pel::RecoveryStore::Document recoveryDocument(const pel::DocumentSession& session)
{
    return {session.text(), session.document().marks(), session.spelling(), session.fileName()};
}
} // namespace

void TForm1::setupRecovery()
{
    recoveryStore_ = std::make_unique<pel::RecoveryStore>();
    recoveryStore_->setWriteWatcher(this, [this](bool written) { pel::showRecoveryState(StatusBar1, written); });
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setSingleShot(true);
    connect(recoveryTimer_, &QTimer::timeout, this, &TForm1::writeRecoveryCopy);
}

void TForm1::followUnsavedChanges()
{
    if (session_->hasUnsavedChanges()) {
        // Called for every key: only the timer is touched here.
        if (!unsavedSince_.isValid())
            unsavedSince_.start();
        const qint64 latest = kLatestMilliseconds - unsavedSince_.elapsed();
        recoveryTimer_->start(int(std::clamp<qint64>(latest, 0, kIdleMilliseconds)));
        return;
    }
    recoveryTimer_->stop();
    unsavedSince_.invalidate();
    if (recoveryCopyWritten_) {
        recoveryStore_->remove();
        recoveryCopyWritten_ = false;
    }
}

void TForm1::writeRecoveryCopy()
{
    unsavedSince_.invalidate();
    if (!session_->hasUnsavedChanges())
        return;
    // The copy keeps what the file would: the text, the stand-ins' bytes and
    // the codes of characters with more than one.
    recoveryStore_->save(recoveryDocument(*session_));
    recoveryCopyWritten_ = true;
}

QString TForm1::recoveryCopyPath() const
{
    return recoveryStore_->path();
}

void TForm1::offerRecovery()
{
    const QList<pel::RecoveryStore::Copy> copies = recoveryStore_->orphans();
    // Newest first: that is the one the user last worked on.
    for (auto it = copies.crbegin(); it != copies.crend(); ++it) {
        const QString name = it->documentFileName.isEmpty() ? QStringLiteral("無題")
                                                            : QDir::toNativeSeparators(it->documentFileName);
        const QString cut = it->whole ? QString()
                                      : QStringLiteral("\r\nこの控えは途中までしか残っていません｡"
                                                       "ファイルには上書きしないよう無題で復元します｡");
        const auto answer = pel::prompts().confirm(
            this,
            QStringLiteral("前回保存されずに終了した文書があります｡(%1)%2\r\n復元しますか ?").arg(name, cut),
            pel::Prompts::Buttons::YesNo);
        // A session that ends while the question is open keeps the copy.
        if (sessionEnding_)
            return;
        if (answer != pel::Prompts::Answer::Yes) {
            pel::RecoveryStore::discard(*it);
            continue;
        }
        // A copy cut short comes back without its file's name, so that
        // saving it can never shorten the file.
        session_->restore(it->text, it->marks, it->spelling);
        session_->setFileName(it->whole ? it->documentFileName : QString());
        if (session_->fileName().isEmpty())
            setWindowTitle(QStringLiteral("Pelmora"));
        else
            setCaptionFromFileName();
        // The text is this run's unsaved document now: its own copy is on
        // disk before the old one goes.
        recoveryTimer_->stop();
        recoveryCopyWritten_ = recoveryStore_->saveNow(recoveryDocument(*session_));
        if (recoveryCopyWritten_)
            pel::RecoveryStore::discard(*it);
        session_->setModifiedFlag(true);
        return;
    }
}

void TForm1::storeForSessionEnd(bool quitting)
{
    sessionEnding_ = true;
    if (session_->hasUnsavedChanges())
        recoveryCopyWritten_ = recoveryStore_->saveNow(recoveryDocument(*session_));
    if (Form6)
        Form6->storeForSessionEnd();
    writeSettings();
    writeBackups();
    // A program that quits writes its lists as the windows go.
    if (quitting)
        return;
    phraseRegister_->writeList(this);
    if (Form3)
        Form3->phraseRegister().writeList(this);
    if (Form5)
        Form5->phraseRegister().writeList(this);
}
