#include "tools/PelTool.h"

#include "platform/ColorNames.h"
#include "platform/EditorPort.h"
#include "platform/Fonts.h"
#include "platform/Hints.h"
#include "tools/ClickableControls.h"
#include "tools/ColorCodes.h"
#include "tools/ToolWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

TForm4* Form4 = nullptr;

namespace {

struct ChannelRow {
    const char16_t* caption;  // what a click on the decimal field puts before the value
    const char16_t* hint;
};

const ChannelRow kChannels[3] = {
    {u"Red = ", u"赤の色番|クリックすると赤の色番を書き込みます"},
    {u"Green = ", u"緑の色番|クリックすると緑の色番を書き込みます"},
    {u"Blue = ", u"青の色番|クリックすると青の色番を書き込みます"},
};

ClickEdit* makeField(QWidget* parent, const QString& name, int width)
{
    auto* edit = new ClickEdit(parent);
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    return edit;
}

} // namespace

TForm4::TForm4(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setupToolWindow(this, QStringLiteral("TForm4"), QStringLiteral("ColorControl"),
                    QSize(417, 240), QPoint(332, 89), Qt::white);

    for (const ColorCodeLabel& row : colorCodeLabels()) {
        const QColor colour = row.drawnInWindowText ? pel::toQColor(pel::clWindowText) : QColor(row.drawnIn);
        auto* label = makeClickLabel(this, QString::fromUtf16(row.name), QString::fromUtf16(row.caption),
                                     pel::japaneseFont(row.pixelSize, true), colour, QString::fromUtf16(row.hint));
        const QString code = QString::fromUtf16(row.code);
        connect(label, &ClickLabel::clicked, this, [this, code] { editor_.ReplaceEditorSelection(code); });
        colorLabels_.append(label);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(2);

    auto* mixer = new QGridLayout;
    mixer->setHorizontalSpacing(6);
    mixer->setVerticalSpacing(2);
    for (int i = 0; i < 3; ++i) {
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setObjectName(QStringLiteral("ScrollBar%1").arg(i + 1));
        bar->setRange(0, 255);
        bar->setSingleStep(1);
        bar->setPageStep(16);
        bar->setValue(255);
        bars_[i] = bar;

        decimalFields_[i] = makeField(this, QStringLiteral("Edit%1").arg(i + 1), 40);
        decimalFields_[i]->setText(QString::number(bar->value()));
        pel::setHint(decimalFields_[i], QString::fromUtf16(kChannels[i].hint));
        hexFields_[i] = makeField(this, QStringLiteral("Edit%1").arg(i + 4), 30);
        hexFields_[i]->setText(channelHex(bar->value()));

        mixer->addWidget(colorLabels_[i], i, 0);
        mixer->addWidget(bar, i, 1);
        mixer->addWidget(decimalFields_[i], i, 2);
        mixer->addWidget(hexFields_[i], i, 3);

        connect(bar, &QScrollBar::valueChanged, this, [this, i] { ScrollBarChange(i); });
        const QString caption = QString::fromUtf16(kChannels[i].caption);
        ClickEdit* decimal = decimalFields_[i];
        connect(decimal, &ClickEdit::clicked, this,
                [this, caption, decimal] { editor_.ReplaceEditorSelection(caption + decimal->text()); });
        ClickEdit* hex = hexFields_[i];
        connect(hex, &ClickEdit::clicked, this, [this, hex] { editor_.ReplaceEditorSelection(hex->text()); });
    }
    // Only the red field shows its hint as a tool tip.
    decimalFields_[1]->setToolTip(QString());
    decimalFields_[2]->setToolTip(QString());
    mixer->setColumnStretch(1, 1);
    layout->addLayout(mixer);
    Edit1 = decimalFields_[0];
    Edit2 = decimalFields_[1];
    Edit3 = decimalFields_[2];
    Edit4 = hexFields_[0];
    Edit5 = hexFields_[1];
    Edit6 = hexFields_[2];
    ScrollBar1 = bars_[0];
    ScrollBar2 = bars_[1];
    ScrollBar3 = bars_[2];

    // Label4 to Label18 in three rows of five; each row spaces out on its own
    // so that the wide names fit.
    for (int first = 3; first < 18; first += 5) {
        auto* names = new QHBoxLayout;
        names->setSpacing(0);
        for (int i = first; i < first + 5; ++i) {
            names->addWidget(colorLabels_[i]);
            if (i < first + 4)
                names->addStretch(1);
        }
        layout->addLayout(names);
    }

    Label19 = new QLabel(
        QStringLiteral("スクロールバーの四角いボタンをドラッグさせて背景色を変えて下さい。　　　　　　文字色と背景色を　組み合わせて、　　好きな配色を作って下さい｡　　　　　　"),
        this);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setWordWrap(true);

    Button2 = new QPushButton(QStringLiteral("情報"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);
    pel::setHint(Button2, QStringLiteral("バージョン情報|バージョン情報を表示します"));
    Button1 = new QPushButton(QStringLiteral("終了"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);

    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    right->addWidget(colorLabels_[18], 0, Qt::AlignRight);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    right->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label19, 1);
    bottom->addLayout(right);
    layout->addLayout(bottom);

    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm4::Button2Click);
}

ClickLabel* TForm4::colorLabel(const QString& name) const
{
    for (ClickLabel* label : colorLabels_)
        if (label->objectName() == name)
            return label;
    return nullptr;
}

void TForm4::ScrollBarChange(int row)
{
    setPaletteColor(this, QPalette::Window, mixedColor(bars_[0]->value(), bars_[1]->value(), bars_[2]->value()));
    decimalFields_[row]->setText(QString::number(bars_[row]->value()));
    hexFields_[row]->setText(channelHex(decimalFields_[row]->text().toInt()));
}

void TForm4::Button1Click()
{
    hide();
}

void TForm4::Button2Click()
{
    hide();
    editor_.showAboutModal();
    show();
}
