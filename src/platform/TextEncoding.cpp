#include "platform/TextEncoding.h"

#include "platform/Cp932.h"

#include <unicode/ucnv.h>

#include <QtGlobal>

#include <algorithm>
#include <optional>
#include <cstring>
#include <vector>

namespace pel {
namespace {

using LineBreak = TextSpelling::LineBreak;
constexpr char16_t kStandIn = 0xFFFC;   // OBJECT REPLACEMENT CHARACTER

// ---- EUC-JP tables ------------------------------------------------------------
// Built once from ICU's "EUC-JP" converter, the way the code page 932
// tables are: every code that reads as one character, and for each
// character the code written for it. ISO-2022-JP files use the same tables
// (JIS X 0208 and 0212 with the high bits cleared, ESC ( I for the
// half-width katakana of 8E xx).

constexpr uint32_t kChar = 1u << 16;        // an entry: the low 16 bits are the character or code
constexpr uint32_t kAlternate = 1u << 17;   // decode: a code other than the character's standard one
constexpr uint32_t kThree = 1u << 18;       // encode: 8F followed by the low 16 bits

struct EucTables {
    std::vector<uint32_t> pair = std::vector<uint32_t>(0x10000);     // 8E xx and A1–FE A1–FE
    std::vector<uint32_t> triple = std::vector<uint32_t>(0x10000);   // 8F xx yy at xx << 8 | yy
    std::vector<uint32_t> encode = std::vector<uint32_t>(0x10000);
};

bool inRange(unsigned b, unsigned low, unsigned high) { return b >= low && b <= high; }

EucTables buildEucTables()
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("EUC-JP", &status);
    if (U_FAILURE(status) || !converter)
        qFatal("ICU has no EUC-JP converter (%s)", u_errorName(status));
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFallback(converter, false);
    if (U_FAILURE(status))
        qFatal("ICU converter setup failed (%s)", u_errorName(status));

    const auto toCharacter = [converter](const char* bytes, int length) -> int {
        UChar out[4];
        UErrorCode error = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t n = ucnv_toUChars(converter, out, 4, bytes, length, &error);
        if (U_FAILURE(error) || error == U_STRING_NOT_TERMINATED_WARNING || n != 1)
            return -1;
        // ASCII and C1 controls have one-byte codes; a longer code for
        // them would be a duplicate nobody writes.
        if (QChar::isSurrogate(out[0]) || out[0] == 0xFFFD || out[0] < 0xA0 || out[0] == kStandIn)
            return -1;
        return out[0];
    };
    const auto toCode = [converter](char16_t c) -> QByteArray {
        char out[8];
        UErrorCode error = U_ZERO_ERROR;
        const UChar in[1] = {c};
        ucnv_reset(converter);
        const int32_t n = ucnv_fromUChars(converter, out, sizeof out, in, 1, &error);
        if (U_FAILURE(error) || n < 2 || n > 3)
            return {};
        return QByteArray(out, n);
    };

    struct Found {
        char16_t character;
        QByteArray code;
    };
    std::vector<Found> found;
    found.reserve(14000);
    const auto probe = [&](std::initializer_list<unsigned> bytes) {
        char in[3];
        int n = 0;
        for (unsigned b : bytes)
            in[n++] = char(b);
        const int c = toCharacter(in, n);
        if (c >= 0)
            found.push_back({char16_t(c), QByteArray(in, n)});
    };
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        probe({0x8E, b});
    for (unsigned b1 = 0xA1; b1 <= 0xFE; ++b1)
        for (unsigned b2 = 0xA1; b2 <= 0xFE; ++b2)
            probe({b1, b2});
    for (unsigned b1 = 0xA1; b1 <= 0xFE; ++b1)
        for (unsigned b2 = 0xA1; b2 <= 0xFE; ++b2)
            probe({0x8F, b1, b2});
    // Two-byte codes first (in byte order), then three-byte ones: without
    // a code of ICU's own, a character is written with the first.
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.character < b.character; });

    EucTables t;
    const auto slot = [&t](const QByteArray& code) -> uint32_t& {
        if (code.size() == 3)
            return t.triple[uchar(code[1]) << 8 | uchar(code[2])];
        return t.pair[uchar(code[0]) << 8 | uchar(code[1])];
    };
    for (size_t i = 0; i < found.size();) {
        size_t end = i;
        while (end < found.size() && found[end].character == found[i].character)
            ++end;
        const char16_t c = found[i].character;
        QByteArray standard = found[i].code;
        const QByteArray icu = toCode(c);
        for (size_t j = i; j < end; ++j)
            if (found[j].code == icu)
                standard = icu;
        for (size_t j = i; j < end; ++j)
            slot(found[j].code) = kChar | (found[j].code == standard ? 0 : kAlternate) | c;
        t.encode[c] = standard.size() == 3 ? kChar | kThree | uchar(standard[1]) << 8 | uchar(standard[2])
                                           : kChar | uchar(standard[0]) << 8 | uchar(standard[1]);
        i = end;
    }
    ucnv_close(converter);
    return t;
}

const EucTables& eucTables()
{
    static const EucTables t = buildEucTables();
    return t;
}

