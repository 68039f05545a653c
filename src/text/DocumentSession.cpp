#include "text/DocumentSession.h"

#include "platform/LineBreaks.h"
#include "platform/SafeFile.h"
#include "text/TextMime.h"

#include <QDateTime>
#include <QFileInfo>

#include <sys/stat.h>

#include <utility>

namespace pel {

DocumentSession::DocumentSession(QObject* parent) : QObject(parent)
{
    connect(&document_, &TextDocument::changed, this, &DocumentSession::documentChanged);
    connect(&document_, &TextDocument::textReset, this, &DocumentSession::textReset);
}

void DocumentSession::setSelection(const Selection& selection)
{
    const qsizetype length = document_.length();
    const Selection clamped{std::clamp<qsizetype>(selection.anchor, 0, length),
                            std::clamp<qsizetype>(selection.position, 0, length)};
    if (clamped == selection_)
        return;
    selection_ = clamped;
    Q_EMIT selectionChanged();
}

QString DocumentSession::selectedTextAsIs() const
{
    return document_.text(selection_.start(), selection_.length());
}

void DocumentSession::ReplaceEditorSelection(const QString& text)
{
    edit::replaceSelection(*this, withNewlines(text), {}, UndoPolicy::NotUndoable);
}

QString DocumentSession::selectedText() const
{
    return lineBreaks::toFile(selectedTextAsIs());
}

void DocumentSession::documentChanged(qsizetype from, qsizetype removed, qsizetype added)
{
    // A selection the edit did not set itself keeps to its text.
    const auto follow = [&](qsizetype at) {
        if (at <= from)
            return at;
        if (at >= from + removed)
            return at + added - removed;
        return from + added;
    };
    const Selection before = selection_;
    selection_ = {follow(selection_.anchor), follow(selection_.position)};
    Q_EMIT changed(from, removed, added);
    noteChange();
    if (selection_ != before)
        Q_EMIT selectionChanged();
}

void DocumentSession::noteChange()
{
    if (indicator_ != Indicator::Changed) {
        indicator_ = Indicator::Changed;
        Q_EMIT indicatorChanged();
    }
    Q_EMIT contentChanged();
}

void DocumentSession::setSpelling(const TextSpelling& spelling)
{
    spelling_ = spelling;
    Q_EMIT spellingChanged();
}

void DocumentSession::load(QByteArrayView bytes, std::optional<TextEncoding> encoding)
{
    DecodedText decoded = encoding ? decodeTextFile(bytes, *encoding) : decodeTextFile(bytes);
    spelling_ = decoded.spelling;
    selection_ = {};
    document_.reset(std::move(decoded.text), std::move(decoded.marks));
    flagCleared_ = document_.revision();
    modifiedForced_ = false;
    markSaved();
    noteChange();
    Q_EMIT selectionChanged();
}

void DocumentSession::restore(const QString& text, const CodeMarks& marks, const TextSpelling& spelling)
{
    spelling_ = spelling;
    selection_ = {};
    document_.reset(text, marks);
    saved_.reset();
    noteChange();
    Q_EMIT selectionChanged();
}

void DocumentSession::clear()
{
    spelling_ = {};
    selection_ = {};
    const bool held = !document_.isEmpty();
    if (held)
        document_.reset();
    document_.history().clear();
    markSaved();
    if (held)
        noteChange();
    Q_EMIT selectionChanged();
}

EncodedText DocumentSession::encode() const
{
    // Code page 932 has no no-break space; it has always been written there
    // as a plain space.
    QString text = document_.text();
    if (spelling_.encoding == TextEncoding::Cp932)
        text.replace(QChar::Nbsp, u' ');
    return encodeTextFile(text, document_.marks(), spelling_);
}

DocumentSession::SaveResult DocumentSession::save(const QString& path, EncodedText* encoded)
{
    EncodedText bytes = encode();
    const bool ok = bytes.ok();
    const bool written = ok && writeWholeFile(path, bytes.bytes);
    if (encoded)
        *encoded = std::move(bytes);
    if (!ok)
        return SaveResult::CannotEncode;
    if (!written)
        return SaveResult::CannotWrite;
    markSaved();
    if (path == fileName_)
        noteFile();
    return SaveResult::Saved;
}

DocumentSession::FileStamp DocumentSession::stampOf(const QString& path)
{
    FileStamp stamp;
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified().toMSecsSinceEpoch();
#ifdef Q_OS_UNIX
    // A file written elsewhere and renamed over this one is another file,
    // whatever its size and time.
    struct stat status {};
    if (::stat(QFile::encodeName(info.absoluteFilePath()).constData(), &status) == 0)
        stamp.identity = (quint64(status.st_dev) << 40) ^ quint64(status.st_ino);
#endif
    return stamp;
}

bool DocumentSession::hasNewFileChange() const
{
    return fileState() == FileState::Changed && (!noticed_ || *noticed_ != stampOf(fileName_));
}

void DocumentSession::noticeChange()
{
    noticed_ = stampOf(fileName_);
}

void DocumentSession::noteFile()
{
    stamp_.reset();
    noticed_.reset();
    if (!fileName_.isEmpty())
        stamp_ = stampOf(fileName_);
}

DocumentSession::FileState DocumentSession::fileState() const
{
    if (fileName_.isEmpty() || !stamp_ || !stamp_->exists)
        return FileState::Unknown;
    const FileStamp now = stampOf(fileName_);
    if (!now.exists)
        return FileState::Gone;
    return now == *stamp_ ? FileState::Same : FileState::Changed;
}

void DocumentSession::setModifiedFlag(bool modified)
{
    modifiedForced_ = modified;
    if (!modified)
        flagCleared_ = document_.revision();
}

qsizetype DocumentSession::firstRefused(QStringView text, const CodeMarks& marks) const
{
    qsizetype mark = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        while (mark < marks.size() && marks[mark].position < i)
            ++mark;
        if (mark < marks.size() && marks[mark].position == i)
            continue;
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
            ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        const qsizetype width = c > 0xFFFF ? 2 : 1;
        const bool invisible = (c >= 0xF700 && c <= 0xF7FF) || (c >= 0xFE00 && c <= 0xFE0F)
            || (c >= 0xE0100 && c <= 0xE01EF) || c == 0xFFFC || QChar::category(c) == QChar::Other_Format;
        if (invisible && !encodeTextFile(text.sliced(i, width), {}, spelling_).ok())
            return i;
        i += width - 1;
    }
    return -1;
}

