#pragma once
#include <QFont>
#include <QImage>
#include <QString>

namespace pel {

// What the paint form's dialogs may do with the form: the narrow interface
// they get instead of the form itself.
class PaintFormPort {
public:
    // Panel 0 of the form's status bar.
    virtual void showStatus(const QString& text) = 0;
    // The font the text tool writes with.
    virtual QFont fontDialogFont() const = 0;
    virtual void setFontDialogFont(const QFont& font) = 0;
    // Makes `image` the form's new picture, with a fresh drawing state.
    virtual void replaceBitmap(const QImage& image) = 0;

protected:
    ~PaintFormPort() = default;
};

} // namespace pel
