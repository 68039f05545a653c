#include "paint/PelSizepas.h"

#include "paint/PaintCanvas.h"
#include "paint/PaintFormPort.h"
#include "platform/UpDown.h"

#include <QPushButton>

TForm9* Form9 = nullptr;

namespace {

// Esc presses OK too: every way out makes the picture.
const pel::NumberDialog::Shape kShape{
    "TForm9", "画像のサイズ", {272, 73}, 24, 128, 30,
    {{"画像の高さサイズ", "画像の高さサイズを設定する", 16, -100, 600, 128},
     {"画像の横幅サイズ", "画像の横幅サイズを設定する", 40, -100, 800, 128}},
    {200, 16, 35, 20}, "サイズ設定|サイズ設定完了", true};

} // namespace

TForm9::TForm9(pel::PaintFormPort& paint, QWidget* parent)
    : NumberDialog(kShape, paint, parent)
{
    Button1->setDefault(true);
}

QSize TForm9::pictureSize() const
{
    // The up-downs go down to -100; a negative size makes an empty picture
    // rather than an invalid one.
    return QSize(qMax(0, UpDown2->position()), qMax(0, UpDown1->position()));
}

void TForm9::Button1Click()
{
    const QSize size = pictureSize();
    paint().replaceBitmap(pel::PaintCanvas::whiteBitmap(size.width(), size.height()));
    accept();
}
