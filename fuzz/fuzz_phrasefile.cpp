// A phrase file read, written and read again gives the same entries, and
// what is written is read back entry for entry.
#include "phrases/PhraseList.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "phrase file round trip failed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QByteArray> entries = pel::PhraseFile::parse(bytes);
    for (const QByteArray& entry : entries)
        check(!entry.contains('\r') && !entry.contains('\n') && !entry.contains('\0'), "break or NUL inside an entry");

    const QByteArray written = pel::PhraseFile::serialize(entries);
    check(pel::PhraseFile::parse(written) == entries, "parse/serialize/parse");
    check(pel::PhraseFile::serialize(pel::PhraseFile::parse(written)) == written, "serialize is stable");
    return 0;
}
