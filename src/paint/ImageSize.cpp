#include "paint/ImageSize.h"

#include "platform/Hints.h"
#include "platform/UpDown.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm10* Form10 = nullptr;

namespace {

const pel::NumberDialog::Shape kShape{
    "TForm10", "画像の移動", {298, 246}, 24, 120, 50,
    {{"左右方向へ移動", "－は、左へ　＋は右へそれぞれ移動します", 8, -200, 600, 0},
     {"上下方向へ移動", "－は上へ　＋は下へそれぞれ移動します", 32, -200, 800, 0}},
    {192, 8, 30, 20}, nullptr, false};

} // namespace

TForm10::TForm10(pel::PaintFormPort& paint, QWidget* parent)
    : NumberDialog(kShape, paint, parent)
{
    pel::setHint(Label1, QStringLiteral("|-は左へ　＋は右へそれぞれ移動します"));
    pel::setHint(Label2, QStringLiteral("|-は上へ　＋は下へそれぞれ移動します"));

    Label3 = addLabel("Label3",
                      QStringLiteral("説明　:　左と上方向への移動は数字の頭にマイナス記号を付けてください。"
                                     "定位置に設定してある図形は、数字を変えなければ移動しません。"
                                     "　右と下方向へはプラスなので記号を付ける必要はありません。"),
                      24, 56);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The explanation is longer than its 192 x 72 area holds in most fonts:
    // widen it within the dialog first, then make room below it.
    int explanationWidth = 192;
    while (Label3->heightForWidth(explanationWidth) > 84 && explanationWidth < 298 - 24 - 8)
        explanationWidth += 8;
    const int explanationHeight = qMax(72, Label3->heightForWidth(explanationWidth));
    Label3->setFixedSize(explanationWidth, explanationHeight);
    const int shift = qMax(0, 56 + explanationHeight + 4 - 144);

    Label4 = addLabel("Label4", QStringLiteral("定位置図形のサイズ変更　　　　　　　　　　"), 24, 144);
    QFont big = font();
    big.setPixelSize(15);
    Label4->setFont(big);
    QPalette red = Label4->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label4->setPalette(red);
    Label4->adjustSize();
    Label5 = addLabel("Label5", QStringLiteral("拡大はプラス縮小はマイナス"), 24, 160);
    Label5->setFont(big);
    Label5->adjustSize();

    Edit3 = addNumberBox("Edit3", "UpDown3", 80, 184, 89, -10, 50, 0, &UpDown3);
    pel::setHint(UpDown3, QStringLiteral("正三角形を拡大／縮小"));
    Button2 = addButton("Button2", QStringLiteral("&GO"), {192, 184, 30, 20});

    Label6 = addLabel("Label6", QStringLiteral("定位置図形の拡大／縮小は、変形します。"), 24, 216);
    Label6->setFixedWidth(qMax(220, Label6->sizeHint().width()));
    if (shift > 0) {
        for (QWidget* below : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label5),
                               static_cast<QWidget*>(Edit3), static_cast<QWidget*>(UpDown3),
                               static_cast<QWidget*>(Button2), static_cast<QWidget*>(Label6)})
            below->move(below->x(), below->y() + shift);
        setFixedHeight(height() + shift);
    }
    if (Label6->geometry().right() + 8 > width())
        setFixedWidth(Label6->geometry().right() + 8);

    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
    connect(this, &NumberDialog::valuesChanged, this, [this] { Q_EMIT figureOffsetChanged(figureOffset()); });
}

pel::FigureOffset TForm10::figureOffset() const
{
    return {UpDown1->position(), UpDown2->position(), UpDown3->position()};
}

void TForm10::Button2Click()
{
    accept();
}
