// Picture decoders on arbitrary bytes: the first byte picks the decoder
// (BMP, JPEG, ICO, WMF, EMF), the rest is the file.
#include "paint/PictureFile.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // metafile text needs fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const pel::PictureKind kinds[] = {pel::PictureKind::Bitmap, pel::PictureKind::Jpeg, pel::PictureKind::Icon,
                                             pel::PictureKind::Metafile, pel::PictureKind::EnhancedMetafile};
    const pel::PictureKind kind = kinds[data[0] % 5];
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const pel::PictureResult result = pel::decodePicture(bytes, kind);
    if (result.picture) {
        // Playing a metafile again at another size must hold as well.
        const QImage again = result.picture->render(QSize(17, 13));
        if (again.size() != QSize(17, 13))
            std::abort();
    } else if (result.error.isEmpty()) {
        std::abort();  // a refusal always says why
    }
    return 0;
}
