#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>

class QWidget;

namespace pel {

class PhraseList;

// One register's files: its list file and its backup in the program's
// folder, and what may be written back to them. The register remembers how
// its list file was read, so that nothing the user did not delete is ever
// overwritten: a file that could not be read is never written over, and a
// file whose tail was not loaded (behind a NUL byte) is written only when the
// user changed the list, with the old file kept as the backup.
class PhraseRegister : public QObject {
    Q_OBJECT
public:
    enum class Loaded { Missing, Whole, Partly, Unreadable };

    PhraseRegister(PhraseList& list, QString listFileName, QString backupFileName,
                   QObject* parent = nullptr);

    QString listPath() const;
    QString backupPath() const;
    // Where the entries of a register whose file could not be read are kept
    // instead, so that what the user registers in this run is not lost.
    QString keepPath() const;

    // Reads the list file. An unreadable file leaves the list as it was and
    // is reported once, with what will (not) be written at the end.
    Loaded load(QWidget* messageParent);
    Loaded loaded() const { return loaded_; }
    // Whether the user changed the list since it was loaded.
    bool changed() const { return changed_; }

    // Replaces the list with its backup; false (after the error box) when the
    // backup cannot be read.
    bool restore(QWidget* messageParent);

    // The backup written at every close, and the list file written at the
    // end. Each returns false after the error box when its file could not be
    // written; a file that is deliberately left alone counts as success.
    bool writeBackup(QWidget* messageParent) const;
    bool writeList(QWidget* messageParent) const;

private:
    void markChanged();

    PhraseList& list_;
    QString listFileName_;
    QString backupFileName_;
    Loaded loaded_ = Loaded::Missing;
    QByteArray fileBytes_;  // the whole file, kept when only part of it was loaded
    bool changed_ = false;
    bool loading_ = false;
};

} // namespace pel
