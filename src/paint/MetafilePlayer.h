#pragma once
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

namespace pel {

// Plays Windows metafiles (WMF, with or without the placeable header) and
// enhanced metafiles (EMF) with QPainter. Every record is checked against
// its own size and the end of the file before a field is read; records we
// do not draw are skipped. A file whose record chain is broken is refused
// as a whole.
class MetafilePlayer {
public:
    enum class Format { Wmf, Emf };

    // Playback stops after this many records or this long, whatever the file
    // holds, so no file can keep the program busy.
    static constexpr int kMaxRecords = 500000;
    static constexpr int kMaxMilliseconds = 3000;

    MetafilePlayer(const QByteArray& bytes, Format format);

    bool isValid() const { return valid_; }
    QString errorMessage() const { return error_; }
    // Said after the opening message when part of the file cannot be shown.
    QString notice() const { return notice_; }
    // The picture's own size in screen pixels (96 dots an inch).
    QSize size() const { return size_; }
    // The metafile drawn over white into an image of `size`.
    QImage render(QSize size) const;

private:
    bool readEmfHeader();
    bool readWmfHeader();
    bool checkEmfRecords();
    bool checkWmfRecords();

    QByteArray bytes_;
    Format format_;
    bool valid_ = false;
    QString error_;
    QSize size_;
    // The part of the metafile's coordinate space that maps onto the image:
    // reference-device pixels for EMF, logical units for WMF.
    QRectF frame_;
    // The EMF's reference device, in pixels and millimetres.
    QSizeF deviceSize_;
    QSizeF deviceMillimetres_;
    qsizetype firstRecord_ = 0;
    int wmfObjects_ = 0;
    bool emfPlusOnly_ = false;
    QString notice_;
};

} // namespace pel
