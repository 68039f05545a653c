#pragma once
#include "platform/Cp932.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QStatusBar;
class QThreadPool;

namespace pel {

// Recovery copies of unsaved work. Each run keeps its copy under a name of
// its own in the user's private state folder (mode 0700, files 0600) and a
// lock beside it while it runs. The lock names the run by process id, boot
// and the process's start time, so a later run that happens to get the same
// id (after a power cut, say) still sees the old run as ended. A copy whose
// run has ended was left by a run that was killed, crashed or lost its
// power, and is offered at the next start.
//
// Copies are committed only when every byte reached the disk; a copy that
// cannot be written leaves the previous one as it was.
class RecoveryStore {
public:
    // An unsaved document as the file would keep it: its text (line breaks
    // as '\n' or as the editor's separators, one character each), the code
    // marks of its stand-ins and duplicate codes, how the file spelled its
    // line breaks, and its file name.
    struct Document {
        QString text;
        CodeMarks marks;
        TextSpelling spelling;
        QString fileName;
    };
    struct Copy {
        QString text;  // line breaks as '\n'
        CodeMarks marks;
        TextSpelling spelling;
        QString documentFileName;
        // False when the copy on disk ends before its own length says it
        // does: only the part that is there came back.
        bool whole = true;
        QString path;  // the copy itself
    };
    // A copy of another kind of work, as bytes.
    struct Left {
        QByteArray bytes;
        QString path;
    };

    // `kind` names this run's copies ("session" for the document), so one
    // run can keep copies of several kinds.
    explicit RecoveryStore(const QString& kind = QStringLiteral("session"));
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // The folder of the copies; tests point it elsewhere.
    static QString folder();
    static void setFolder(const QString& folder);

    // Writes this run's copy atomically on a worker thread, so typing never
    // waits for the disk; later writes supersede earlier pending ones.
    void save(const Document& document);
    // The same, finished before it returns (the session is ending).
    bool saveNow(const Document& document);
    // The same for bytes made by `produce` on the worker thread.
    void saveWith(std::function<QByteArray()> produce);
    bool saveBytesNow(const QByteArray& bytes);
    // Removes this run's copy (the work was saved or deliberately dropped).
    void remove();
    bool exists() const;
    QString path() const { return copyPath_; }

    // Hears, on `context`'s thread, when copies stop being written (false)
    // and when they are written again after that (true); not for every copy.
    void setWriteWatcher(QObject* context, std::function<void(bool copiesWritten)> watcher);

    // The document copies left by runs that no longer run, oldest first.
    QList<Copy> orphans() const;
    // The same for a store of another kind, as bytes.
    QList<Left> leftCopies() const;
    static void discard(const Copy& copy) { discard(copy.path); }
    static void discard(const QString& copyPath);

    // The document copy's file format, for the tests. Copies of earlier
    // versions stay readable.
    static QByteArray serialize(const Document& document);
    static QByteArray serialize(const QString& text, const QString& documentFileName);
    static bool parse(const QByteArray& bytes, Copy& copy);

    // What a lock says about the run that holds it, and whether that run
    // still runs; for the tests.
    static QByteArray lockOfThisRun();
    static bool lockHolderRuns(const QByteArray& lock);

private:
    bool ensureFolder() const;
    bool writeCopy(const QByteArray& bytes);
    void report(bool written);

    QString kind_;
    QString copyPath_;
    QString lockPath_;
    bool locked_ = false;
    std::unique_ptr<QThreadPool> writer_;
    std::shared_ptr<std::atomic<quint64>> generation_;
    std::atomic<bool> written_{true};
    QPointer<QObject> watcherContext_;
    std::function<void(bool)> watcher_;
};

// Shows in `bar`, beside whatever it says, that recovery copies cannot be
// written (and for a while that they can again), without interrupting.
void showRecoveryState(QStatusBar* bar, bool copiesWritten);

} // namespace pel
