#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include "platform/TextEncoding.h"

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
//   (phrase files use them); documents use `decodeTextFile` (TextEncoding.h), which
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

// Code page 932 document files, without detection (TextEncoding.cpp picks
// the codec). Stand-ins and marks as decodeTextFile describes them.
DecodedText decodeCp932File(QByteArrayView bytes, TextSpelling::LineBreak lineBreak);
EncodedText encodeCp932File(QStringView text, const CodeMarks& marks, TextSpelling::LineBreak lineBreak);
// The dominant line break of bytes where CR and LF are single bytes.
TextSpelling::LineBreak dominantLineBreak(QByteArrayView bytes);

} // namespace pel
