#include "FuzzChecks.h"

namespace pel::fuzz {

const QList<Target>& targets()
{
    static const QList<Target> all = {
        {"bmp", checkBmp},   {"ico", checkIco},     {"jpeg", checkJpeg},           {"wmf", checkWmf},
        {"emf", checkEmf},   {"cp932", checkCp932}, {"encodings", checkEncodings}, {"phrasefile", checkPhraseFile},
        {"settings", checkSettings}, {"recovery", checkRecovery},
    };
    return all;
}

Check checkFor(QStringView name)
{
    for (const Target& target : targets()) {
        if (name == QLatin1String(target.name))
            return target.check;
    }
    return nullptr;
}

} // namespace pel::fuzz