// A mark's code for an EUC-JP code (two bytes as they are; 8F xx yy as
// the low seven bits of xx and yy) and back.
quint16 markForPair(unsigned b1, unsigned b2) { return quint16(b1 << 8 | b2); }
quint16 markForTriple(unsigned b2, unsigned b3) { return quint16((b2 & 0x7F) << 8 | (b3 & 0x7F)); }

// The character a mark's code stands for in the EUC-JP tables, or 0.
char16_t characterOfMark(const EucTables& t, quint16 code)
{
    const unsigned hi = code >> 8;
    const unsigned lo = code & 0xFF;
    uint32_t e = 0;
    if (inRange(hi, 0x21, 0x7E) && inRange(lo, 0x21, 0x7E))
        e = t.triple[(hi | 0x80) << 8 | (lo | 0x80)];
    else if ((hi == 0x8E || inRange(hi, 0xA1, 0xFE)) && inRange(lo, 0xA1, 0xFE))
        e = t.pair[code];
    return e ? char16_t(e) : 0;
}

// ---- Decoding, one step at a time ---------------------------------------------

// What the bytes at one place are: a character (with the mark its code
// needs), or `length` bytes that are no character.
struct Step {
    char32_t c = 0;
    int length = 1;
    quint16 mark = 0;
    bool raw = false;
};

Step rawStep(int length) { return Step{0, length, 0, true}; }

struct Utf8Steps {
    static constexpr bool kOneByteAscii = true;
    Step operator()(const uchar* p, const uchar* end) const
    {
        const unsigned b = p[0];
        if (b < 0x80)
            return {b};
        const qsizetype left = end - p;
        const auto cont = [&](int i) { return left > i && inRange(p[i], 0x80, 0xBF); };
        if (inRange(b, 0xC2, 0xDF)) {
            if (cont(1))
                return {char32_t((b & 0x1F) << 6 | (p[1] & 0x3F)), 2};
        } else if (inRange(b, 0xE0, 0xEF)) {
            const unsigned low = b == 0xE0 ? 0xA0 : 0x80;
            const unsigned high = b == 0xED ? 0x9F : 0xBF;
            if (left > 2 && inRange(p[1], low, high) && cont(2))
                return {char32_t((b & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F)), 3};
        } else if (inRange(b, 0xF0, 0xF4)) {
            const unsigned low = b == 0xF0 ? 0x90 : 0x80;
            const unsigned high = b == 0xF4 ? 0x8F : 0xBF;
            if (left > 3 && inRange(p[1], low, high) && cont(2) && cont(3))
                return {char32_t((b & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F)), 4};
        }
        return rawStep(1);
    }
};

template <bool BigEndian>
unsigned unitAt(const uchar* p)
{
    return BigEndian ? unsigned(p[0]) << 8 | p[1] : unsigned(p[1]) << 8 | p[0];
}

template <bool BigEndian>
struct Utf16Steps {
    static constexpr bool kOneByteAscii = false;
    Step operator()(const uchar* p, const uchar* end) const
    {
        if (end - p < 2)
            return rawStep(1);   // the odd byte at the end
        const unsigned u = unitAt<BigEndian>(p);
        if (QChar::isHighSurrogate(u)) {
            if (end - p >= 4 && QChar::isLowSurrogate(unitAt<BigEndian>(p + 2)))
                return {QChar::surrogateToUcs4(char16_t(u), char16_t(unitAt<BigEndian>(p + 2))), 4};
            return rawStep(2);
        }
        if (QChar::isLowSurrogate(u))
            return rawStep(2);
        return {u, 2};
    }
};

struct EucSteps {
    static constexpr bool kOneByteAscii = true;
    const EucTables& t = eucTables();
    Step operator()(const uchar* p, const uchar* end) const
    {
        const unsigned b = p[0];
        if (b < 0x80)
            return {b};
        const qsizetype left = end - p;
        if (b == 0x8F) {
            if (left >= 3) {
                const uint32_t e = t.triple[p[1] << 8 | p[2]];
                if (e)
                    return {char16_t(e), 3, (e & kAlternate) ? markForTriple(p[1], p[2]) : quint16(0)};
            }
        } else if ((b == 0x8E || b >= 0xA1) && left >= 2) {
            const uint32_t e = t.pair[b << 8 | p[1]];
            if (e)
                return {char16_t(e), 2, (e & kAlternate) ? markForPair(b, p[1]) : quint16(0)};
        }
        return rawStep(1);   // a lead byte that cannot pair is the only invalid byte
    }
};

// Output of a decoder: the text with its stand-ins and marks.
class TextBuilder {
public:
    TextBuilder(qsizetype capacity, CodeMarks& marks) : text_(capacity, Qt::Uninitialized), marks_(marks)
    {
        first_ = reinterpret_cast<char16_t*>(text_.data());
        out_ = first_;
    }
    qsizetype position() const { return out_ - first_; }
    void character(char32_t c, quint16 mark = 0)
    {
        if (mark)
            marks_.append({position(), mark});
        if (c > 0xFFFF) {
            *out_++ = QChar::highSurrogate(c);
            *out_++ = QChar::lowSurrogate(c);
        } else {
            *out_++ = char16_t(c);
        }
    }
    void standIns(const uchar* bytes, int length)
    {
        for (int i = 0; i < length; ++i) {
            marks_.append({position(), bytes[i]});
            *out_++ = kStandIn;
        }
    }
    QString take()
    {
        text_.truncate(position());
        return std::move(text_);
    }

private:
    QString text_;
    CodeMarks& marks_;
    char16_t* first_ = nullptr;
    char16_t* out_ = nullptr;
};

