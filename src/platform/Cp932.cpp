#include "platform/Cp932.h"

#include <unicode/ucnv.h>

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <vector>

namespace pel {
namespace {

constexpr char16_t kStandInBase = 0xF700;
constexpr char16_t kSelectorBase = 0xFE00;   // VARIATION SELECTOR-1
constexpr int kMaxCodes = 3;                  // most codes one character has

// Table entries: the low 16 bits are a character (decode) or a code
// (encode); the flags say how to read them. Zero means "nothing".
constexpr uint32_t kChar = 1u << 16;    // decode: a character; encode: has a code
constexpr uint32_t kLead = 1u << 17;    // decode, single bytes: a lead byte
constexpr uint32_t kTwo = 1u << 17;     // encode: the code is two bytes
constexpr uint32_t kDup = 1u << 18;     // the character has more than one code
constexpr uint32_t kRaw = 1u << 18;     // decode, single bytes: no character, a stand-in
constexpr uint32_t kBreak = 1u << 19;   // encode: '\n', spelled by the caller
constexpr uint32_t kCrLf = 1u << 19;    // decode: CR that may start CR LF
constexpr uint32_t kJisForm = 1u << 20; // encode: a JIS reading of another character's code
constexpr int kIndexShift = 20;         // decode: index into the code list (2 bits)
constexpr int kDupShift = 22;           // id of the duplicated character (10 bits)

bool isLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

struct Duplicate {
    char16_t character;
    int count;
    std::array<uint16_t, kMaxCodes> codes;   // standard first
};

struct Tables {
    std::array<uint32_t, 256> single{};
    std::vector<uint32_t> pair = std::vector<uint32_t>(0x10000);
    std::vector<uint32_t> encode = std::vector<uint32_t>(0x10000);
    // Documents: standard codes only, no raw stand-ins, no selectors.
    std::vector<uint32_t> documentEncode = std::vector<uint32_t>(0x10000);
    std::vector<Duplicate> duplicates;
};

QByteArray codeBytes(uint16_t code)
{
    const char bytes[2] = {char(code >> 8), char(code & 0xFF)};
    return code > 0xFF ? QByteArray(bytes, 2) : QByteArray(bytes + 1, 1);
}

class IcuConverter {
public:
    IcuConverter()
    {
        UErrorCode status = U_ZERO_ERROR;
        converter_ = ucnv_open("windows-31j", &status);
        if (U_FAILURE(status) || !converter_)
            qFatal("ICU has no windows-31j converter (%s)", u_errorName(status));
        // Errors must surface as errors, never as substitution characters
        // or one-way fallbacks.
        ucnv_setToUCallBack(converter_, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(converter_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFallback(converter_, false);
        // EUC-JP numbers its codes as JIS does; with its fallbacks it also
        // writes the characters JIS reads some of those codes as.
        jis_ = ucnv_open("EUC-JP", &status);
        if (U_FAILURE(status) || !jis_)
            qFatal("ICU has no EUC-JP converter (%s)", u_errorName(status));
        ucnv_setToUCallBack(jis_, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(jis_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFallback(jis_, true);
        if (U_FAILURE(status))
            qFatal("ICU converter setup failed (%s)", u_errorName(status));
    }
    ~IcuConverter()
    {
        ucnv_close(jis_);
        ucnv_close(converter_);
    }
    IcuConverter(const IcuConverter&) = delete;
    IcuConverter& operator=(const IcuConverter&) = delete;

    // The one BMP character the bytes stand for, or -1.
    int toCharacter(const char* bytes, int length)
    {
        UChar out[4];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n = ucnv_toUChars(converter_, out, 4, bytes, length, &status);
        if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || n != 1)
            return -1;
        if (QChar::isSurrogate(out[0]) || out[0] == 0xFFFD)
            return -1;
        return out[0];
    }

    // The code ICU writes for `c` (one or two bytes), or -1.
    int toCode(char16_t c)
    {
        char out[8];
        UErrorCode status = U_ZERO_ERROR;
        const UChar in[1] = {c};
        const int32_t n = ucnv_fromUChars(converter_, out, sizeof out, in, 1, &status);
        if (U_FAILURE(status) || n < 1 || n > 2)
            return -1;
        const int code = n == 1 ? uchar(out[0]) : (uchar(out[0]) << 8 | uchar(out[1]));
        // Only a code that reads back as the same character counts.
        if (toCharacter(out, n) != c)
            return -1;
        return code;
    }

    // For a character of the JIS symbol rows (EUC-JP A1xx–A8xx) that the
    // code page reads differently at the same code, the character the code
    // page reads there; else -1. This is how Linux input methods type
    // 〜 (U+301C) where the code page reads ～ (U+FF5E) at 81 60.
    int codePageReadingOfJisForm(char16_t c)
    {
        if (QChar::isSurrogate(c) || (c >= 0xE000 && c <= 0xF8FF))
            return -1;
        char out[8];
        UErrorCode status = U_ZERO_ERROR;
        const UChar in[1] = {c};
        const int32_t n = ucnv_fromUChars(jis_, out, sizeof out, in, 1, &status);
        if (U_FAILURE(status) || n != 2 || uchar(out[0]) < 0xA1 || uchar(out[0]) > 0xA8 || uchar(out[1]) < 0xA1)
            return -1;
        UChar back[4];
        status = U_ZERO_ERROR;
        const int32_t m = ucnv_toUChars(jis_, back, 4, out, 2, &status);
        if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || m != 1 || back[0] == c)
            return -1;
        return back[0];
    }

private:
    UConverter* converter_ = nullptr;
    UConverter* jis_ = nullptr;
};

void setEncode(Tables& t, char16_t c, uint16_t code)
{
    t.encode[c] = kChar | (code > 0xFF ? kTwo : 0) | code;
}

Tables buildTables()
{
    Tables t;
    IcuConverter icu;

    // Single bytes.
    for (unsigned b = 0; b < 256; ++b) {
        if (isLeadByte(b)) {
            t.single[b] = kLead | kRaw | char16_t(kStandInBase + b);
            continue;
        }
        const char in = char(b);
        const int c = icu.toCharacter(&in, 1);
        if (c >= 0 && icu.toCode(char16_t(c)) == int(b))
            t.single[b] = kChar | unsigned(c);
        else
            t.single[b] = kChar | kRaw | char16_t(kStandInBase + b);   // invalid byte
    }
    // ICU's converter maps 1A, 1C and 7F to each other's characters (an IBM
    // habit). Windows keeps ASCII as it is, and so do we, as long as ICU's
    // ASCII range is indeed only a reshuffle of itself.
    {
        std::array<bool, 128> seen{};
        bool permutation = true;
        for (unsigned b = 0; b < 128; ++b) {
            const uint32_t s = t.single[b];
            const unsigned c = s & 0xFFFF;
            if (!(s & kChar) || c >= 128 || seen[c])
                permutation = false;
            else
                seen[c] = true;
        }
        if (!permutation)
            qFatal("ICU's windows-31j converter does not keep ASCII in place");
        for (unsigned b = 0; b < 128; ++b)
            t.single[b] = kChar | b;
    }
    for (unsigned b = 0; b < 256; ++b) {
        const uint32_t s = t.single[b];
        const char16_t c = char16_t(s & 0xFFFF);
        if ((s & kChar) && c != kStandInBase + b)
            setEncode(t, c, uint16_t(b));
    }

    // Pairs. First the standard code of every character a pair decodes to,
    // then the characters that more than one code decodes to.
    struct Found {
        char16_t character;
        uint16_t code;
        uint16_t standard;
    };
    std::vector<Found> found;
    found.reserve(10000);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(lead))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isTrailByte(trail))
                continue;
            const char in[2] = {char(lead), char(trail)};
            const int c = icu.toCharacter(in, 2);
            if (c < 0)
                continue;
            const int standard = icu.toCode(char16_t(c));
            // A pair whose character ICU writes as a single byte would be a
            // duplicate the single-byte path cannot track; such a pair stays
            // invalid, which still keeps its bytes.
            if (standard <= 0xFF)
                continue;
            found.push_back({char16_t(c), uint16_t(lead << 8 | trail), uint16_t(standard)});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.character != b.character ? a.character < b.character : a.code < b.code;
    });
    for (size_t i = 0; i < found.size();) {
        size_t end = i;
        while (end < found.size() && found[end].character == found[i].character)
            ++end;
        const char16_t c = found[i].character;
        const uint16_t standard = found[i].standard;
        Duplicate dup{c, 1, {standard, 0, 0}};
        for (size_t j = i; j < end; ++j) {
            if (found[j].code == standard)
                continue;
            if (dup.count == kMaxCodes)
                qFatal("Code page 932: U+%04X has more codes than expected", unsigned(c));
            dup.codes[dup.count++] = found[j].code;
        }
        setEncode(t, c, standard);
        if (dup.count == 1) {
            for (size_t j = i; j < end; ++j)
                t.pair[found[j].code] = kChar | c;
        } else {
            const uint32_t id = uint32_t(t.duplicates.size());
            if (id >= (1u << (32 - kDupShift)))
                qFatal("Code page 932: too many duplicated characters");
            t.encode[c] |= kDup | id << kDupShift;
            for (int k = 0; k < dup.count; ++k)
                t.pair[dup.codes[k]] = kChar | kDup | uint32_t(k) << kIndexShift | id << kDupShift | c;
            t.duplicates.push_back(dup);
        }
        i = end;
    }