void DocumentSession::markUnchanged()
{
    if (std::exchange(indicator_, Indicator::Unchanged) != Indicator::Unchanged)
        Q_EMIT indicatorChanged();
}

namespace edit {

namespace {

// One group in the history around what `change` does, with the selections
// before and after.
template <typename Change>
void asOneStep(DocumentSession& session, Change change)
{
    TextDocument::History& history = session.document().history();
    history.begin(session.selection());
    change();
    history.end(session.selection());
}

} // namespace

namespace {

// Refused text changes nothing; the session says why.
bool refuses(DocumentSession& session, QStringView text, const CodeMarks& marks = {})
{
    const qsizetype at = session.firstRefused(text, marks);
    if (at < 0)
        return false;
    Q_EMIT session.refused(text.toString(), at);
    return true;
}

} // namespace

void replaceSelection(DocumentSession& session, QStringView text, const CodeMarks& marks, UndoPolicy undo)
{
    const Selection selection = session.selection();
    if ((selection.isEmpty() && text.isEmpty()) || refuses(session, text, marks))
        return;
    const auto change = [&] {
        session.document().replace(selection.range(), text, marks, undo);
        session.setSelection(Selection::caret(selection.start() + text.size()));
    };
    if (undo == UndoPolicy::Undoable)
        asOneStep(session, change);
    else
        change();
}

void type(DocumentSession& session, QStringView text)
{
    replaceSelection(session, text);
}

void remove(DocumentSession& session, TextRange range)
{
    if (range.length <= 0)
        return;
    asOneStep(session, [&] {
        session.document().replace(range, {});
        session.setSelection(Selection::caret(range.from));
    });
}

void replaceAll(DocumentSession& session, QStringView text)
{
    if (refuses(session, text))
        return;
    asOneStep(session, [&] {
        session.document().replace({0, session.document().length()}, text);
        session.setSelection(Selection::caret(text.size()));
    });
}

void selectAll(DocumentSession& session)
{
    session.setSelection({0, session.document().length()});
}

bool undo(DocumentSession& session)
{
    const auto selection = session.document().undo();
    if (selection)
        session.setSelection(*selection);
    return selection.has_value();
}

bool redo(DocumentSession& session)
{
    const auto selection = session.document().redo();
    if (selection)
        session.setSelection(*selection);
    return selection.has_value();
}

} // namespace edit

} // namespace pel