// Decodes with `steps`, turning the file's line breaks into '\n' and
// every NUL and stray break into stand-ins.
template <typename Steps>
QString decodeSteps(QByteArrayView bytes, LineBreak lineBreak, CodeMarks& marks, const Steps& steps)
{
    // Every byte gives at most one UTF-16 unit (a four-byte UTF-8 or UTF-16
    // character gives two).
    TextBuilder out(bytes.size(), marks);
    const uchar* p = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = p + bytes.size();
    while (p < end) {
        if (Steps::kOneByteAscii && *p >= 0x20 && *p < 0x7F) {
            // One-byte ASCII in the byte encodings.
            out.character(*p++);
            continue;
        }
        const Step s = steps(p, end);
        if (s.raw || s.c == 0) {
            out.standIns(p, s.length);
        } else if (s.c == '\r' || s.c == '\n') {
            bool isBreak = false;
            int length = s.length;
            if (s.c == '\r' && lineBreak == LineBreak::Cr) {
                isBreak = true;
            } else if (s.c == '\n' && lineBreak == LineBreak::Lf) {
                isBreak = true;
            } else if (s.c == '\r' && lineBreak == LineBreak::CrLf && p + s.length < end) {
                const Step next = steps(p + s.length, end);
                if (!next.raw && next.c == '\n') {
                    isBreak = true;
                    length += next.length;
                }
            }
            if (isBreak) {
                out.character(u'\n');
                p += length;
                continue;
            }
            out.standIns(p, s.length);
        } else {
            out.character(s.c, s.mark);
        }
        p += s.length;
    }
    return out.take();
}

template <bool BigEndian>
LineBreak dominantUnitLineBreak(QByteArrayView bytes)
{
    const uchar* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    qsizetype lfs = 0;
    qsizetype crs = 0;
    qsizetype crlfs = 0;
    bool afterCr = false;
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned u = unitAt<BigEndian>(p + 2 * i);
        lfs += u == '\n';
        crs += u == '\r';
        crlfs += afterCr && u == '\n';
        afterCr = u == '\r';
    }
    const qsizetype loneLfs = lfs - crlfs;
    const qsizetype loneCrs = crs - crlfs;
    if (crlfs >= loneLfs && crlfs >= loneCrs)
        return LineBreak::CrLf;
    return loneLfs >= loneCrs ? LineBreak::Lf : LineBreak::Cr;
}

// ---- ISO-2022-JP ----------------------------------------------------------------
// The decoder hides an escape sequence exactly where the encoder, with the
// file's JisEscapes, would write that sequence itself; any other escape
// stays in the text as stand-ins, which the encoder writes back as they
// are (and follows, so the characters after them still fit). So the text
// says what the user sees, and the file comes back byte for byte.

enum class JisSet : uint8_t { Ascii, Kana, J0208, J0212 };

struct JisEscape {
    int length = 0;   // 0: no escape we know
    JisSet set = JisSet::Ascii;
    char final = 'B';
};

JisEscape jisEscapeAt(const uchar* p, const uchar* end)
{
    const qsizetype left = end - p;
    if (left < 3 || p[0] != 0x1B)
        return {};
    if (p[1] == '(') {
        switch (p[2]) {
        case 'B':
        case 'J':
            return {3, JisSet::Ascii, char(p[2])};
        case 'I':
            return {3, JisSet::Kana, 'I'};
        default:
            return {};
        }
    }
    if (p[1] == '$') {
        if (p[2] == 'B' || p[2] == '@')
            return {3, JisSet::J0208, char(p[2])};
        if (p[2] == '(' && left >= 4 && p[3] == 'D')
            return {4, JisSet::J0212, 'D'};
    }
    return {};
}

QByteArray jisEscapeFor(JisSet set, const TextSpelling::JisEscapes& style)
{
    switch (set) {
    case JisSet::Ascii:
        return QByteArray("\x1b(") + style.roman;
    case JisSet::Kana:
        return QByteArrayLiteral("\x1b(I");
    case JisSet::J0208:
        return QByteArray("\x1b$") + style.kanji;
    case JisSet::J0212:
        return QByteArrayLiteral("\x1b$(D");
    }
    return {};
}

struct JisStep {
    enum class Kind { Character, Raw, Cr, Lf, Escape, End };
    Kind kind = Kind::End;
    char16_t c = 0;
    int length = 0;
    quint16 mark = 0;
    JisEscape escape{};
};

