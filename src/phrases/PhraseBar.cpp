#include "phrases/PhraseBar.h"

#include "phrases/PhraseList.h"
#include "platform/ColorNames.h"
#include "platform/EditorPort.h"
#include "platform/Hints.h"
#include "platform/Services.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace pel {

namespace {

constexpr ColorValue kPressedCaption = 0x0000FF;  // red
constexpr ColorValue kReleasedCaption = 0x000000; // black
constexpr ColorValue kBlueCaption = 0xFF0000;

void setCaptionColour(QWidget* widget, ColorValue colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::ButtonText, toQColor(colour));
    widget->setPalette(palette);
}

bool isEnterKey(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

PhraseBar::PhraseBar(QToolBar* bar, PhraseList& list, EditorPort& editor, Hooks hooks)
    : QObject(bar), bar_(bar), list_(list), editor_(editor), hooks_(std::move(hooks))
{
    setObjectName(QStringLiteral("PhraseBar"));
    // Like the window's other bars it can be dragged off, floated and docked.
    bar_->setMovable(true);
    bar_->setFloatable(true);
    bar_->setAllowedAreas(Qt::AllToolBarAreas);
    // Buttons side by side as on a control bar, so the bar fits the window.
    bar_->layout()->setSpacing(0);

    KaigaSpButton = addSpeedButton(QStringLiteral("KaigaSpButton"), QStringLiteral("絵画フォーム(&K)"),
                                   QStringLiteral("絵画フォーム|絵画フォームを起ち上げます｡"));
    IdouButton = addButton(QStringLiteral("IdouButton"), QStringLiteral("移動"),
                           QStringLiteral("移動|クリックすると全体が1個づつ移動します"));
    TopButton = addButton(QStringLiteral("TopButton"), QStringLiteral("先頭"),
                          QStringLiteral("先頭へ移動|クリックすると登録したアイテムが先頭へ移動します"));
    setCaptionColour(TopButton, kBlueCaption);
    BottomButton = addButton(QStringLiteral("BottomButton"), QStringLiteral("後部"),
                             QStringLiteral("最後部へ移動|選択のアイテムが最後部へ移動します"));
    DeleteButton = addButton(QStringLiteral("DeleteButton"), QStringLiteral("削除"),
                             QStringLiteral("削除|選択したアイテムを削除します"));
    setCaptionColour(DeleteButton, kBlueCaption);

    Edit1 = new QLineEdit(bar_);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(80);
    setHint(Edit1, QStringLiteral("新規登録ｳｲﾝﾄﾞｳ|文字入力後エンターキィを押すと最後部に登録します,マウスでクリックしても同様です"));
    Edit1->installEventFilter(this);
    bar_->addWidget(Edit1);

    UpSpButton = addSpeedButton(QStringLiteral("UpSpButton"), QStringLiteral("↑"),
                                QStringLiteral("上へ|ひとつ上に移動する"));
    DownSpButton = addSpeedButton(QStringLiteral("DownSpButton"), QStringLiteral("↓"),
                                  QStringLiteral("下へ|ひとつ下へ移動する"));

    ComboBox1 = new QComboBox(bar_);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // The field is free text: Enter is ours, and typing must not complete
    // to an entry or add one by itself.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setMaxVisibleItems(40);
    // A fixed width: sizing to the contents would measure every entry. Narrow
    // enough that the whole bar fits the window's default width.
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1->setMinimumContentsLength(6);
    ComboBox1->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    ComboBox1->setModel(&list_);
    setHint(ComboBox1, QStringLiteral("文字の登録|登録した文字を選択中"));
    // Keys reach the combo box, which hands them to its field directly,
    // past the field's filters; mouse events reach the field.
    ComboBox1->installEventFilter(this);
    ComboBox1->lineEdit()->installEventFilter(this);
    bar_->addWidget(ComboBox1);
    ComboBox1->setEditText(QStringLiteral("  NewText Box"));
    chooseKeepingField(list_.current());

    TenkiSpButton = addSpeedButton(QStringLiteral("TenkiSpButton"), QStringLiteral("転記"),
                                   QStringLiteral("転記|選択したアイテムをメインキャンバスへ転記します｡"));
    MemoButton = addButton(QStringLiteral("MemoButton"), QStringLiteral("メモ"),
                           QStringLiteral("メモ帳|Windowsのメモ帳を開きます。"));
    DateTimeSpButton = addSpeedButton(QStringLiteral("DateTimeSpButton"), QStringLiteral("日付表示"),
                                      QStringLiteral("日付表示|日付表示ダイアログを開きます｡"));

    connect(KaigaSpButton, &QToolButton::clicked, this, [this] {
        if (hooks_.showPaintForm)
            hooks_.showPaintForm();
    });
    connect(DateTimeSpButton, &QToolButton::clicked, this, [this] {
        if (hooks_.showDateTool)
            hooks_.showDateTool();
    });
    connect(IdouButton, &QPushButton::clicked, this, &PhraseBar::IdouButtonClick);
    connect(TopButton, &QPushButton::clicked, this, &PhraseBar::TopButtonClick);
    connect(BottomButton, &QPushButton::clicked, this, &PhraseBar::BottomButtonClick);
    connect(DeleteButton, &QPushButton::clicked, this, &PhraseBar::DeleteButtonClick);
    connect(UpSpButton, &QToolButton::clicked, this, &PhraseBar::UpSpButtonClick);
    connect(DownSpButton, &QToolButton::clicked, this, &PhraseBar::DownSpButtonClick);
    connect(TenkiSpButton, &QToolButton::clicked, this, &PhraseBar::TenkiSpButtonClick);
    connect(MemoButton, &QPushButton::clicked, this, &PhraseBar::MemoButtonClick);

    // Choosing from the list (mouse or arrow keys) makes the entry current.
    connect(ComboBox1, &QComboBox::activated, &list_, &PhraseList::setCurrent);
    connect(&list_, &PhraseList::currentChanged, this, [this](int index) {
        if (listChanging_ == 0)
            chooseKeepingField(index);
    });
    // The combo box picks an entry and rewrites the field by itself when
    // rows come and go; these run after its own handlers and undo that.
    connect(&list_, &QAbstractItemModel::modelAboutToBeReset, this, &PhraseBar::beginListChange);
    connect(&list_, &QAbstractItemModel::modelReset, this, &PhraseBar::endListChange);
    connect(&list_, &QAbstractItemModel::rowsAboutToBeInserted, this, &PhraseBar::beginListChange);
    connect(&list_, &QAbstractItemModel::rowsInserted, this, &PhraseBar::endListChange);
    connect(&list_, &QAbstractItemModel::rowsAboutToBeRemoved, this, &PhraseBar::beginListChange);
    connect(&list_, &QAbstractItemModel::rowsRemoved, this, &PhraseBar::endListChange);
    connect(&list_, &QAbstractItemModel::rowsAboutToBeMoved, this, &PhraseBar::beginListChange);
    connect(&list_, &QAbstractItemModel::rowsMoved, this, &PhraseBar::endListChange);
}

QToolButton* PhraseBar::addSpeedButton(const QString& name, const QString& caption, const QString& hint)
{
    auto* button = new QToolButton(bar_);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    setHint(button, hint);
    setCaptionColour(button, kReleasedCaption);
    button->installEventFilter(this);
    bar_->addWidget(button);
    return button;
}

QPushButton* PhraseBar::addButton(const QString& name, const QString& caption, const QString& hint)
{
    auto* button = new QPushButton(caption, bar_);
    button->setObjectName(name);
    // As wide as the caption needs: the style's minimum push-button width
    // would push the bar's last controls off a window of the default size.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(caption) + 16);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    setHint(button, hint);
    bar_->addWidget(button);
    return button;
}

QString PhraseBar::fieldText() const
{
    return ComboBox1->lineEdit()->text();
}

void PhraseBar::chooseKeepingField(int index)
{
    const QString text = fieldText();
    ComboBox1->setCurrentIndex(index);
    if (fieldText() != text)
        ComboBox1->setEditText(text);
}

void PhraseBar::showChosenEntry()
{
    const int index = list_.current();
    if (index < 0)
        return;
    ComboBox1->setCurrentIndex(index);
    ComboBox1->setEditText(list_.entryText(index));
}

void PhraseBar::beginListChange()
{
    if (listChanging_++ == 0)
        heldFieldText_ = fieldText();
}

void PhraseBar::endListChange()
{
    if (--listChanging_ > 0)
        return;
    ComboBox1->setCurrentIndex(list_.current());
    if (fieldText() != heldFieldText_)
        ComboBox1->setEditText(heldFieldText_);
}

// ---- Commands ------------------------------------------------------------

void PhraseBar::IdouButtonClick()
{
    list_.Rotate();
}

void PhraseBar::TopButtonClick()
{
    if (list_.MoveToTop())
        showChosenEntry();
}

void PhraseBar::BottomButtonClick()
{
    if (list_.MoveToBottom())
        showChosenEntry();
}

void PhraseBar::UpSpButtonClick()
{
    if (list_.MoveUp())
        showChosenEntry();
}

void PhraseBar::DownSpButtonClick()
{
    if (list_.MoveDown())
        showChosenEntry();
}

void PhraseBar::DeleteButtonClick()
{
    // The field keeps its text: it is not an entry, and the user may still
    // want to register or transcribe it.
    list_.DeleteCurrent();
}

void PhraseBar::TenkiSpButtonClick()
{
    editor_.ReplaceEditorSelection(fieldText());
}

void PhraseBar::MemoButtonClick()
{
    // A text editor that cannot be started is not reported.
    (void)shell().startTextEditor(QString());
}

void PhraseBar::ComboBox1DblClick()
{
    editor_.ReplaceEditorSelection(fieldText());
}

void PhraseBar::ComboBox1Enter()
{
    const QString text = fieldText();
    if (hooks_.replaceDocument)
        hooks_.replaceDocument(text);
    registerPhrase(list_, text, Edit1);
}

void PhraseBar::Edit1Enter()
{
    // A refused entry stays in the field for the user to mend.
    if (registerPhrase(list_, Edit1->text(), Edit1))
        Edit1->clear();
    Edit1->setFocus();
}

void PhraseBar::Edit1Click()
{
    if (!Edit1->text().isEmpty() && registerPhrase(list_, Edit1->text(), Edit1))
        Edit1->clear();
    Edit1->setFocus();
}

bool PhraseBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1) {
        if (isEnterKey(event)) {
            Edit1Enter();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Edit1Click();
        return false;
    }
    if (ComboBox1 && (watched == ComboBox1 || watched == ComboBox1->lineEdit())) {
        if (isEnterKey(event)) {
            ComboBox1Enter();
            return true;
        }
        if (watched == ComboBox1->lineEdit() && event->type() == QEvent::MouseButtonDblClick)
            ComboBox1DblClick();
        return false;
    }
    // Speed buttons: red caption while a mouse button is held on them. The
    // button keeps the mouse until release, also when the pointer leaves.
    if (auto* button = qobject_cast<QToolButton*>(watched)) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            setCaptionColour(button, kPressedCaption);
            break;
        case QEvent::MouseButtonRelease:
            setCaptionColour(button, kReleasedCaption);
            break;
        default:
            break;
        }
    }
    return false;
}

} // namespace pel
