#include "paint/PelSizepas.h"

#include "paint/PaintDialogs.h"
#include "paint/PelPaint.h"
#include "platform/Hints.h"
#include "platform/UpDown.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm9* Form9 = nullptr;

TForm9::TForm9(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("画像のサイズ"));
    pel::setupPaintDialog(this, 272, 73);

    Label1 = pel::addLabel(this, "Label1", QStringLiteral("画像の高さサイズ"), 24, 16);
    Label2 = pel::addLabel(this, "Label2", QStringLiteral("画像の横幅サイズ"), 24, 40);
    Edit1 = pel::addNumberBox(this, "Edit1", "UpDown1", 128, 16, 30, -100, 600, 128, &UpDown1);
    Edit2 = pel::addNumberBox(this, "Edit2", "UpDown2", 128, 40, 30, -100, 800, 128, &UpDown2);
    pel::setHint(Edit1, QStringLiteral("画像の高さサイズを設定する"));
    pel::setHint(Edit2, QStringLiteral("画像の横幅サイズを設定する"));
    Button1 = pel::addButton(this, "Button1", QStringLiteral("OK"), 200, 16, 35, 20);
    Button1->setDefault(true);
    pel::setHint(Button1, QStringLiteral("サイズ設定|サイズ設定完了"));
    connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
}

QSize TForm9::pictureSize() const
{
    // The up-downs go down to -100; a negative size makes an empty picture
    // rather than an invalid one.
    return QSize(qMax(0, UpDown2->position()), qMax(0, UpDown1->position()));
}

void TForm9::Button1Click()
{
    if (Form6) {
        const QSize size = pictureSize();
        Form6->replaceBitmap(pel::PaintCanvas::whiteBitmap(size.width(), size.height()));
    }
    accept();
}

void TForm9::reject()
{
    Button1Click();
}

void TForm9::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (Form6) {
        Form6->showStatus(pel::hintLongPart(pel::hintOf(Edit1)));
        Form6->showStatus(pel::hintLongPart(pel::hintOf(Edit2)));
    }
}