JisStep jisStep(const EucTables& t, const uchar* p, const uchar* end, JisSet set)
{
    using Kind = JisStep::Kind;
    if (p >= end)
        return {};
    const unsigned b = p[0];
    if (b == 0x1B) {
        const JisEscape escape = jisEscapeAt(p, end);
        if (escape.length)
            return {Kind::Escape, 0, escape.length, 0, escape};
        return {Kind::Raw, 0, 1};
    }
    if (b == '\r')
        return {Kind::Cr, 0, 1};
    if (b == '\n')
        return {Kind::Lf, 0, 1};
    switch (set) {
    case JisSet::Ascii:
        if (b != 0 && b < 0x80)
            return {Kind::Character, char16_t(b), 1};
        break;
    case JisSet::Kana:
        if (inRange(b, 0x21, 0x5F) && t.pair[0x8E00 | (b | 0x80)])
            return {Kind::Character, char16_t(t.pair[0x8E00 | (b | 0x80)]), 1};
        break;
    case JisSet::J0208:
    case JisSet::J0212:
        if (inRange(b, 0x21, 0x7E) && end - p >= 2 && inRange(p[1], 0x21, 0x7E)) {
            const unsigned key = (b | 0x80) << 8 | (p[1] | 0x80);
            const uint32_t e = set == JisSet::J0208 ? t.pair[key] : t.triple[key];
            if (!e)
                return {Kind::Raw, 0, 2};
            const quint16 mark = !(e & kAlternate) ? quint16(0)
                : set == JisSet::J0208           ? markForPair(b | 0x80, p[1] | 0x80)
                                                 : markForTriple(b, p[1]);
            return {Kind::Character, char16_t(e), 2, mark};
        }
        break;
    }
    return {Kind::Raw, 0, 1};
}

QString decodeJis(QByteArrayView bytes, const TextSpelling& spelling, CodeMarks& marks)
{
    using Kind = JisStep::Kind;
    const EucTables& t = eucTables();
    const TextSpelling::JisEscapes& style = spelling.jis;
    const LineBreak lineBreak = spelling.lineBreak;
    TextBuilder out(bytes.size(), marks);
    const uchar* p = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = p + bytes.size();
    // The length of the line break at p, or 0 when the byte there is a
    // stray break byte.
    const auto breakAt = [&](const JisStep& s, const uchar* at) -> int {
        if (s.kind == Kind::Cr && lineBreak == LineBreak::Cr)
            return 1;
        if (s.kind == Kind::Lf && lineBreak == LineBreak::Lf)
            return 1;
        if (s.kind == Kind::Cr && lineBreak == LineBreak::CrLf && end - at >= 2 && at[1] == '\n')
            return 2;
        return 0;
    };
    JisSet set = JisSet::Ascii;
    while (p < end) {
        const JisStep s = jisStep(t, p, end, set);
        switch (s.kind) {
        case Kind::Character:
            out.character(s.c, s.mark);
            break;
        case Kind::Raw:
            out.standIns(p, s.length);
            break;
        case Kind::Cr:
        case Kind::Lf:
            if (const int length = breakAt(s, p)) {
                out.character(u'\n');
                p += length;
                continue;
            }
            out.standIns(p, s.length);
            break;
        case Kind::Escape: {
            const JisSet next = s.escape.set;
            bool hidden = false;
            if (next != set && jisEscapeFor(next, style) == QByteArrayView(p, s.length)) {
                const uchar* const after = p + s.length;
                const JisStep following = jisStep(t, after, end, next);
                if (following.kind == Kind::Character)
                    hidden = true;   // written for the character
                else if (next == JisSet::Ascii && style.resetBeforeBreak && breakAt(following, after))
                    hidden = true;   // written before the line break
                else if (next == JisSet::Ascii && style.resetAtEnd && following.kind == Kind::End)
                    hidden = true;   // written at the end
            }
            if (!hidden)
                out.standIns(p, s.length);
            set = next;
            break;
        }
        case Kind::End:
            break;
        }
        p += s.length;
    }
    return out.take();
}

// ---- Encoding ---------------------------------------------------------------------

// Output bytes, grown as needed.
class ByteSink {
public:
    explicit ByteSink(qsizetype expected) { bytes_.reserve(expected); }
    void put(char b) { bytes_.append(b); }
    void put(QByteArrayView b) { bytes_.append(b); }
    qsizetype size() const { return bytes_.size(); }
    const QByteArray& bytes() const { return bytes_; }
    QByteArray take() { return std::move(bytes_); }

private:
    QByteArray bytes_;
};

