#pragma once
// Windows bitmaps (BMP files and the packed DIBs inside metafiles and icons)
// read as Windows reads them: every header size (core 12, OS/2 16–64, info
// 40, 52, 56, V4 108, V5 124), palettes of 1, 2, 4 and 8 bits, 16/24/32-bit
// pixels with any bit-field masks, RLE4, RLE8 and OS/2 RLE24. Alpha is not
// used: a bitmap is drawn as its colours, as the screen shows a DIB.
#include <QByteArrayView>
#include <QImage>

namespace pel {

struct BitmapDecode {
    enum Status {
        Ok,
        // The pixel data ends early; what it holds is in `image`, the rest white.
        Damaged,
        Invalid,
        // Larger than the picture limits; `width` × `height` says how large.
        TooLarge,
        // A well-formed file in a compression we do not read (OS/2 Huffman).
        Unsupported,
    };
    Status status = Invalid;
    QImage image;  // Format_RGB32
    qint64 width = 0;
    qint64 height = 0;
    quint32 compression = 0;
};

// A BMP file ("BM", file header, DIB).
BitmapDecode decodeBmpFile(QByteArrayView file);
// A DIB whose header and colour table are `info` and whose pixels are `bits`
// (EMF records keep them apart).
BitmapDecode decodeDib(QByteArrayView info, QByteArrayView bits);
// A packed DIB: header, colour table and pixels one after the other.
BitmapDecode decodePackedDib(QByteArrayView dib);

} // namespace pel
