#include "paint/BitmapDecoder.h"

#include "paint/PictureFile.h"

#include <QList>

#include <algorithm>
#include <bit>
#include <limits>

namespace pel {

namespace {

constexpr quint32 kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr quint32 kOs2Huffman = 3, kOs2Rle24 = 4;
const QRgb kWhite = qRgb(255, 255, 255);

// Little-endian reads that give 0 past the end.
struct Reader {
    QByteArrayView data;
    quint32 u8(qint64 at) const { return at >= 0 && at < data.size() ? quint8(data[at]) : 0; }
    quint32 u16(qint64 at) const { return u8(at) | u8(at + 1) << 8; }
    quint32 u32(qint64 at) const { return u16(at) | u16(at + 2) << 16; }
};

// One colour channel of a bit-field pixel: where it sits and how wide it is.
struct Channel {
    int shift = 0;
    int width = 0;
    explicit Channel(quint32 mask = 0)
    {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        // A mask with holes is read as the span from its lowest to its
        // highest bit.
        width = 32 - std::countl_zero(mask) - shift;
    }
    int value(quint32 pixel) const
    {
        if (width == 0)
            return 0;
        const quint64 max = (quint64(1) << width) - 1;
        const quint64 v = (quint64(pixel) >> shift) & max;
        return int((v * 255 + max / 2) / max);
    }
};

struct Header {
    quint32 size = 0;
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bits = 0;
    quint32 compression = kRgb;
    bool os2 = false;
    quint32 masks[3] = {0, 0, 0};
    qint64 tableOffset = 0;  // where the colour table starts, from the header's start
    qint64 tableEntries = 0;
    int entryBytes = 4;
};

bool windowsInfoSize(quint32 size) { return size == 40 || size == 52 || size == 56; }

// Reads the header and works out where the colour table lies; false when the
// header is not one Windows reads.
bool readHeader(const Reader& r, Header& h)
{
    h.size = r.u32(0);
    if (r.data.size() < 4 || h.size > quint32(r.data.size()))
        return false;
    if (h.size == 12) {
        // The core header's fields are unsigned 16-bit words: no top-down rows.
        h.width = r.u16(4);
        h.height = r.u16(6);
        h.bits = int(r.u16(10));
        h.entryBytes = 3;
        h.tableOffset = 12;
    } else if ((h.size >= 16 && h.size <= 64) || h.size == 108 || h.size == 124) {
        // OS/2 2.x headers are the info header cut anywhere after the bit
        // count; the fields they leave out are zero.
        const auto field = [&](qint64 at) { return at + 4 <= h.size ? r.u32(at) : 0; };
        h.width = qint32(r.u32(4));
        const qint32 height = qint32(r.u32(8));
        if (height == std::numeric_limits<qint32>::min())
            return false;
        h.topDown = height < 0;
        h.height = std::abs(qint64(height));
        h.bits = int(r.u16(14));
        h.compression = field(16);
        h.os2 = h.size <= 64 && !windowsInfoSize(h.size);
        h.tableOffset = h.size;
        const bool fields = !h.os2 && (h.compression == kBitFields || h.compression == kAlphaBitFields);
        if (fields) {
            if (h.size == 40) {
                // The masks follow the header.
                for (int i = 0; i < 3; ++i)
                    h.masks[i] = r.u32(40 + 4 * i);
                h.tableOffset += h.compression == kAlphaBitFields ? 16 : 12;
            } else {
                for (int i = 0; i < 3; ++i)
                    h.masks[i] = r.u32(40 + 4 * i);
            }
        }
        const quint32 used = field(32);
        if (used != 0)
            h.tableEntries = used;
    } else {
        return false;
    }
    if (h.bits <= 8 && h.tableEntries == 0)
        h.tableEntries = qint64(1) << h.bits;
    if (h.tableEntries > 65536)
        return false;
    if (h.compression == kRgb) {
        if (h.bits == 16) {
            h.masks[0] = 0x7C00; h.masks[1] = 0x03E0; h.masks[2] = 0x001F;
        } else if (h.bits == 32) {
            h.masks[0] = 0xFF0000; h.masks[1] = 0xFF00; h.masks[2] = 0xFF;
        }
    }
    return true;
}

bool depthFits(const Header& h)
{
    switch (h.compression) {
    case kRgb:
        return h.bits == 1 || h.bits == 2 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24
            || h.bits == 32;
    case kRle8:
        return h.bits == 8;
    case kRle4:
        return h.bits == 4;
    case kBitFields:
        if (h.os2)
            return true;  // OS/2 Huffman: refused as unsupported below
        return h.bits == 16 || h.bits == 32;
    case kAlphaBitFields:
        return !h.os2 && (h.bits == 16 || h.bits == 32);
    case kOs2Rle24:
        return h.os2 ? h.bits == 24 : true;  // BI_JPEG: unsupported below
    default:
        return true;  // BI_PNG and the rest: unsupported below
    }
}

QList<QRgb> colourTable(const Reader& r, const Header& h)
{
    QList<QRgb> table;
    if (h.bits > 8)
        return table;
    const qint64 room = std::max<qint64>(0, (r.data.size() - h.tableOffset) / h.entryBytes);
    const qint64 count = std::min({h.tableEntries, room, qint64(1) << h.bits});
    table.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = h.tableOffset + i * h.entryBytes;
        table << qRgb(int(r.u8(at + 2)), int(r.u8(at + 1)), int(r.u8(at)));
    }
    return table;
}

class Pixels {
public:
    Pixels(QImage& image, const Header& h) : image_(image), h_(h) {}
    // `row` counts in file order.
    QRgb* line(qint64 row)
    {
        const qint64 y = h_.topDown ? row : h_.height - 1 - row;
        return reinterpret_cast<QRgb*>(image_.scanLine(int(y)));
    }
    void whiten(qint64 row, qint64 fromX)
    {
        for (; row < h_.height; ++row, fromX = 0) {
            QRgb* l = line(row);
            std::fill(l + std::min(fromX, h_.width), l + h_.width, kWhite);
        }
    }

private:
    QImage& image_;
    const Header& h_;
};

QRgb indexed(const QList<QRgb>& table, quint32 index)
{
    // An index past the table is black.
    return index < quint32(table.size()) ? table[index] : qRgb(0, 0, 0);
}

// Uncompressed rows; false when the data ends before the last row.
bool readRows(QByteArrayView bits, const Header& h, const QList<QRgb>& table, Pixels& out)
{
    const qint64 rowBytes = (h.width * h.bits + 31) / 32 * 4;
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    const auto* data = reinterpret_cast<const uchar*>(bits.data());
    for (qint64 row = 0; row < h.height; ++row) {
        const qint64 start = row * rowBytes;
        const qint64 held = std::clamp<qint64>(bits.size() - start, 0, rowBytes);
        // Pixels wholly inside the data this row has.
        const qint64 count = std::min(h.width, held * 8 / h.bits);
        const uchar* p = data + start;
        QRgb* l = out.line(row);
        for (qint64 x = 0; x < count; ++x) {
            switch (h.bits) {
            case 1: case 2: case 4: case 8: {
                const qint64 bit = x * h.bits;
                const int shift = 8 - h.bits - int(bit % 8);
                l[x] = indexed(table, (p[bit / 8] >> shift) & ((1u << h.bits) - 1));
                break;
            }
            case 16: {
                const quint32 v = p[2 * x] | quint32(p[2 * x + 1]) << 8;
                l[x] = qRgb(red.value(v), green.value(v), blue.value(v));
                break;
            }
            case 24:
                l[x] = qRgb(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
                break;
            default: {
                const quint32 v = p[4 * x] | quint32(p[4 * x + 1]) << 8 | quint32(p[4 * x + 2]) << 16
                    | quint32(p[4 * x + 3]) << 24;
                l[x] = qRgb(red.value(v), green.value(v), blue.value(v));
                break;
            }
            }
        }
        if (count < h.width) {
            out.whiten(row, count);
            return false;
        }
    }
    return true;
}

// Run-length rows (RLE8, RLE4, OS/2 RLE24). Pixels the runs skip keep the
// first colour of the table (black for RLE24); a file that ends before its
// end-of-bitmap mark shows white from where its data stops. False then.
bool readRuns(QByteArrayView bits, const Header& h, const QList<QRgb>& table, QImage& image, Pixels& out)
{
    image.fill(table.isEmpty() ? qRgb(0, 0, 0) : table[0]);
    const Reader r{bits};
    qint64 at = 0, x = 0, row = 0;
    const qint64 size = bits.size();
    // `count` pixels from x on; those past the row's end cost nothing, so
    // runs far beyond it cannot keep the decoder busy.
    const auto run = [&](quint32 count, const auto& colourAt) {
        const qint64 shown = std::clamp<qint64>(h.width - x, 0, count);
        QRgb* l = out.line(row);
        for (qint64 i = 0; i < shown; ++i)
            l[x + i] = colourAt(quint32(i));
        x += count;
    };
    const auto rgb24 = [&](qint64 p) { return qRgb(int(r.u8(p + 2)), int(r.u8(p + 1)), int(r.u8(p))); };
    while (row < h.height) {
        if (at + 2 > size)
            break;
        const quint32 count = r.u8(at), value = r.u8(at + 1);
        if (count > 0) {
            if (h.compression == kOs2Rle24) {
                if (at + 4 > size)
                    break;
                const QRgb c = rgb24(at + 1);
                run(count, [c](quint32) { return c; });
                at += 4;
                continue;
            }
            const QRgb high = indexed(table, h.compression == kRle8 ? value : value >> 4);
            const QRgb low = indexed(table, h.compression == kRle8 ? value : value & 15);
            run(count, [high, low](quint32 i) { return i % 2 == 0 ? high : low; });
            at += 2;
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
            at += 2;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // delta
            if (at + 4 > size)
                break;
            x += r.u8(at + 2);
            row += r.u8(at + 3);
            at += 4;
        } else {  // a run of literal pixels, padded to a whole word
            qint64 bytes = h.compression == kRle8 ? value : h.compression == kRle4 ? (value + 1) / 2 : value * 3;
            bytes += bytes % 2;
            if (at + 2 + bytes > size)
                break;
            const qint64 p = at + 2;
            run(value, [&](quint32 i) {
                if (h.compression == kRle8)
                    return indexed(table, r.u8(p + i));
                if (h.compression == kRle4)
                    return indexed(table, i % 2 == 0 ? r.u8(p + i / 2) >> 4 : r.u8(p + i / 2) & 15);
                return rgb24(p + 3 * qint64(i));
            });
            at += 2 + bytes;
        }
    }
    if (row >= h.height || (row == h.height - 1 && x >= h.width))
        return true;
    out.whiten(row, x);
    return false;
}

BitmapDecode decode(const Header& h, QByteArrayView info, QByteArrayView bits)
{
    BitmapDecode result;
    result.compression = h.compression;
    result.width = h.width;
    result.height = h.height;
    if (h.width <= 0 || h.height <= 0 || !depthFits(h))
        return result;
    if ((h.os2 && h.compression == kOs2Huffman) || (!h.os2 && h.compression == 4) || h.compression == 5
        || h.compression > kAlphaBitFields) {
        result.status = BitmapDecode::Unsupported;
        return result;
    }
    if (h.width > kMaxPictureSide || h.height > kMaxPictureSide || h.width * h.height > kMaxPicturePixels) {
        result.status = BitmapDecode::TooLarge;
        return result;
    }
    QImage image(int(h.width), int(h.height), QImage::Format_RGB32);
    if (image.isNull())
        return result;
    const QList<QRgb> table = colourTable(Reader{info}, h);
    Pixels out(image, h);
    const bool whole = h.compression == kRle8 || h.compression == kRle4 || (h.os2 && h.compression == kOs2Rle24)
        ? readRuns(bits, h, table, image, out)
        : readRows(bits, h, table, out);
    result.status = whole ? BitmapDecode::Ok : BitmapDecode::Damaged;
    result.image = image;
    return result;
}

} // namespace

BitmapDecode decodeDib(QByteArrayView info, QByteArrayView bits)
{
    Header h;
    if (!readHeader(Reader{info}, h))
        return {};
    return decode(h, info, bits);
}

BitmapDecode decodePackedDib(QByteArrayView dib)
{
    Header h;
    if (!readHeader(Reader{dib}, h))
        return {};
    const qint64 pixels = h.tableOffset + h.tableEntries * h.entryBytes;
    if (pixels > dib.size())
        return {};
    return decode(h, dib.first(pixels), dib.sliced(pixels));
}

BitmapDecode decodeBmpFile(QByteArrayView file)
{
    if (file.size() < 18 || file[0] != 'B' || file[1] != 'M')
        return {};
    const Reader r{file};
    const qint64 offset = r.u32(10);
    const QByteArrayView dib = file.sliced(14);
    Header h;
    if (!readHeader(Reader{dib}, h))
        return {};
    // The file header says where the pixels start; the colour table ends
    // there at the latest.
    if (offset < 14 + h.size || offset > file.size())
        return {};
    return decode(h, file.sliced(14, offset - 14), file.sliced(offset));
}

} // namespace pel
