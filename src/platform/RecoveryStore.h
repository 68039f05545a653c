#pragma once
#include <QList>
#include <QString>
#include <atomic>
#include <memory>

class QLockFile;
class QThreadPool;

namespace pel {

// Recovery copies of unsaved documents. Each run keeps its copy under a name
// of its own in the user's private state folder (mode 0700, files 0600) and
// holds a lock beside it while it runs; a copy whose lock nobody holds was
// left by a run that was killed, crashed or lost its power, and is offered
// at the next start.
class RecoveryStore {
public:
    struct Copy {
        QString text;
        QString documentFileName;
        QString path;  // the copy itself
    };

    RecoveryStore();
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // The folder of the copies; tests point it elsewhere.
    static QString folder();
    static void setFolder(const QString& folder);

    // Writes this run's copy atomically on a worker thread, so typing never
    // waits for the disk; later writes supersede earlier pending ones. The
    // text may break its lines with the separators an editor's document
    // uses: the copy has line feeds.
    void save(const QString& text, const QString& documentFileName);
    // The same, finished before it returns (the session is ending).
    bool saveNow(const QString& text, const QString& documentFileName);
    // Removes this run's copy (the document was saved or deliberately dropped).
    void remove();
    bool exists() const;
    QString path() const { return copyPath_; }

    // The copies left by runs that no longer run, oldest first.
    QList<Copy> orphans() const;
    static void discard(const Copy& copy);

    // The file format, for the tests.
    static QByteArray serialize(const QString& text, const QString& documentFileName);
    static bool parse(const QByteArray& bytes, Copy& copy);

private:
    bool ensureFolder() const;
    bool writeCopy(const QByteArray& bytes) const;

    QString copyPath_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QThreadPool> writer_;
    std::shared_ptr<std::atomic<quint64>> generation_;
};

} // namespace pel
