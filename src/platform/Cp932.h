#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

namespace pel {

// Code page 932 (Shift-JIS as Windows writes it) ⇄ Unicode, without loss.
//
// * Bytes that are not valid code page 932 decode to visible stand-in
//   characters that encode back to the very same bytes.
// * Some characters have two codes in the code page (the NEC-selected IBM
//   extensions and the NEC row-13 duplicates). Decoding records, per
//   character, a code the bytes used other than the standard one, so that
//   encoding with that record writes the file back as it was.
//
// The details:
//
// * The tables come from ICU's "windows-31j" converter, built once on first
//   use. Bytes 00–7F are ASCII both ways (ICU's converter rotates 1A/1C/7F
//   the IBM way; Windows does not).
// * `decode` and `encode` keep what they must remember in the string itself
//   (phrase files use them); documents use `decodeTextFile` below, which
//   keeps it beside the text instead.
// * Stand-ins live at U+F700 + byte, a private-use block code page 932 never
//   uses (its user-defined area is U+E000–U+E757). A stand-in exists for each
//   byte that can be invalid (80, A0, FD–FF and the lead bytes 81–9F, E0–FC,
//   which are invalid alone, before a trail byte they cannot pair with, or at
//   the end) and, for text files, for NUL and for stray CR and LF bytes
//   (U+F700, U+F70D, U+F70A). A lead byte that cannot pair is the only
//   invalid byte: the byte after it decodes on its own.
// * Where JIS and the code page read one code as different characters
//   (81 60: JIS 〜 U+301C, code page ～ U+FF5E; likewise ‖ U+2016, − U+2212,
//   ¢ U+00A2, £ U+00A3, ¬ U+00AC, — U+2014), the JIS form, which Linux input
//   methods type, encodes as that code. Decoding gives the code page's
//   character, as Windows reads the file. The pairs come from ICU's EUC-JP
//   converter.
// * A character with more than one code has a list of codes: the standard
//   one (what ICU writes) first, then the others in byte order. When one
//   text uses more than one code for the same character, the occurrences
//   that differ from the recorded code carry a variation selector
//   (U+FE00 + index into that list) right after the character, so even a
//   file that mixes both codes comes back byte for byte. Without an
//   Alternates record every non-standard code carries its selector. The
//   selector is invisible in the editor; encoding honours it before the
//   record.
class Cp932 {
public:
    using Alternates = QHash<char16_t, QByteArray>;

    struct Encoded {
        QByteArray bytes;   // empty when failedAt >= 0
        // Index into the text of the first character code page 932 cannot
        // hold; -1 when everything was encoded.
        qsizetype failedAt = -1;
        bool ok() const { return failedAt < 0; }
    };

    // `alternates`, when given, is the document's record: codes already in
    // it are honoured, and a character first met under a non-standard code
    // is added to it. NUL, CR and LF decode as themselves here.
    static QString decode(QByteArrayView bytes, Alternates* alternates = nullptr);
    // Stops at the first character without a code (an emoji, "é", a lone
    // surrogate, a variation selector that follows no such character); never
    // substitutes.
    static Encoded encode(QStringView text, const Alternates* alternates = nullptr);
    // True for the stand-ins `decode` makes for bytes it could not show as
    // characters.
    static bool isStandIn(QChar c);
    // The stand-in for `byte`, or a null QChar when that byte never needs one.
    static QChar standInFor(uchar byte);
    // The character `c` reads back as once encoded: the code page's
    // character for a JIS form, else `c` itself.
    static QChar codePageForm(QChar c);
};

// How one text file was spelled, so that saving it writes back what was read.
struct TextSpelling {
    enum class LineBreak { CrLf, Lf, Cr };
    LineBreak lineBreak = LineBreak::CrLf;
};

// What a document file's bytes say beyond its characters, kept beside the
// text rather than in it, so the text is exactly what the user sees.
struct CodeMark {
    qsizetype position = 0;   // index into the text
    // On a stand-in (U+FFFC): the raw byte it stands for. On a character
    // with more than one code: the code the file used, when not the
    // standard one.
    quint16 code = 0;
    friend bool operator==(const CodeMark&, const CodeMark&) = default;
};
using CodeMarks = QList<CodeMark>;

struct DecodedText {
    QString text;       // line breaks as '\n', stand-ins as U+FFFC
    TextSpelling spelling;
    CodeMarks marks;    // ascending positions
};

// A document file: bytes → text with '\n' line breaks.
//
// The file's dominant line break becomes '\n': the most frequent of CR LF,
// lone LF and lone CR (ties go to CR LF, then LF; a file without breaks is
// CR LF). Every byte the text cannot show as a character (an invalid byte,
// NUL, a break byte of another kind) becomes one stand-in, U+FFFC, with a
// mark naming the byte; a duplicate code other than the standard one leaves
// a mark on its character. With the marks the file comes back byte for
// byte.
DecodedText decodeTextFile(QByteArrayView bytes);

struct EncodedText {
    QByteArray bytes;   // empty unless ok()
    enum class Failure { None, NoCode, Merges };
    Failure failure = Failure::None;
    // Index into the text of the first character code page 932 cannot hold
    // (an unmarked stand-in or private-use stand-in included), or of the
    // first stand-in whose byte would join its neighbours into something
    // else when the file is read again; -1 when ok.
    qsizetype failedAt = -1;
    bool ok() const { return failure == Failure::None; }
};

// Text with '\n' line breaks → bytes, each '\n' as `spelling.lineBreak`.
// A mark on a character that does not match it (a stand-in's byte on a
// letter, a code of another character) is ignored. Characters without a
// mark take their standard code. The bytes always read back as the text,
// except that a JIS form (below) reads back as the code page's character.
EncodedText encodeTextFile(QStringView text, const CodeMarks& marks = {}, const TextSpelling& spelling = {});

} // namespace pel
