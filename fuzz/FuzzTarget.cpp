// One libFuzzer target: PEL_FUZZ_TARGET is its name, PEL_FUZZ_CHECK the
// check (FuzzChecks.h) every input goes through; a failed check aborts with
// what went wrong.
#include "FuzzChecks.h"

#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    static QGuiApplication app(*argc, *argv);  // fonts for metafile text, screens for window bounds
    // The settings target writes the user's settings files: never the real ones.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString failure = PEL_FUZZ_CHECK(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", PEL_FUZZ_TARGET, qPrintable(failure));
        std::abort();
    }
    return 0;
}
