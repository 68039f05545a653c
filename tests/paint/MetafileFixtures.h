#pragma once
// Small WMF and EMF files built byte by byte, for the picture tests and the
// fuzz corpus.
#include <QByteArray>
#include <QtEndian>
#include <initializer_list>

namespace pel::test {

class Bytes {
public:
    Bytes& u16(quint32 v) { char b[2]; qToLittleEndian<quint16>(quint16(v), b); data.append(b, 2); return *this; }
    Bytes& u32(quint32 v) { char b[4]; qToLittleEndian<quint32>(v, b); data.append(b, 4); return *this; }
    Bytes& i16s(std::initializer_list<int> values) { for (int v : values) u16(quint32(v) & 0xFFFF); return *this; }
    Bytes& i32s(std::initializer_list<int> values) { for (int v : values) u32(quint32(v)); return *this; }
    QByteArray data;
};

// A WMF record: size in 16-bit words, function, parameters.
inline QByteArray wmfRecord(quint16 function, const QByteArray& params)
{
    Bytes r;
    r.u32(quint32(3 + params.size() / 2)).u16(function);
    r.data.append(params);
    return r.data;
}

// A placeable WMF of `width` × `height` (96 units an inch) holding `records`
// (an end record is added).
inline QByteArray wmfFile(int width, int height, const QByteArray& records, int objects = 4)
{
    Bytes placeable;
    placeable.u32(0x9AC6CDD7).u16(0).i16s({0, 0, width, height}).u16(96).u32(0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<quint16>(placeable.data.constData() + i);
    placeable.u16(checksum);
    const QByteArray body = records + wmfRecord(0x0000, {});
    Bytes header;
    header.u16(1).u16(9).u16(0x0300).u32(quint32(9 + body.size() / 2)).u16(quint16(objects)).u32(0).u16(0);
    return placeable.data + header.data + body;
}

inline QByteArray wmfSolidBrush(quint32 colorRef)
{
    return wmfRecord(0x02FC, Bytes().u16(0).u32(colorRef).u16(0).data);
}
inline QByteArray wmfNullPen() { return wmfRecord(0x02FA, Bytes().u16(5).i16s({0, 0}).u32(0).data); }
inline QByteArray wmfSelect(int index) { return wmfRecord(0x012D, Bytes().u16(quint32(index)).data); }
inline QByteArray wmfRectangle(int left, int top, int right, int bottom)
{
    return wmfRecord(0x041B, Bytes().i16s({bottom, right, top, left}).data);
}

inline QByteArray emfRecord(quint32 type, const QByteArray& params)
{
    Bytes r;
    r.u32(type).u32(quint32(8 + params.size()));
    r.data.append(params);
    return r.data;
}

// An EMF whose frame is `frameRight` × `frameBottom` hundredths of a
// millimetre, made on a reference device of `devicePixels` over
// `deviceMillimetres`, holding `records` (an end record is added).
inline QByteArray emfFileOn(int frameRight, int frameBottom, int deviceWidth, int deviceHeight, int deviceMmWidth,
                            int deviceMmHeight, const QByteArray& records)
{
    const QByteArray end = emfRecord(14, Bytes().u32(0).u32(16).u32(20).data);
    Bytes h;
    h.u32(1).u32(108);
    h.i32s({0, 0, frameRight * deviceWidth / (deviceMmWidth * 100) - 1,
            frameBottom * deviceHeight / (deviceMmHeight * 100) - 1});
    h.i32s({0, 0, frameRight, frameBottom});
    h.u32(0x464D4520).u32(0x10000);
    h.u32(quint32(108 + records.size() + end.size()));
    h.u32(3).u16(8).u16(0).u32(0).u32(0).u32(0);
    h.i32s({deviceWidth, deviceHeight, deviceMmWidth, deviceMmHeight});
    h.u32(0).u32(0).u32(0).i32s({deviceMmWidth * 1000, deviceMmHeight * 1000});
    return h.data + records + end;
}

// An EMF of `width` × `height` screen pixels holding `records` (an end record
// is added). The reference device is 96 dots an inch.
inline QByteArray emfFile(int width, int height, const QByteArray& records)
{
    const QByteArray end = emfRecord(14, Bytes().u32(0).u32(16).u32(20).data);
    Bytes h;
    const int frameRight = (width * 2540 + 48) / 96;
    const int frameBottom = (height * 2540 + 48) / 96;
    h.u32(1).u32(108);
    h.i32s({0, 0, width - 1, height - 1});
    h.i32s({0, 0, frameRight, frameBottom});
    h.u32(0x464D4520).u32(0x10000);
    h.u32(quint32(108 + records.size() + end.size()));
    h.u32(3).u16(8).u16(0).u32(0).u32(0).u32(0);
    h.i32s({1920, 1080, 508, 286});
    h.u32(0).u32(0).u32(0).i32s({508000, 285750});
    return h.data + records + end;
}

inline QByteArray emfSolidBrush(int index, quint32 colorRef)
{
    return emfRecord(39, Bytes().u32(quint32(index)).u32(0).u32(colorRef).u32(0).data);
}
inline QByteArray emfNullPen(int index)
{
    return emfRecord(38, Bytes().u32(quint32(index)).u32(5).i32s({0, 0}).u32(0).data);
}
inline QByteArray emfSelect(int index) { return emfRecord(37, Bytes().u32(quint32(index)).data); }
inline QByteArray emfRectangle(int left, int top, int right, int bottom)
{
    return emfRecord(43, Bytes().i32s({left, top, right, bottom}).data);
}
inline QByteArray emfEllipse(int left, int top, int right, int bottom)
{
    return emfRecord(42, Bytes().i32s({left, top, right, bottom}).data);
}

} // namespace pel::test