// Per encoding: `character(c, mark)` writes one character (false when it
// has no code), `lineBreak()` one line break, `raw(byte)` a stand-in's
// byte, `finish()` whatever the end of the file needs.
struct Utf8Writer {
    ByteSink& out;
    QByteArray lineBreakBytes;
    bool character(char32_t c, quint16)
    {
        if (c < 0x80) {
            out.put(char(c));
        } else if (c < 0x800) {
            out.put(char(0xC0 | c >> 6));
            out.put(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.put(char(0xE0 | c >> 12));
            out.put(char(0x80 | (c >> 6 & 0x3F)));
            out.put(char(0x80 | (c & 0x3F)));
        } else {
            out.put(char(0xF0 | c >> 18));
            out.put(char(0x80 | (c >> 12 & 0x3F)));
            out.put(char(0x80 | (c >> 6 & 0x3F)));
            out.put(char(0x80 | (c & 0x3F)));
        }
        return true;
    }
    void lineBreak() { out.put(lineBreakBytes); }
    void raw(uchar b) { out.put(char(b)); }
    void finish() {}
};

template <bool BigEndian>
struct Utf16Writer {
    ByteSink& out;
    LineBreak breaks;
    void unit(unsigned u)
    {
        out.put(char(BigEndian ? u >> 8 : u & 0xFF));
        out.put(char(BigEndian ? u & 0xFF : u >> 8));
    }
    bool character(char32_t c, quint16)
    {
        if (c > 0xFFFF) {
            unit(QChar::highSurrogate(c));
            unit(QChar::lowSurrogate(c));
        } else {
            unit(c);
        }
        return true;
    }
    void lineBreak()
    {
        if (breaks != LineBreak::Lf)
            unit('\r');
        if (breaks != LineBreak::Cr)
            unit('\n');
    }
    void raw(uchar b) { out.put(char(b)); }
    void finish() {}
};

// The EUC-JP code of `c`: the marked one when the mark is a code of c,
// else the standard one; 0 when c has none (one-byte characters included).
uint32_t eucCode(const EucTables& t, char32_t c, quint16 mark)
{
    if (c > 0xFFFF)
        return 0;
    if (mark && characterOfMark(t, mark) == c) {
        const bool three = (mark >> 8) < 0x80;
        return kChar | (three ? kThree | ((mark | 0x8080) & 0xFFFF) : mark);
    }
    return t.encode[c];
}

struct EucWriter {
    ByteSink& out;
    QByteArray lineBreakBytes;
    const EucTables& t = eucTables();
    bool character(char32_t c, quint16 mark)
    {
        if (c < 0x80) {
            out.put(char(c));
            return true;
        }
        const uint32_t e = eucCode(t, c, mark);
        if (!e)
            return false;
        if (e & kThree)
            out.put(char(0x8F));
        out.put(char(e >> 8));
        out.put(char(e));
        return true;
    }
    void lineBreak() { out.put(lineBreakBytes); }
    void raw(uchar b) { out.put(char(b)); }
    void finish() {}
};

struct JisWriter {
    ByteSink& out;
    QByteArray lineBreakBytes;
    TextSpelling::JisEscapes style;
    const EucTables& t = eucTables();
    JisSet set = JisSet::Ascii;
    qsizetype rawSince = -1;   // where the stand-ins' bytes written last begin

    void switchTo(JisSet wanted)
    {
        if (wanted == set)
            return;
        out.put(jisEscapeFor(wanted, style));
        set = wanted;
    }
    bool character(char32_t c, quint16 mark)
    {
        rawSince = -1;
        if (c < 0x80) {
            switchTo(JisSet::Ascii);
            out.put(char(c));
            return true;
        }
        const uint32_t e = eucCode(t, c, mark);
        if (!e)
            return false;
        if (e & kThree)
            switchTo(JisSet::J0212);
        else if ((e >> 8 & 0xFF) == 0x8E)
            switchTo(JisSet::Kana);
        else
            switchTo(JisSet::J0208);
        if (set != JisSet::Kana)
            out.put(char(e >> 8 & 0x7F));
        out.put(char(e & 0x7F));
        return true;
    }
    void lineBreak()
    {
        rawSince = -1;
        if (style.resetBeforeBreak)
            switchTo(JisSet::Ascii);
        out.put(lineBreakBytes);
    }
    // A stand-in's byte; an escape spelled by stand-ins switches the set
    // just as it will when the file is read.
    void raw(uchar b)
    {
        if (rawSince < 0)
            rawSince = out.size();
        out.put(char(b));
        const uchar* const data = reinterpret_cast<const uchar*>(out.bytes().constData());
        const uchar* const end = data + out.size();
        for (int length : {3, 4}) {
            if (out.size() - rawSince < length)
                continue;
            const JisEscape escape = jisEscapeAt(end - length, end);
            if (escape.length == length)
                set = escape.set;
        }
    }
    void finish()
    {
        if (style.resetAtEnd)
            switchTo(JisSet::Ascii);
    }
};

QByteArray lineBreakBytes(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf:
        return QByteArrayLiteral("\n");
    case LineBreak::Cr:
        return QByteArrayLiteral("\r");
    case LineBreak::CrLf:
        break;
    }
    return QByteArrayLiteral("\r\n");
}

QByteArray bomOf(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QByteArrayLiteral("\xEF\xBB\xBF");
    case TextEncoding::Utf16Le:
        return QByteArrayLiteral("\xFF\xFE");
    case TextEncoding::Utf16Be:
        return QByteArrayLiteral("\xFE\xFF");
    default:
        return {};
    }
}

// The file's text in a spelling known in full (the byte-order mark, when
// spelling.bom, is expected and skipped).
DecodedText decodeSpelled(QByteArrayView bytes, const TextSpelling& spelling)
{
    if (spelling.encoding == TextEncoding::Cp932) {
        DecodedText result = decodeCp932File(bytes, spelling.lineBreak);
        result.spelling = spelling;
        return result;
    }
    DecodedText result;
    result.spelling = spelling;
    if (spelling.bom)
        bytes = bytes.sliced(std::min(bytes.size(), bomOf(spelling.encoding).size()));
    switch (spelling.encoding) {
    case TextEncoding::Utf8:
        result.text = decodeSteps(bytes, spelling.lineBreak, result.marks, Utf8Steps{});
        break;
    case TextEncoding::Utf16Le:
        result.text = decodeSteps(bytes, spelling.lineBreak, result.marks, Utf16Steps<false>{});
        break;
    case TextEncoding::Utf16Be:
        result.text = decodeSteps(bytes, spelling.lineBreak, result.marks, Utf16Steps<true>{});
        break;
    case TextEncoding::EucJp:
        result.text = decodeSteps(bytes, spelling.lineBreak, result.marks, EucSteps{});
        break;
    case TextEncoding::Iso2022Jp:
        result.text = decodeJis(bytes, spelling, result.marks);
        break;
    case TextEncoding::Cp932:
        break;
    }
    return result;
}

