#include "paint/PelFont.h"

#include "paint/PaintDialogs.h"
#include "paint/PelPaint.h"
#include "platform/Dialogs.h"
#include "platform/Hints.h"
#include "platform/Services.h"
#include "platform/UpDown.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm8* Form8 = nullptr;

TForm8::TForm8(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Fontの位置"));
    pel::setupPaintDialog(this, 225, 63);

    Label1 = pel::addLabel(this, "Label1", QStringLiteral("左右の位置"), 16, 8);
    Label2 = pel::addLabel(this, "Label2", QStringLiteral("上下の位置"), 16, 32);
    Edit1 = pel::addNumberBox(this, "Edit1", "UpDown1", 96, 8, 40, 0, 800, 5, &UpDown1);
    Edit2 = pel::addNumberBox(this, "Edit2", "UpDown2", 96, 32, 40, 0, 600, 5, &UpDown2);
    pel::setHint(Edit1, QStringLiteral("左のいちを設定します｡"));
    pel::setHint(Edit2, QStringLiteral("上の位置を設定します"));
    Button1 = pel::addButton(this, "Button1", QStringLiteral("OK"), 176, 8, 30, 25);
    pel::setHint(Button1, QStringLiteral("文字設定|文字に関しての設定の後、絵画します｡"));
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
}

QPoint TForm8::textPosition() const
{
    return QPoint(UpDown1->position(), UpDown2->position());
}

void TForm8::Button1Click()
{
    if (!Form6)
        return;
    // The dialog stays open until a font is confirmed.
    if (const auto font = pel::dialogs().chooseFont(this, Form6->fontDialogFont())) {
        Form6->setFontDialogFont(*font);
        accept();
    }
}

void TForm8::reject()
{
    Button1Click();
}

void TForm8::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (Form6) {
        Form6->showStatus(pel::hintLongPart(pel::hintOf(Edit1)));
        Form6->showStatus(pel::hintLongPart(pel::hintOf(Edit2)));
    }
}