    // The JIS readings of codes the code page reads as other characters
    // (WAVE DASH for FULLWIDTH TILDE, MINUS SIGN for FULLWIDTH HYPHEN-MINUS,
    // ...) are written as those codes. Decoding still gives the code page's
    // character, so a file reads as Windows reads it.
    for (unsigned c = 0x80; c < 0x10000; ++c) {
        if (t.encode[c])
            continue;
        const int reading = icu.codePageReadingOfJisForm(char16_t(c));
        if (reading < 0)
            continue;
        const uint32_t e = t.encode[reading];
        if (!(e & kTwo))
            continue;
        t.encode[c] = kChar | kTwo | kJisForm | (e & 0xFFFF);
    }

    // Stand-ins: every byte that can be invalid, and NUL, CR and LF for
    // text files. They must not collide with anything the code page has.
    for (unsigned b = 0; b < 256; ++b) {
        const uint32_t s = t.single[b];
        const bool needsOne = (s & kLead) || (s & 0xFFFF) == kStandInBase + b
            || b == 0x00 || b == '\r' || b == '\n';
        if (!needsOne)
            continue;
        if (t.encode[kStandInBase + b])
            qFatal("Code page 932 uses U+%04X, which the codec keeps for stand-ins", kStandInBase + b);
        setEncode(t, char16_t(kStandInBase + b), uint16_t(b));
    }
    for (int k = 0; k < kMaxCodes; ++k) {
        if (t.encode[kSelectorBase + k])
            qFatal("Code page 932 uses a variation selector");
    }
    t.encode[u'\n'] |= kBreak;
    for (size_t c = 0; c < t.encode.size(); ++c) {
        const bool standIn = c >= kStandInBase && c <= kStandInBase + 0xFFu;
        t.documentEncode[c] = standIn ? 0 : t.encode[c] & ((1u << kIndexShift) - 1) & ~kDup;
    }
    return t;
}