template <typename Writer>
EncodedText encodeWith(QStringView text, const CodeMarks& marks, Writer& writer, bool& raw)
{
    EncodedText result;
    const auto fail = [&result](qsizetype at) {
        result.failure = EncodedText::Failure::NoCode;
        result.failedAt = at;
        return result;
    };
    qsizetype next = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = text[i].unicode();
        while (next < marks.size() && marks[next].position < i)
            ++next;
        const bool marked = next < marks.size() && marks[next].position == i;
        const quint16 mark = marked ? marks[next++].code : quint16(0);
        if (u == u'\n') {
            writer.lineBreak();
            continue;
        }
        if (u == kStandIn && marked && mark <= 0xFF) {
            writer.raw(uchar(mark));
            raw = true;
            continue;
        }
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i + 1 < size && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            if (!writer.character(c, 0))
                return fail(i);
            ++i;
            continue;
        }
        if (QChar::isSurrogate(u) || !writer.character(c, mark))
            return fail(i);
    }
    writer.finish();
    return result;
}

} // namespace

DecodedText decodeTextFile(QByteArrayView bytes, TextEncoding encoding)
{
    TextSpelling spelling;
    spelling.encoding = encoding;
    const QByteArray bom = bomOf(encoding);
    spelling.bom = !bom.isEmpty() && bytes.startsWith(bom);
    const QByteArrayView body = spelling.bom ? bytes.sliced(bom.size()) : bytes;
    switch (encoding) {
    case TextEncoding::Utf16Le:
        spelling.lineBreak = dominantUnitLineBreak<false>(body);
        break;
    case TextEncoding::Utf16Be:
        spelling.lineBreak = dominantUnitLineBreak<true>(body);
        break;
    default:
        spelling.lineBreak = dominantLineBreak(body);
        break;
    }
    if (encoding != TextEncoding::Iso2022Jp)
        return decodeSpelled(bytes, spelling);

    // The escapes the file uses, and whether it returns to one-byte text
    // before each break and at the end: the first guess that writes the
    // file back as it is. The last one (never more escapes than the
    // characters need) always does; escapes it would not write show.
    const uchar* const data = reinterpret_cast<const uchar*>(bytes.data());
    bool kanjiSeen = false;
    bool romanSeen = false;
    for (qsizetype i = bytes.indexOf('\x1b'); i >= 0 && !(kanjiSeen && romanSeen); i = bytes.indexOf('\x1b', i + 1)) {
        const JisEscape escape = jisEscapeAt(data + i, data + bytes.size());
        if (escape.set == JisSet::J0208 && escape.length && !kanjiSeen) {
            spelling.jis.kanji = escape.final;
            kanjiSeen = true;
        } else if (escape.set == JisSet::Ascii && escape.length && !romanSeen) {
            spelling.jis.roman = escape.final;
            romanSeen = true;
        }
    }
    const std::pair<bool, bool> guesses[] = {{true, true}, {true, false}, {false, true}};
    for (const auto& [beforeBreak, atEnd] : guesses) {
        spelling.jis.resetBeforeBreak = beforeBreak;
        spelling.jis.resetAtEnd = atEnd;
        DecodedText result = decodeSpelled(bytes, spelling);
        const EncodedText back = encodeTextFile(result.text, result.marks, spelling);
        if (back.ok() && back.bytes == bytes)
            return result;
    }
    spelling.jis.resetBeforeBreak = false;
    spelling.jis.resetAtEnd = false;
    return decodeSpelled(bytes, spelling);
}

DecodedText decodeTextFile(QByteArrayView bytes)
{
    const FileEncoding detected = detectTextEncoding(bytes);
    if (detected.encoding == TextEncoding::Cp932)
        return decodeCp932File(bytes, dominantLineBreak(bytes));
    return decodeTextFile(bytes, detected.encoding);
}

