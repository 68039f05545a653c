#include "paint/PaintDialogs.h"

#include "platform/Fonts.h"
#include "platform/UpDown.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pel {

void setupPaintDialog(QDialog* dialog, int clientWidth, int clientHeight)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowStaysOnTopHint);
    dialog->setFont(pel::japaneseFont(12));
    // The window manager writes the caption in its own, larger font beside
    // its buttons; a dialog narrower than that shows the caption cut off.
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) * 5 / 4 + 96;
    dialog->setFixedSize(qMax(clientWidth, captionWidth), clientHeight);
    dialog->setModal(true);
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* addNumberBox(QWidget* parent, const char* editName, const char* upDownName, int left, int top,
                        int width, int minimum, int maximum, int start, UpDown** upDown)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(editName));
    // Wide enough for every value the limits allow ("-100" in 30 pixels is cut).
    const QFontMetrics metrics(parent->font());
    const int widest = qMax(metrics.horizontalAdvance(QString::number(minimum)),
                            metrics.horizontalAdvance(QString::number(maximum)));
    width = qMax(width, widest + 12);
    edit->setGeometry(left, top, width, 20);
    auto* control = new UpDown(parent);
    control->setObjectName(QString::fromLatin1(upDownName));
    control->setGeometry(left + width, top, 15, 20);
    control->setRange(minimum, maximum);
    control->setPosition(start);
    control->setAssociate(edit);
    *upDown = control;
    return edit;
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                       int height)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, top, width, height);
    button->setAutoDefault(false);
    return button;
}

} // namespace pel
