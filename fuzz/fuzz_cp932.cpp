// Any bytes must come back unchanged through the codec, raw and as a
// document file, with and without the document's record of duplicate codes.
#include "platform/Cp932.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "cp932 round trip failed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    const pel::Cp932::Encoded plain = pel::Cp932::encode(pel::Cp932::decode(bytes));
    check(plain.ok() && plain.bytes == bytes, "decode/encode without a record");

    pel::Cp932::Alternates record;
    const QString text = pel::Cp932::decode(bytes, &record);
    check(text.size() <= bytes.size(), "more characters than bytes");
    const pel::Cp932::Encoded recorded = pel::Cp932::encode(text, &record);
    check(recorded.ok() && recorded.bytes == bytes, "decode/encode with a record");

    const pel::DecodedText file = pel::decodeTextFile(bytes);
    check(!file.text.contains(u'\r') && !file.text.contains(QChar(0)), "CR or NUL left in the editor's text");
    check(file.marks.size() <= file.text.size(), "more marks than characters");
    const pel::EncodedText saved = pel::encodeTextFile(file.text, file.marks, file.spelling);
    check(saved.ok() && saved.bytes == bytes, "document file");
    return 0;
}
