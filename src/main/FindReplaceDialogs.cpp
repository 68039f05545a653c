#include "main/FindReplaceDialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* labelledEdit(QWidget* parent, QGridLayout* grid, int row, const QString& label, const char* name)
{
    auto* edit = named(new QLineEdit(parent), name);
    edit->setMinimumWidth(200);
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

// As in the system dialogs, the buttons that search wait for a search text.
void enableWhileTyped(QLineEdit* edit, std::initializer_list<QPushButton*> buttons)
{
    auto update = [edit, buttons = QList<QPushButton*>(buttons)] {
        for (QPushButton* button : buttons)
            button->setEnabled(!edit->text().isEmpty());
    };
    QObject::connect(edit, &QLineEdit::textChanged, edit, update);
    update();
}

} // namespace

FindDialog::FindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("検索"));
    setModal(false);

    auto* grid = new QGridLayout;
    FindEdit = labelledEdit(this, grid, 0, QStringLiteral("検索する文字列(&N):"), "FindEdit");

    WholeWordBox = named(new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this), "WholeWordBox");
    MatchCaseBox = named(new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this), "MatchCaseBox");
    MatchCaseBox->setChecked(true);
    auto* boxes = new QVBoxLayout;
    boxes->addStretch();
    boxes->addWidget(WholeWordBox);
    boxes->addWidget(MatchCaseBox);

    DirectionGroup = named(new QGroupBox(QStringLiteral("方向"), this), "DirectionGroup");
    UpButton = named(new QRadioButton(QStringLiteral("上へ(&U)"), DirectionGroup), "UpButton");
    DownButton = named(new QRadioButton(QStringLiteral("下へ(&D)"), DirectionGroup), "DownButton");
    DownButton->setChecked(true);
    auto* directions = new QHBoxLayout(DirectionGroup);
    directions->addWidget(UpButton);
    directions->addWidget(DownButton);

    auto* options = new QHBoxLayout;
    options->addLayout(boxes);
    options->addWidget(DirectionGroup);

    FindNextButton = named(new QPushButton(QStringLiteral("次を検索(&F)"), this), "FindNextButton");
    FindNextButton->setDefault(true);
    CancelButton = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelButton");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindNextButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();

    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addLayout(options);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    enableWhileTyped(FindEdit, {FindNextButton});
    connect(FindNextButton, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const
{
    return FindEdit->text();
}

void FindDialog::setFindText(const QString& text)
{
    FindEdit->setText(text);
}

bool FindDialog::searchDown() const
{
    return DownButton->isChecked();
}

ReplaceDialog::ReplaceDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceDialog1"));
    setWindowTitle(QStringLiteral("置換"));
    setModal(false);

    auto* grid = new QGridLayout;
    FindEdit = labelledEdit(this, grid, 0, QStringLiteral("検索する文字列(&N):"), "FindEdit");
    ReplaceEdit = labelledEdit(this, grid, 1, QStringLiteral("置換後の文字列(&P):"), "ReplaceEdit");
    // The replace always matches exactly; its option boxes are not offered.
    WholeWordBox = named(new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this), "WholeWordBox");
    MatchCaseBox = named(new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this), "MatchCaseBox");
    WholeWordBox->hide();
    MatchCaseBox->hide();
    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addWidget(WholeWordBox);
    left->addWidget(MatchCaseBox);
    left->addStretch();

    FindNextButton = named(new QPushButton(QStringLiteral("次を検索(&F)"), this), "FindNextButton");
    FindNextButton->setDefault(true);
    ReplaceButton = named(new QPushButton(QStringLiteral("置換して次に(&R)"), this), "ReplaceButton");
    ReplaceAllButton = named(new QPushButton(QStringLiteral("すべて置換(&A)"), this), "ReplaceAllButton");
    CancelButton = named(new QPushButton(QStringLiteral("キャンセル"), this), "CancelButton");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindNextButton);
    buttons->addWidget(ReplaceButton);
    buttons->addWidget(ReplaceAllButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    enableWhileTyped(FindEdit, {FindNextButton, ReplaceButton, ReplaceAllButton});
    // Find-next is shown but does not search: this dialog is for replacing.
    connect(ReplaceButton, &QPushButton::clicked, this, &ReplaceDialog::replace);
    connect(ReplaceAllButton, &QPushButton::clicked, this, &ReplaceDialog::replaceAll);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString ReplaceDialog::findText() const
{
    return FindEdit->text();
}

QString ReplaceDialog::replaceText() const
{
    return ReplaceEdit->text();
}
