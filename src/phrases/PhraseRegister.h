#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QWidget;

namespace pel {

class PhraseList;

// One register's files: its list file and its backup in the program's
// folder, and what may be written back to them. The register remembers how
// its list file was read, so that nothing the user did not delete is ever
// overwritten: a file that could not be read is never written over (what is
// registered meanwhile is added to a file of its own beside it), and the
// part of a file behind a NUL byte, which is not loaded, is kept in a file
// of its own.
//
// Two copies of the program may share the files. Each write takes a lock
// file beside the list, reads the list file again and takes in what another
// copy wrote since this one read or wrote it (PhraseFile::merge), so no
// phrase registered in either copy is lost.
class PhraseRegister : public QObject {
    Q_OBJECT
public:
    enum class Loaded { Missing, Whole, Partly, Unreadable };

    PhraseRegister(PhraseList& list, QString listFileName, QString backupFileName,
                   QObject* parent = nullptr);

    QString listPath() const;
    QString backupPath() const;
    // Where the entries registered while the list file cannot be read are
    // added, so that what the user registers then is not lost.
    QString keepPath() const;
    // Where the part of the list file behind a NUL byte was kept at load;
    // empty when the whole file was read.
    QString unreadPath() const { return unreadPath_; }

    // Reads the list file. An unreadable file leaves the list as it was and
    // is reported once, with what will (not) be written at the end; so is a
    // file read only up to a NUL byte. When the file can be read and entries
    // were kept aside in an earlier run, the user is asked whether to take
    // them in.
    Loaded load(QWidget* messageParent);
    Loaded loaded() const { return loaded_; }
    // Whether the user changed the list since it was loaded.
    bool changed() const { return changed_; }

    // Replaces the list with its backup; false (after the error box) when the
    // backup cannot be read.
    bool restore(QWidget* messageParent);

    // The backup written at every close, and the list file written at the
    // end. Both first take in what another copy wrote to the list file. Each
    // returns false after the error box when its file could not be written;
    // a file that is deliberately left alone counts as success.
    bool writeBackup(QWidget* messageParent);
    bool writeList(QWidget* messageParent);

private:
    enum class Target { ListFile, KeepFile };

    void markChanged();
    QString lockPath() const;
    void keepUnreadPart(QWidget* messageParent, const QByteArray& bytes, qsizetype nul);
    void offerKeptEntries(QWidget* messageParent);
    bool takeInOthers(QWidget* messageParent);
    void replaceQuietly(QList<QByteArray> entries);
    bool storeList(QWidget* messageParent);
    bool storeKept(QWidget* messageParent);

    PhraseList& list_;
    QString listFileName_;
    QString backupFileName_;
    Loaded loaded_ = Loaded::Missing;
    Target target_ = Target::ListFile;
    // The list file's entries as this copy last read or wrote them; while
    // the entries go to the keep file, what this copy added to that file.
    QList<QByteArray> base_;
    QByteArray fileBytes_;  // the whole file, kept when only part of it was loaded
    QString unreadPath_;
    bool changed_ = false;
    bool loading_ = false;
    bool keptTakenIn_ = false;  // the keep file goes once the list file is written
    bool backupWritten_ = false;  // this run wrote the list as its backup
};

} // namespace pel
