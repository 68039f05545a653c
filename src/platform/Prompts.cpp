#include "platform/Prompts.h"

#include "platform/ModalOwner.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace pel {

Prompts::Answer Prompts::confirm(QWidget* parent, const QString& text, Buttons buttons)
{
    return show(parent, QStringLiteral("確認"), text, buttons, Icon::Question);
}

void Prompts::error(QWidget* parent, const QString& text)
{
    show(parent, QStringLiteral("エラー"), text, Buttons::Ok, Icon::Error);
}

void Prompts::message(QWidget* parent, const QString& text)
{
    show(parent, QStringLiteral("Pelmora"), text, Buttons::Ok, Icon::None);
}

void Prompts::applicationError(QWidget* parent, const QString& text)
{
    show(parent, QStringLiteral("Pelmora"), text, Buttons::Ok, Icon::Error);
}

Prompts::Answer QtPrompts::show(QWidget* parent, const QString& caption, const QString& text,
                                Buttons buttons, Icon icon)
{
    QWidget* const owner = modalOwner(parent);
    QMessageBox box(owner);
    keepAboveOwner(&box, owner);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    }

    QAbstractButton* yes = nullptr;
    QAbstractButton* no = nullptr;
    QAbstractButton* cancel = nullptr;
    QAbstractButton* ok = nullptr;
    if (buttons == Buttons::Ok) {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(static_cast<QPushButton*>(ok));
        box.setEscapeButton(ok);
    } else {
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        if (buttons == Buttons::YesNoCancel) {
            cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
        } else {
            box.setEscapeButton(no);
        }
        box.setDefaultButton(static_cast<QPushButton*>(yes));
    }
    box.exec();

    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr)
        return buttons == Buttons::YesNo ? Answer::No
             : buttons == Buttons::Ok    ? Answer::Ok
                                         : Answer::Cancel;
    if (clicked == yes) return Answer::Yes;
    if (clicked == no) return Answer::No;
    if (clicked == ok) return Answer::Ok;
    return Answer::Cancel;
}

} // namespace pel
