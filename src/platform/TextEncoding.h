#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace pel {

// The character encodings a document file can be read and written in.
// Code page 932 is what new documents use.
enum class TextEncoding { Cp932, Utf8, Utf16Le, Utf16Be, EucJp, Iso2022Jp };

// How one text file was spelled, so that saving it writes back what was read.
struct TextSpelling {
    enum class LineBreak { CrLf, Lf, Cr };
    LineBreak lineBreak = LineBreak::CrLf;
    TextEncoding encoding = TextEncoding::Cp932;
    // The file starts with a byte-order mark (UTF-8 and UTF-16 only; the
    // other encodings have none).
    bool bom = false;
    // How an ISO-2022-JP file switches character sets, learnt when it is
    // read so that its escapes come back as they were: the final byte of
    // the escape to JIS X 0208 ('B' or '@') and back to one-byte text
    // ('B' or 'J'), and whether the file returns to one-byte text before
    // each line break and at its end.
    struct JisEscapes {
        char kanji = 'B';
        char roman = 'B';
        bool resetBeforeBreak = true;
        bool resetAtEnd = true;
        friend bool operator==(const JisEscapes&, const JisEscapes&) = default;
    };
    JisEscapes jis{};
    friend bool operator==(const TextSpelling&, const TextSpelling&) = default;
};

// What a document file's bytes say beyond its characters, kept beside the
// text rather than in it, so the text is exactly what the user sees.
struct CodeMark {
    qsizetype position = 0;   // index into the text
    // On a stand-in (U+FFFC): the raw byte it stands for. On a character
    // with more than one code: the code the file used, when not the
    // standard one (code page 932 and EUC-JP two-byte codes as their bytes;
    // EUC-JP three-byte codes 8F xx yy as (xx & 7F) << 8 | (yy & 7F); the
    // same codes in ISO-2022-JP files).
    quint16 code = 0;
    friend bool operator==(const CodeMark&, const CodeMark&) = default;
};
using CodeMarks = QList<CodeMark>;

struct DecodedText {
    QString text;       // line breaks as '\n', stand-ins as U+FFFC
    TextSpelling spelling;
    CodeMarks marks;    // ascending positions
};

// A document file: bytes → text with '\n' line breaks, in the encoding
// `detectTextEncoding` finds.
//
// The file's dominant line break becomes '\n': the most frequent of CR LF,
// lone LF and lone CR (ties go to CR LF, then LF; a file without breaks is
// CR LF). Every byte the text cannot show as a character (an invalid byte,
// NUL, a break byte of another kind, a byte-order mark's stray half)
// becomes one stand-in, U+FFFC, with a mark naming the byte; a duplicate
// code other than the standard one leaves a mark on its character. With
// the marks the file comes back byte for byte.
DecodedText decodeTextFile(QByteArrayView bytes);
// The same in the encoding the user chose. A byte-order mark of that
// encoding at the start is taken as one (spelling.bom) and not shown.
DecodedText decodeTextFile(QByteArrayView bytes, TextEncoding encoding);

struct EncodedText {
    QByteArray bytes;   // empty unless ok()
    enum class Failure { None, NoCode, Merges };
    Failure failure = Failure::None;
    // Index into the text of the first character the encoding cannot hold
    // (an unmarked stand-in or private-use stand-in included), or of the
    // first stand-in whose byte would join its neighbours into something
    // else when the file is read again; -1 when ok.
    qsizetype failedAt = -1;
    bool ok() const { return failure == Failure::None; }
};

// Text with '\n' line breaks → bytes in `spelling.encoding` (with its
// byte-order mark when spelling.bom), each '\n' as `spelling.lineBreak`.
// A mark on a character that does not match it (a stand-in's byte on a
// letter, a code of another character) is ignored. Characters without a
// mark take their standard code. The bytes always read back as the text.
EncodedText encodeTextFile(QStringView text, const CodeMarks& marks = {}, const TextSpelling& spelling = {});

// The encoding of a document file, in this order: a byte-order mark
// (UTF-8, UTF-16 LE and BE); UTF-8 with multi-byte characters and at most
// one invalid byte in eight of them; ISO-2022-JP by its escape sequences
// (no more eight-bit bytes than escapes); UTF-16 without a byte-order mark
// by its NUL bytes; otherwise code page 932 or EUC-JP, whichever reads the
// file with fewer invalid bytes and as more Japanese-looking text (kana,
// punctuation, common kanji), code page 932 winning ties and files of
// fewer than two EUC-JP characters. Reads the 64 KB from the first
// non-ASCII byte on, not the whole file.
struct FileEncoding {   // an encoding and whether its files start with a byte-order mark
    TextEncoding encoding = TextEncoding::Cp932;
    bool bom = false;
    friend bool operator==(const FileEncoding&, const FileEncoding&) = default;
};
FileEncoding detectTextEncoding(QByteArrayView bytes);

// Names as the status bar and the file dialogs show them: 「Shift_JIS」
// 「UTF-8」「UTF-8 (BOM付き)」「UTF-16LE」「UTF-16LE (BOMなし)」「EUC-JP」
// 「ISO-2022-JP」…
QString textEncodingName(TextEncoding encoding, bool bom = false);
QString textEncodingName(const TextSpelling& spelling);
// 「CR+LF」「LF」「CR」
QString lineBreakName(TextSpelling::LineBreak lineBreak);

// The encodings a file dialog offers, in its order: Shift_JIS, UTF-8,
// UTF-8 with BOM, EUC-JP, ISO-2022-JP, UTF-16LE and UTF-16BE with BOM.
QList<FileEncoding> offeredTextEncodings();

// The name of the encoding in a web page's charset declaration.
QString htmlCharsetName(TextEncoding encoding);

} // namespace pel
