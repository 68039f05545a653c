#include "FuzzChecks.h"

#include "phrases/PhraseList.h"
#include "platform/Cp932.h"
#include "platform/RecoveryStore.h"

#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace pel::fuzz {

namespace {

// A file opened as a document: its text holds neither CR nor NUL, its marks
// lie in the text in order, and it saves back as the bytes it was read from.
QString keepsBytes(const DecodedText& file, QByteArrayView bytes)
{
    if (file.text.contains(u'\r') || file.text.contains(QChar(0)))
        return QStringLiteral("CR or NUL left in the editor's text");
    for (qsizetype i = 0; i < file.marks.size(); ++i) {
        const qsizetype at = file.marks[i].position;
        if (at < 0 || at >= file.text.size() || (i > 0 && at <= file.marks[i - 1].position))
            return QStringLiteral("marks out of the text or out of order");
    }
    const EncodedText saved = encodeTextFile(file.text, file.marks, file.spelling);
    if (!saved.ok() || saved.bytes != bytes)
        return QStringLiteral("%1 file does not save as it was read").arg(textEncodingName(file.spelling));
    return {};
}

// The same bytes as text typed into the editor (UTF-16), which never holds
// a CR or a NUL of its own.
QString typedText(QByteArrayView bytes)
{
    QString typed(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(typed.data(), bytes.data(), size_t(typed.size()) * 2);
    typed.remove(u'\r');
    typed.remove(QChar(0));
    return typed;
}

} // namespace

// ---- Code page 932 ------------------------------------------------------------
// Any bytes come back unchanged through the codec, raw (as phrase entries
// use it) and as a document file; text written as a document reads back as
// that text.

QString checkCp932(QByteArrayView bytes)
{
    const Cp932::Encoded plain = Cp932::encode(Cp932::decode(bytes));
    if (!plain.ok() || plain.bytes != bytes)
        return QStringLiteral("decode/encode without a record");

    Cp932::Alternates record;
    const QString text = Cp932::decode(bytes, &record);
    const Cp932::Encoded recorded = Cp932::encode(text, &record);
    if (!recorded.ok() || recorded.bytes != bytes)
        return QStringLiteral("decode/encode with a record");

    if (const QString failure = keepsBytes(decodeTextFile(bytes), bytes); !failure.isEmpty())
        return failure;

    // The same bytes as typed text, saved in each spelling. A NUL pasted
    // into the editor is saved as the byte, which reads back as its
    // stand-in (the file stays as it was).
    const QString typed = typedText(bytes);
    // The JIS forms input methods type read back as the code page's characters.
    QString asRead = typed;
    for (QChar& c : asRead)
        c = Cp932::codePageForm(c);
    for (const auto lineBreak : {TextSpelling::LineBreak::CrLf, TextSpelling::LineBreak::Lf, TextSpelling::LineBreak::Cr}) {
        const EncodedText written = encodeTextFile(typed, {}, TextSpelling{lineBreak});
        if (written.ok() && decodeTextFile(written.bytes).text != asRead)
            return QStringLiteral("saved text does not read back as the text");
        if (!written.ok() && (written.failedAt < 0 || written.failedAt >= typed.size()))
            return QStringLiteral("refusal names no character of the text");
    }
    return {};
}

// ---- Other encodings --------------------------------------------------------------
// Any bytes opened as a document in each encoding (and as detected) save
// back unchanged; text written in each encoding reads back as that text,
// or the refusal names one of its characters.

QString checkEncodings(QByteArrayView bytes)
{
    const auto keeps = [&bytes](const DecodedText& file) { return keepsBytes(file, bytes); };
    const TextEncoding encodings[] = {TextEncoding::Cp932, TextEncoding::Utf8, TextEncoding::Utf16Le,
                                      TextEncoding::Utf16Be, TextEncoding::EucJp, TextEncoding::Iso2022Jp};
    for (const TextEncoding encoding : encodings)
        if (const QString failure = keeps(decodeTextFile(bytes, encoding)); !failure.isEmpty())
            return failure;
    if (const QString failure = keeps(decodeTextFile(bytes)); !failure.isEmpty())
        return u"detected: "_s + failure;

    const QString typed = typedText(bytes);
    for (const TextEncoding encoding : encodings) {
        TextSpelling spelling;
        spelling.encoding = encoding;
        spelling.bom = encoding == TextEncoding::Utf16Le;
        spelling.lineBreak = encoding == TextEncoding::Utf8 ? TextSpelling::LineBreak::Lf : TextSpelling::LineBreak::CrLf;
        const EncodedText written = encodeTextFile(typed, {}, spelling);
        if (written.ok() && decodeTextFile(written.bytes, encoding).text != typed)
            return QStringLiteral("text saved as %1 does not read back as the text").arg(textEncodingName(encoding));
        if (!written.ok() && (written.failedAt < 0 || written.failedAt >= typed.size()))
            return QStringLiteral("refusal names no character of the text");
    }
    return {};
}

// ---- Phrase files -------------------------------------------------------------
// A register file as the lists load it: every entry one line, shown as
// text that registers again as the same entry, and written back entry for
// entry.

QString checkPhraseFile(QByteArrayView bytes)
{
    PhraseList list;
    list.replaceAll(PhraseFile::parse(bytes));
    PhraseList again;
    for (int i = 0; i < list.count(); ++i) {
        const QByteArray& entry = list.entryBytes(i);
        if (entry.contains('\r') || entry.contains('\n') || entry.contains('\0'))
            return QStringLiteral("break or NUL inside an entry");
        if (list.data(list.index(i), Qt::DisplayRole).toString() != list.entryText(i))
            return QStringLiteral("the list shows another text than the entry's");
        if (again.Append(list.entryText(i)) >= 0)
            return QStringLiteral("an entry's text cannot be registered again");
    }
    if (again.entries() != list.entries())
        return QStringLiteral("entries registered again differ from the file's");
    const QByteArray written = PhraseFile::serialize(list.entries());
    if (PhraseFile::parse(written) != list.entries())
        return QStringLiteral("parse/serialize/parse");
    if (PhraseFile::serialize(PhraseFile::parse(written)) != written)
        return QStringLiteral("serialize is not stable");
    return {};
}

// ---- Recovery copies ---------------------------------------------------------
// A copy left on disk as the next start reads it: marks inside the text and
// in order, and written again it reads back as the same document.

QString checkRecovery(QByteArrayView bytes)
{
    RecoveryStore::Copy copy;
    if (!RecoveryStore::parse(bytes.toByteArray(), copy))
        return {};
    for (qsizetype i = 0; i < copy.marks.size(); ++i) {
        const qsizetype at = copy.marks[i].position;
        if (at < 0 || at >= copy.text.size() || (i > 0 && at <= copy.marks[i - 1].position))
            return QStringLiteral("marks out of the text or out of order");
    }
    RecoveryStore::Copy again;
    if (!RecoveryStore::parse(RecoveryStore::serialize({copy.text, copy.marks, copy.spelling, copy.documentFileName}),
                              again)
        || !again.whole || again.text != copy.text || again.marks != copy.marks
        || again.spelling.lineBreak != copy.spelling.lineBreak || again.documentFileName != copy.documentFileName)
        return QStringLiteral("copy does not read back as written");
    // Restored, the text saves or names what it cannot save.
    const EncodedText saved = encodeTextFile(copy.text, copy.marks, copy.spelling);
    if (!saved.ok() && (saved.failedAt < 0 || saved.failedAt >= copy.text.size()))
        return QStringLiteral("refusal names no character of the text");
    return {};
}

} // namespace pel::fuzz