const Tables& tables()
{
    static const Tables t = buildTables();
    return t;
}

enum class Breaks { Raw, CrLf, Lf, Cr };

// Per-call view of which code a document uses for each duplicated character:
// -1 not yet decided, else an index into that character's code list.
class DocumentCodes {
public:
    explicit DocumentCodes(const Tables& t) : t_(t) {}

    void load(const Cp932::Alternates& alternates)
    {
        for (auto it = alternates.cbegin(); it != alternates.cend(); ++it) {
            const uint32_t e = t_.encode[it.key()];
            if (!(e & kDup))
                continue;
            const Duplicate& dup = t_.duplicates[e >> kDupShift];
            for (int k = 0; k < dup.count; ++k) {
                if (codeBytes(dup.codes[k]) == it.value()) {
                    at(e >> kDupShift) = int8_t(k);
                    break;
                }
            }
        }
    }

    int8_t& at(uint32_t id)
    {
        if (codes_.empty())
            codes_.assign(t_.duplicates.size(), int8_t(-1));
        return codes_[id];
    }

private:
    const Tables& t_;
    std::vector<int8_t> codes_;
};

// The single-byte table with NUL, CR and LF read as a text file's breaks.
std::array<uint32_t, 256> singleTable(const Tables& t, Breaks breaks)
{
    std::array<uint32_t, 256> adjusted = t.single;
    if (breaks == Breaks::Raw)
        return adjusted;
    adjusted[0x00] = kChar | kRaw | kStandInBase;
    switch (breaks) {
    case Breaks::CrLf:
        adjusted['\r'] = kCrLf;
        adjusted['\n'] = kChar | kRaw | (kStandInBase + '\n');
        break;
    case Breaks::Lf:
        adjusted['\r'] = kChar | kRaw | (kStandInBase + '\r');
        break;
    case Breaks::Cr:
        adjusted['\r'] = kChar | '\n';
        adjusted['\n'] = kChar | kRaw | (kStandInBase + '\n');
        break;
    case Breaks::Raw:
        break;
    }
    return adjusted;
}

