#include "paint/PaintDialogs.h"

#include "paint/UpDownControl.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pel {

void setupPaintDialog(QDialog* dialog, int clientWidth, int clientHeight)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowStaysOnTopHint);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    dialog->setFont(font);
    dialog->setFixedSize(clientWidth, clientHeight);
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
                        int width, int minimum, int maximum, int start, UpDownControl** upDown)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(editName));
    edit->setGeometry(left, top, width, 20);
    auto* control = new UpDownControl(parent);
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