EncodedText encodeTextFile(QStringView text, const CodeMarks& marks, const TextSpelling& spelling)
{
    if (spelling.encoding == TextEncoding::Cp932)
        return encodeCp932File(text, marks, spelling.lineBreak);

    ByteSink out(text.size() * 3 + 16);
    const QByteArray bom = spelling.bom ? bomOf(spelling.encoding) : QByteArray();
    out.put(bom);
    bool raw = false;
    EncodedText result;
    switch (spelling.encoding) {
    case TextEncoding::Utf8: {
        Utf8Writer writer{out, lineBreakBytes(spelling.lineBreak)};
        result = encodeWith(text, marks, writer, raw);
        break;
    }
    case TextEncoding::Utf16Le: {
        Utf16Writer<false> writer{out, spelling.lineBreak};
        result = encodeWith(text, marks, writer, raw);
        break;
    }
    case TextEncoding::Utf16Be: {
        Utf16Writer<true> writer{out, spelling.lineBreak};
        result = encodeWith(text, marks, writer, raw);
        break;
    }
    case TextEncoding::EucJp: {
        EucWriter writer{out, lineBreakBytes(spelling.lineBreak)};
        result = encodeWith(text, marks, writer, raw);
        break;
    }
    case TextEncoding::Iso2022Jp: {
        JisWriter writer{out, lineBreakBytes(spelling.lineBreak), spelling.jis};
        result = encodeWith(text, marks, writer, raw);
        // Escapes make what a character becomes depend on what came
        // before it: always read such a file back.
        raw = true;
        break;
    }
    case TextEncoding::Cp932:
        break;
    }
    if (!result.ok())
        return result;
    result.bytes = out.take();

    // Raw bytes can join their neighbours into other characters (or a
    // stray CR and LF into a line break): such a file is read again here
    // and must give the same text.
    if (raw) {
        const DecodedText again = decodeSpelled(result.bytes, spelling);
        const auto [mine, theirs] = std::mismatch(text.begin(), text.end(), again.text.begin(), again.text.end());
        if (mine != text.end() || theirs != again.text.end()) {
            result.bytes.clear();
            result.failure = EncodedText::Failure::Merges;
            result.failedAt = std::max<qsizetype>(0, std::min<qsizetype>(mine - text.begin(), text.size() - 1));
        }
    }
    return result;
}

// ---- Detection ------------------------------------------------------------------

namespace {

constexpr qsizetype kSample = 64 * 1024;

// How a sample reads in one encoding: bytes that are no character, and
// how much of it looks like Japanese writing. The encoding with fewer
// errors and more Japanese wins; at equal scores code page 932 does.
struct Reading {
    qsizetype invalid = 0;
    qsizetype japanese = 0;
    qsizetype wide = 0;   // characters of more than one byte
};

// Kana, kanji and Japanese punctuation count two; half-width katakana
// letters one (they are rare in real text, but what EUC-JP bytes look
// like read as code page 932); half-width punctuation nothing.
int japaneseWeight(char16_t c)
{
    if (inRange(c, 0x3000, 0x30FF) || inRange(c, 0x3400, 0x4DBF) || inRange(c, 0x4E00, 0x9FFF)
        || inRange(c, 0xF900, 0xFAFF))
        return 2;
    if (inRange(c, 0xFF66, 0xFF9F))
        return 1;
    return 0;
}

Reading readAsCp932(QByteArrayView sample)
{
    Reading r;
    const QString text = Cp932::decode(sample);
    for (QChar c : text) {
        if (Cp932::isStandIn(c))
            ++r.invalid;
        else
            r.japanese += japaneseWeight(c.unicode());
    }
    return r;
}

// Only the common rows count: kana, punctuation and the first level of
// kanji. Code page 932 text read as EUC-JP gives the rare ones (second
// level, extensions), and EUC-JP text read as code page 932 mostly
// half-width katakana and punctuation.
Reading readAsEuc(QByteArrayView sample)
{
    Reading r;
    const EucSteps steps;
    const uchar* p = reinterpret_cast<const uchar*>(sample.data());
    const uchar* const end = p + sample.size();
    while (p < end) {
        const Step s = steps(p, end);
        if (s.raw)
            ++r.invalid;
        else if (inRange(p[0], 0xA1, 0xA5) || inRange(p[0], 0xB0, 0xCF) || p[0] == 0x8E)
            r.japanese += japaneseWeight(char16_t(s.c));
        r.wide += s.length > 1;
        p += s.length;
    }
    return r;
}

// Valid UTF-8 with multi-byte characters; a stray byte in eight
// characters or more is still a UTF-8 file with an error (code page 932
// and EUC-JP text read as UTF-8 has about as many errors as characters).
bool looksLikeUtf8(QByteArrayView sample)
{
    const Utf8Steps steps;
    const uchar* p = reinterpret_cast<const uchar*>(sample.data());
    const uchar* const end = p + sample.size();
    qsizetype characters = 0;
    qsizetype invalid = 0;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const Step s = steps(p, end);
        if (s.raw)
            ++invalid;
        else
            ++characters;
        p += s.length;
    }
    return characters > 0 && invalid * 8 <= characters;
}

// Escapes to two-byte sets or half-width katakana (an escape back to
// ASCII alone proves nothing), counted up to `enough`.
qsizetype jisEscapes(QByteArrayView bytes, qsizetype enough)
{
    const uchar* const data = reinterpret_cast<const uchar*>(bytes.data());
    qsizetype count = 0;
    for (qsizetype i = bytes.indexOf('\x1b'); i >= 0 && count < enough; i = bytes.indexOf('\x1b', i + 1)) {
        const JisEscape escape = jisEscapeAt(data + i, data + bytes.size());
        count += escape.length && escape.set != JisSet::Ascii;
    }
    return count;
}

