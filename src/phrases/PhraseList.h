#pragma once
#include <QAbstractListModel>
#include <QByteArray>
#include <QList>
#include <QString>

class QWidget;

namespace pel {

// One register of stock phrases: an ordered list of one-line entries kept
// as the code page 932 bytes they were typed or read as. The order is the
// user's; only the operations below change it. Views show it through the
// model interface (one row per entry, decoded for display).
class PhraseList : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PhraseList(QObject* parent = nullptr);

    int count() const { return int(entries_.size()); }
    const QByteArray& entryBytes(int index) const { return entries_.at(index); }
    QString entryText(int index) const;
    QStringList texts() const;
    const QList<QByteArray>& entries() const { return entries_; }

    // The current entry (-1: none). Views set it when the user picks an
    // entry; the moves set it to the moved entry.
    int current() const { return current_; }
    void setCurrent(int index);

    // Appends `text` as one line; returns -1, or, when the code page cannot
    // hold one of its characters, that character's index in singleLine(text)
    // (nothing is appended then).
    qsizetype Append(const QString& text);
    static QString singleLine(const QString& text);
    void AppendBytes(const QByteArray& bytes);
    // The reordering operations and DeleteCurrent return false when they
    // had nothing to do (list and current entry untouched). The current
    // entry stays with its entry wherever a move takes it.
    bool Rotate();
    bool MoveToTop();
    bool MoveToBottom();
    bool MoveUp();
    bool MoveDown();
    bool DeleteCurrent();
    void ClearAll();
    void replaceAll(QList<QByteArray> entries);

    // false when the file cannot be opened; the list is then untouched.
    bool LoadPhraseFile(const QString& path);
    // false when the file cannot be written; the previous file is then intact.
    bool SavePhraseFile(const QString& path) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

Q_SIGNALS:
    void currentChanged(int index);

private:
    bool move(int from, int to);

    QList<QByteArray> entries_;
    int current_ = -1;
};

// Appends `text` to `list`, or tells the user which character cannot be
// registered and appends nothing (false).
bool registerPhrase(PhraseList& list, const QString& text, QWidget* messageParent);

// The phrase file format: one entry a line, every line ended by CR LF.
namespace PhraseFile {
QByteArray serialize(const QList<QByteArray>& entries);
// Splits at CR LF, lone CR and lone LF; a NUL byte ends the text; a break
// at the very end makes no extra entry.
QList<QByteArray> parse(QByteArrayView bytes);
// Three-way merge of one register written by two copies of the program:
// `base` is the list as this copy last read or wrote it, `theirs` the list
// another copy wrote since, `mine` this copy's list now. Entries are counted,
// not only matched, since a list may hold equal entries: what either side
// added is kept, what either side deleted stays deleted. The result follows
// `mine`'s order; an entry added only by the other copy goes right after the
// entry it follows there (first when it has none), so what was added there
// keeps its order.
QList<QByteArray> merge(const QList<QByteArray>& base, const QList<QByteArray>& theirs,
                        const QList<QByteArray>& mine);
}

} // namespace pel
