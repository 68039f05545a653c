#include "paint/PelFont.h"

#include "paint/PaintFormPort.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/UpDown.h"

TForm8* Form8 = nullptr;

namespace {

// Esc presses OK.
const pel::NumberDialog::Shape kShape{
    "TForm8", "Fontの位置", {225, 63}, 16, 96, 40,
    {{"左右の位置", "左のいちを設定します｡", 8, 0, 800, 5}, {"上下の位置", "上の位置を設定します", 32, 0, 600, 5}},
    {176, 8, 30, 25}, "文字設定|文字に関しての設定の後、絵画します｡", true};

} // namespace

TForm8::TForm8(pel::PaintFormPort& paint, QWidget* parent)
    : NumberDialog(kShape, paint, parent)
{
    connect(this, &NumberDialog::valuesChanged, this, [this] { Q_EMIT textPositionChanged(textPosition()); });
}

QPoint TForm8::textPosition() const
{
    return QPoint(UpDown1->position(), UpDown2->position());
}

void TForm8::Button1Click()
{
    if (const auto font = pel::dialogs().chooseFont(this, paint().fontDialogFont())) {
        paint().setFontDialogFont(*font);
        accept();
    }
}
