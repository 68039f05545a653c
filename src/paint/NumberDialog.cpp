#include "paint/NumberDialog.h"

#include "paint/PaintFormPort.h"
#include "platform/Fonts.h"
#include "platform/Hints.h"
#include "platform/UpDown.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pel {

NumberDialog::NumberDialog(const Shape& shape, PaintFormPort& paint, QWidget* parent)
    : QDialog(parent), paint_(paint), escapePressesOk_(shape.escapePressesOk)
{
    setObjectName(QString::fromLatin1(shape.name));
    setWindowTitle(QString::fromUtf8(shape.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFont(japaneseFont(12));
    // The window manager writes the caption in its own, larger font beside
    // its buttons; a dialog narrower than that shows the caption cut off.
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) * 5 / 4 + 96;
    setFixedSize(qMax(shape.client.width(), captionWidth), shape.client.height());
    setModal(true);

    const Row& first = shape.rows[0];
    const Row& second = shape.rows[1];
    Label1 = addLabel("Label1", QString::fromUtf8(first.label), shape.labelLeft, first.top);
    Label2 = addLabel("Label2", QString::fromUtf8(second.label), shape.labelLeft, second.top);
    Edit1 = addNumberBox("Edit1", "UpDown1", shape.boxLeft, first.top, shape.boxWidth, first.minimum,
                         first.maximum, first.start, &UpDown1);
    Edit2 = addNumberBox("Edit2", "UpDown2", shape.boxLeft, second.top, shape.boxWidth, second.minimum,
                         second.maximum, second.start, &UpDown2);
    setHint(Edit1, QString::fromUtf8(first.hint));
    setHint(Edit2, QString::fromUtf8(second.hint));
    Button1 = addButton("Button1", QStringLiteral("OK"), shape.ok);
    if (shape.okHint)
        setHint(Button1, QString::fromUtf8(shape.okHint));
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void NumberDialog::Button1Click()
{
    accept();
}

void NumberDialog::reject()
{
    if (escapePressesOk_)
        Button1Click();
    else
        QDialog::reject();
}

QLabel* NumberDialog::addLabel(const char* name, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* NumberDialog::addNumberBox(const char* editName, const char* upDownName, int left, int top, int width,
                                      int minimum, int maximum, int start, UpDown** upDown)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(editName));
    // Wide enough for every value the limits allow ("-100" in 30 pixels is cut).
    const QFontMetrics metrics(font());
    const int widest = qMax(metrics.horizontalAdvance(QString::number(minimum)),
                            metrics.horizontalAdvance(QString::number(maximum)));
    width = qMax(width, widest + 12);
    edit->setGeometry(left, top, width, 20);
    auto* control = new UpDown(this);
    control->setObjectName(QString::fromLatin1(upDownName));
    control->setGeometry(left + width, top, 15, 20);
    control->setRange(minimum, maximum);
    control->setPosition(start);
    control->setAssociate(edit);
    connect(control, &UpDown::positionChanged, this, &NumberDialog::valuesChanged);
    *upDown = control;
    return edit;
}

QPushButton* NumberDialog::addButton(const char* name, const QString& caption, QRect geometry)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

void NumberDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    paint_.showStatus(hintLongPart(hintOf(Edit1)));
    paint_.showStatus(hintLongPart(hintOf(Edit2)));
}

} // namespace pel