QString decodeBytes(QByteArrayView bytes, Cp932::Alternates* alternates, Breaks breaks)
{
    const Tables& t = tables();
    const std::array<uint32_t, 256> adjusted = singleTable(t, breaks);
    const uint32_t* single = adjusted.data();
    const uint32_t* pair = t.pair.data();

    DocumentCodes documentCodes(t);
    if (alternates)
        documentCodes.load(*alternates);

    // Every byte gives at most one character, a pair at most two.
    QString result(bytes.size(), Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(result.data());
    char16_t* out = first;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = p + bytes.size();
    while (p < end) {
        const uint32_t s = single[*p];
        if (s & kChar) {
            *out++ = char16_t(s);
            ++p;
            continue;
        }
        if (s & kLead) {
            const uint32_t d = end - p >= 2 ? pair[p[0] << 8 | p[1]] : 0;
            if (!d) {
                *out++ = char16_t(s);   // the lead byte alone is invalid
                ++p;
                continue;
            }
            *out++ = char16_t(d);
            if (d & kDup) {
                const int k = (d >> kIndexShift) & 3;
                int documentCode = 0;
                if (alternates) {
                    int8_t& recorded = documentCodes.at(d >> kDupShift);
                    if (recorded < 0) {
                        recorded = int8_t(k);
                        if (k != 0)
                            alternates->insert(char16_t(d), QByteArray(reinterpret_cast<const char*>(p), 2));
                    }
                    documentCode = recorded;
                }
                if (k != documentCode)
                    *out++ = char16_t(kSelectorBase + k);
            }
            p += 2;
            continue;
        }
        // CR, where CR LF is the line break.
        if (end - p >= 2 && p[1] == '\n') {
            *out++ = u'\n';
            p += 2;
        } else {
            *out++ = char16_t(kStandInBase + '\r');
            ++p;
        }
    }
    result.truncate(out - first);
    return result;
}

Cp932::Encoded encodeText(QStringView text, const Cp932::Alternates* alternates, Breaks breaks)
{
    const Tables& t = tables();
    const uint32_t* table = t.encode.data();

    DocumentCodes documentCodes(t);
    if (alternates && !alternates->isEmpty())
        documentCodes.load(*alternates);

    Cp932::Encoded result;
    // Every character gives at most two bytes (CR LF for '\n' included).
    result.bytes.resize(text.size() * 2);
    char* const first = result.bytes.data();
    char* out = first;
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    for (const char16_t* p = begin; p < end; ++p) {
        const uint32_t e = table[*p];
        if (!(e & (kDup | kBreak))) {
            if (e & kTwo) {
                out[0] = char(e >> 8);
                out[1] = char(e);
                out += 2;
                continue;
            }
            if (!e) {
                result.bytes.clear();
                result.failedAt = p - begin;
                return result;
            }
            *out++ = char(e);
            continue;
        }
        if (e & kBreak) {
            switch (breaks) {
            case Breaks::CrLf:
                *out++ = '\r';
                *out++ = '\n';
                break;
            case Breaks::Cr:
                *out++ = '\r';
                break;
            case Breaks::Lf:
            case Breaks::Raw:
                *out++ = '\n';
                break;
            }
            continue;
        }
        uint16_t code = uint16_t(e);
        if (e & kDup) {
            const uint32_t id = e >> kDupShift;
            const Duplicate& dup = t.duplicates[id];
            const unsigned selector = p + 1 < end ? unsigned(p[1] - kSelectorBase) : ~0u;
            if (selector < unsigned(dup.count)) {
                code = dup.codes[selector];
                ++p;
            } else {
                const int8_t recorded = documentCodes.at(id);
                if (recorded > 0)
                    code = dup.codes[recorded];
            }
        }
        if (code > 0xFF)
            *out++ = char(code >> 8);
        *out++ = char(code);
    }
    result.bytes.truncate(out - first);
    return result;
}

Breaks breaksOf(TextSpelling::LineBreak lineBreak)
{
    switch (lineBreak) {
    case TextSpelling::LineBreak::Lf:
        return Breaks::Lf;
    case TextSpelling::LineBreak::Cr:
        return Breaks::Cr;
    case TextSpelling::LineBreak::CrLf:
        break;
    }
    return Breaks::CrLf;
}

constexpr char16_t kDocumentStandIn = 0xFFFC;   // OBJECT REPLACEMENT CHARACTER

QString decodeDocument(QByteArrayView bytes, Breaks breaks, CodeMarks& marks)
{
    const Tables& t = tables();
    const std::array<uint32_t, 256> adjusted = singleTable(t, breaks);
    const uint32_t* single = adjusted.data();
    const uint32_t* pair = t.pair.data();

    QString result(bytes.size(), Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(result.data());
    char16_t* out = first;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = p + bytes.size();
    while (p < end) {
        const uint32_t s = single[*p];
        if ((s & (kChar | kRaw)) == kChar) {
            *out++ = char16_t(s);
            ++p;
            continue;
        }
        if (s & kLead) {
            const uint32_t d = end - p >= 2 ? pair[p[0] << 8 | p[1]] : 0;
            if (d) {
                if ((d & kDup) && ((d >> kIndexShift) & 3) != 0)
                    marks.append({out - first, quint16(p[0] << 8 | p[1])});
                *out++ = char16_t(d);
                p += 2;
                continue;
            }
        } else if (!(s & kChar) && end - p >= 2 && p[1] == '\n') {
            *out++ = u'\n';   // CR LF, where that is the line break
            p += 2;
            continue;
        }
        marks.append({out - first, quint16(*p)});
        *out++ = kDocumentStandIn;
        ++p;
    }
    result.truncate(out - first);
    return result;
}

} // namespace

EncodedText encodeCp932File(QStringView text, const CodeMarks& marks, TextSpelling::LineBreak spelledBreak)
{
    const Tables& t = tables();
    const uint32_t* const table = t.documentEncode.data();
    const Breaks breaks = breaksOf(spelledBreak);
    const char lineBreak = breaks == Breaks::Cr ? '\r' : '\n';

    EncodedText result;
    // Every character gives at most two bytes (CR LF for '\n' included).
    result.bytes.resize(text.size() * 2);
    char* out = result.bytes.data();
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    const auto fail = [&](EncodedText::Failure failure, qsizetype at) {
        result.bytes.clear();
        result.failure = failure;
        result.failedAt = at;
        return result;
    };
    // Standard codes from p up to stop; where a character has none.
    const auto encodeRun = [&](const char16_t* p, const char16_t* stop) -> const char16_t* {
        for (; p < stop; ++p) {
            const uint32_t e = table[*p];
            if (e & kTwo) {
                out[0] = char(e >> 8);
                out[1] = char(e);
                out += 2;
            } else if (e & kBreak) {
                if (breaks == Breaks::CrLf)
                    *out++ = '\r';
                *out++ = lineBreak;
            } else if (e) {
                *out++ = char(e);
            } else {
                return p;
            }
        }
        return nullptr;
    };

    bool raw = false;
    const char16_t* p = begin;
    qsizetype next = 0;
    while (p < end) {
        while (next < marks.size() && marks[next].position < p - begin)
            ++next;
        const char16_t* const stop = next < marks.size() && marks[next].position < text.size()
            ? begin + marks[next].position : end;
        if (const char16_t* failed = encodeRun(p, stop))
            return fail(EncodedText::Failure::NoCode, failed - begin);
        p = stop;
        if (p == end)
            break;
        const quint16 code = marks[next++].code;
        if (*p == kDocumentStandIn && code <= 0xFF) {
            *out++ = char(code);
            raw = true;
            ++p;
            continue;
        }
        const uint32_t e = t.encode[*p];
        if (e & kDup) {
            const Duplicate& dup = t.duplicates[e >> kDupShift];
            if (std::find(dup.codes.begin() + 1, dup.codes.begin() + dup.count, code) != dup.codes.begin() + dup.count) {
                *out++ = char(code >> 8);
                *out++ = char(code);
                ++p;
                continue;
            }
        }
        // A mark that does not belong to this character.
        if (const char16_t* failed = encodeRun(p, p + 1))
            return fail(EncodedText::Failure::NoCode, failed - begin);
        ++p;
    }
    result.bytes.truncate(out - result.bytes.data());

    // Only a raw byte can join its neighbours into another character (or
    // a stray CR and LF into a line break): such a file is read again here
    // and must give the same text.
    if (raw) {
        // Read as Open reads it: the line-break kind found again, since a
        // raw CR or LF can change which kind the file seems to use.
        CodeMarks reread;
        const QString again = decodeDocument(result.bytes, breaksOf(dominantLineBreak(result.bytes)), reread);
        // A JIS form reads back as the code page's character of its code.
        const auto same = [](QChar mine, QChar theirs) { return Cp932::codePageForm(mine) == theirs; };
        const auto [mine, theirs] = std::mismatch(text.begin(), text.end(), again.begin(), again.end(), same);
        if (mine != text.end() || theirs != again.end())
            return fail(EncodedText::Failure::Merges, std::min<qsizetype>(mine - text.begin(), text.size() - 1));
    }
    return result;
}

TextSpelling::LineBreak dominantLineBreak(QByteArrayView bytes)
{
    // One branch-free pass, in blocks small enough for 32-bit counters, so
    // the compiler can vectorise it.
    const uchar* const data = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype lfs = 0;
    qsizetype crs = 0;
    qsizetype crlfs = 0;
    constexpr qsizetype kBlock = 1 << 20;
    for (qsizetype start = 0; start < size; start += kBlock) {
        const qsizetype stop = std::min(size, start + kBlock);
        uint32_t lf = 0;
        uint32_t cr = 0;
        uint32_t crlf = 0;
        for (qsizetype i = start; i < stop; ++i) {
            lf += data[i] == '\n';
            cr += data[i] == '\r';
        }
        // CR LF can straddle the block end; the pair is counted where the CR is.
        const qsizetype pairStop = std::min(stop, size - 1);
        for (qsizetype i = start; i < pairStop; ++i)
            crlf += (data[i] == '\r') & (data[i + 1] == '\n');
        lfs += lf;
        crs += cr;
        crlfs += crlf;
    }
    const qsizetype loneLfs = lfs - crlfs;
    const qsizetype loneCrs = crs - crlfs;
    if (crlfs >= loneLfs && crlfs >= loneCrs)
        return TextSpelling::LineBreak::CrLf;
    return loneLfs >= loneCrs ? TextSpelling::LineBreak::Lf : TextSpelling::LineBreak::Cr;
}

QString Cp932::decode(QByteArrayView bytes, Alternates* alternates)
{
    return decodeBytes(bytes, alternates, Breaks::Raw);
}

Cp932::Encoded Cp932::encode(QStringView text, const Alternates* alternates)
{
    return encodeText(text, alternates, Breaks::Raw);
}

bool Cp932::isStandIn(QChar c)
{
    const char16_t u = c.unicode();
    return u >= kStandInBase && u <= kStandInBase + 0xFF && tables().encode[u] != 0;
}

QChar Cp932::standInFor(uchar byte)
{
    const char16_t c = char16_t(kStandInBase + byte);
    return tables().encode[c] ? QChar(c) : QChar();
}

QChar Cp932::codePageForm(QChar c)
{
    const Tables& t = tables();
    const uint32_t e = t.encode[c.unicode()];
    return (e & kJisForm) ? QChar(char16_t(t.pair[e & 0xFFFF])) : c;
}

DecodedText decodeCp932File(QByteArrayView bytes, TextSpelling::LineBreak lineBreak)
{
    DecodedText result;
    result.spelling.lineBreak = lineBreak;
    result.text = decodeDocument(bytes, breaksOf(lineBreak), result.marks);
    return result;
}

} // namespace pel
