#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
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
class Cp932 {
public:
    using Alternates = QHash<char16_t, QByteArray>;

    struct Encoded {
        QByteArray bytes;
        // Index into the text of the first character code page 932 cannot
        // hold; -1 when everything was encoded.
        qsizetype failedAt = -1;
        bool ok() const { return failedAt < 0; }
    };

    static QString decode(QByteArrayView bytes, Alternates* alternates = nullptr);
    static Encoded encode(QStringView text, const Alternates* alternates = nullptr);
    // True for the stand-ins `decode` makes for bytes that are not valid.
    static bool isStandIn(QChar c);
};

// How one text file was spelled, so that saving it writes back what was read.
struct TextSpelling {
    enum class LineBreak { CrLf, Lf, Cr };
    LineBreak lineBreak = LineBreak::CrLf;
    Cp932::Alternates alternates;
};

struct DecodedText {
    QString text;   // line breaks as '\n'
    TextSpelling spelling;
};

// A document file: bytes → text with '\n' line breaks. The file's dominant
// line break (CR LF unless the file uses LF or CR alone throughout) becomes
// '\n'; any other break byte stays as its stand-in character, so nothing is
// lost on the way back.
DecodedText decodeTextFile(QByteArrayView bytes);
// Text with '\n' line breaks → bytes, each '\n' as `spelling.lineBreak`.
Cp932::Encoded encodeTextFile(QStringView text, const TextSpelling& spelling = {});

} // namespace pel