// UTF-16 without a byte-order mark: the NUL bytes of its ASCII
// characters all stand at odd (little-endian) or all at even positions
// (sixteen of them at least), and the units pair up. Text in the other
// encodings never holds NUL.
std::optional<TextEncoding> utf16WithoutBom(QByteArrayView sample)
{
    const uchar* const data = reinterpret_cast<const uchar*>(sample.data());
    const qsizetype size = sample.size() & ~qsizetype(1);
    qsizetype even = 0;
    qsizetype odd = 0;
    for (qsizetype i = 0; i < size; i += 2) {
        even += data[i] == 0;
        odd += data[i + 1] == 0;
    }
    if (even + odd < 16 || (even > 0 && odd > 0))
        return std::nullopt;
    const auto pairsUp = [&](auto steps) {
        for (const uchar* p = data; p < data + size;) {
            const Step s = steps(p, data + size);
            if (s.raw && (s.length > 1 || p + 1 < data + size))
                return false;
            p += s.length;
        }
        return true;
    };
    if (odd > 0 && pairsUp(Utf16Steps<false>{}))
        return TextEncoding::Utf16Le;
    if (even > 0 && pairsUp(Utf16Steps<true>{}))
        return TextEncoding::Utf16Be;
    return std::nullopt;
}

} // namespace

FileEncoding detectTextEncoding(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {TextEncoding::Utf8, true};
    if (bytes.startsWith("\xFF\xFE"))
        return {TextEncoding::Utf16Le, true};
    if (bytes.startsWith("\xFE\xFF"))
        return {TextEncoding::Utf16Be, true};

    const uchar* const data = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype first = 0;
    while (first < size && data[first] < 0x80)
        ++first;
    // The sample starts where the first non-ASCII byte does (a character
    // starts there in every encoding) and ends after an ASCII byte, so no
    // character is cut.
    qsizetype stop = std::min(size, first + kSample);
    if (stop < size) {
        qsizetype cut = stop;
        while (cut > stop - 64 && cut > first && data[cut - 1] >= 0x80)
            --cut;
        if (cut > first && data[cut - 1] < 0x80)
            stop = cut;
    }
    const QByteArrayView sample = bytes.sliced(first, stop - first);

    if (looksLikeUtf8(sample))
        return {TextEncoding::Utf8, false};
    // ISO-2022-JP is seven-bit text; a few stray eight-bit bytes do not
    // make it something else.
    const qsizetype high = std::count_if(sample.begin(), sample.end(), [](char b) { return uchar(b) >= 0x80; });
    const qsizetype escapes = jisEscapes(bytes.first(stop), high + 1);
    if (escapes > 0 && high <= escapes)
        return {TextEncoding::Iso2022Jp, false};
    if (const std::optional<TextEncoding> utf16 = utf16WithoutBom(bytes.first(std::min(size, kSample))))
        return {*utf16, false};
    if (sample.isEmpty())
        return {};
    // An invalid byte weighs as two kana. One character is too little
    // to go by: a file needs two for EUC-JP.
    const Reading cp932 = readAsCp932(sample);
    const Reading euc = readAsEuc(sample);
    if (euc.wide >= 2 && euc.japanese - 4 * euc.invalid > cp932.japanese - 4 * cp932.invalid)
        return {TextEncoding::EucJp, false};
    return {};
}

// ---- Names -------------------------------------------------------------------------

QString textEncodingName(TextEncoding encoding, bool bom)
{
    switch (encoding) {
    case TextEncoding::Cp932:
        return QStringLiteral("Shift_JIS");
    case TextEncoding::Utf8:
        return bom ? QStringLiteral("UTF-8 (BOM付き)") : QStringLiteral("UTF-8");
    case TextEncoding::Utf16Le:
        return bom ? QStringLiteral("UTF-16LE") : QStringLiteral("UTF-16LE (BOMなし)");
    case TextEncoding::Utf16Be:
        return bom ? QStringLiteral("UTF-16BE") : QStringLiteral("UTF-16BE (BOMなし)");
    case TextEncoding::EucJp:
        return QStringLiteral("EUC-JP");
    case TextEncoding::Iso2022Jp:
        return QStringLiteral("ISO-2022-JP");
    }
    return {};
}

QString textEncodingName(const TextSpelling& spelling)
{
    return textEncodingName(spelling.encoding, spelling.bom);
}

QString lineBreakName(TextSpelling::LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf:
        return QStringLiteral("LF");
    case LineBreak::Cr:
        return QStringLiteral("CR");
    case LineBreak::CrLf:
        break;
    }
    return QStringLiteral("CR+LF");
}

QList<FileEncoding> offeredTextEncodings()
{
    return {{TextEncoding::Cp932, false}, {TextEncoding::Utf8, false},    {TextEncoding::Utf8, true},
            {TextEncoding::EucJp, false}, {TextEncoding::Iso2022Jp, false}, {TextEncoding::Utf16Le, true},
            {TextEncoding::Utf16Be, true}};
}

QString htmlCharsetName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Cp932:
        return QStringLiteral("Shift_JIS");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        return QStringLiteral("UTF-16");
    case TextEncoding::EucJp:
        return QStringLiteral("EUC-JP");
    case TextEncoding::Iso2022Jp:
        return QStringLiteral("ISO-2022-JP");
    }
    return {};
}

} // namespace pel
