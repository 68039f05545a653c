#include "phrases/PhraseListWindow.h"

#include "platform/EditorPort.h"
#include "platform/Hints.h"
#include "platform/Prompts.h"
#include "platform/Services.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace {

constexpr pel::ColorValue kTeal = 0x808000;
constexpr pel::ColorValue kBlue = 0xFF0000;
constexpr pel::ColorValue kWhite = 0xFFFFFF;

constexpr int kMargin = 8;
constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
constexpr int kButtonStep = 29;
constexpr int kEditHeight = 22;
constexpr int kLabelHeight = 16;

// The hints both windows share.
const QHash<QString, QString>& commonHints()
{
    static const QHash<QString, QString> hints = {
        {QStringLiteral("Button1"), QStringLiteral("移動|クリックすると登録したアイテム全体が1個づつ移動します")},
        {QStringLiteral("About"), QStringLiteral("情報|バージョン情報")},
        {QStringLiteral("Button5"), QStringLiteral("選択したアイテムをひとつ上に移動します｡")},
    };
    return hints;
}

QFont windowFont(int pixels)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixels);
    return font;
}

} // namespace

PhraseListWindow::PhraseListWindow(const PhraseWindowConfig& config, pel::EditorPort& editor,
                                   QWidget* parent)
    : QDialog(parent), config_(config), editor_(editor),
      register_(list_, config.listFileName, config.backupFileName)
{
    for (auto it = commonHints().cbegin(); it != commonHints().cend(); ++it)
        if (!config_.hints.contains(it.key()))
            config_.hints.insert(it.key(), it.value());
    setObjectName(config_.objectName);
    setWindowTitle(config_.caption);
    // A fixed tool window on top, with a title but no system menu or close
    // box: "終了" and Escape hide it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFont(windowFont(12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, pel::toQColor(kTeal));
    if (config_.fontColour) {
        const QColor colour = pel::toQColor(*config_.fontColour);
        palette.setColor(QPalette::WindowText, colour);
        palette.setColor(QPalette::ButtonText, colour);
        palette.setColor(QPalette::Text, colour);
    }
    setPalette(palette);
    setAutoFillBackground(true);
    setFixedSize(config_.clientSize);
    move(config_.position);

    buildControls();

    hintSink_ = [this](const QString& text) {
        if (auto* main = qobject_cast<QMainWindow*>(parentWidget()))
            main->statusBar()->showMessage(text);
    };
    new pel::HintTracker(this, [this](const QString& text) {
        if (hintSink_)
            hintSink_(text);
    });

    // Loading the register is the window's last creation step.
    register_.load(nullptr);
}

PhraseListWindow::~PhraseListWindow()
{
    register_.writeList(nullptr);
}

QString PhraseListWindow::listFilePath() const
{
    return register_.listPath();
}

void PhraseListWindow::setHintSink(std::function<void(const QString&)> sink)
{
    hintSink_ = std::move(sink);
}

QPushButton* PhraseListWindow::makeButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    // Enter belongs to the entry field; no button is the default.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void PhraseListWindow::applyHint(QWidget* widget, const QString& name, bool toolTipShown)
{
    const auto hint = config_.hints.constFind(name);
    if (hint == config_.hints.cend())
        return;
    pel::setHint(widget, *hint);
    if (!toolTipShown)
        widget->setToolTip(QString());
}

void PhraseListWindow::buildControls()
{
    applyHint(this, QString(), false);

    const int width = config_.clientSize.width();
    const int height = config_.clientSize.height();
    const int column = width - kMargin - kButtonWidth;
    const int editTop = height - kMargin - kEditHeight;
    const int labelTop = editTop - 4 - kLabelHeight;

    ListBox1 = new QListView(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows of one height: long registers stay quick to lay out.
    ListBox1->setUniformItemSizes(true);
    ListBox1->setFont(windowFont(config_.listFontPixels));
    QPalette listPalette = ListBox1->palette();
    listPalette.setColor(QPalette::Text, pel::toQColor(kBlue));
    listPalette.setColor(QPalette::Base, pel::toQColor(kWhite));
    ListBox1->setPalette(listPalette);
    ListBox1->setModel(&list_);
    ListBox1->setGeometry(kMargin, kMargin, column - 2 * kMargin, labelTop - 4 - kMargin);
    applyHint(ListBox1, QStringLiteral("ListBox1"), false);

    const struct {
        QPushButton** button;
        QString name;
        QString caption;
        bool toolTipShown;
    } buttons[] = {
        {&AddButton, config_.addButtonName, QStringLiteral("追加"), false},
        {&Clear, QStringLiteral("Clear"), QStringLiteral("クリア"), false},
        {&Delete, QStringLiteral("Delete"), QStringLiteral("削除"), false},
        {&Button1, QStringLiteral("Button1"), QStringLiteral("移動"), true},
        {&Button2, QStringLiteral("Button2"), QStringLiteral("先頭"), true},
        {&Button3, QStringLiteral("Button3"), QStringLiteral("最後部"), true},
        {&About, QStringLiteral("About"), QStringLiteral("情報"), false},
        {&Button4, QStringLiteral("Button4"), QStringLiteral("転記"), true},
    };
    int top = kMargin;
    for (const auto& b : buttons) {
        *b.button = makeButton(b.name, b.caption);
        (*b.button)->setGeometry(column, top, kButtonWidth, kButtonHeight);
        applyHint(*b.button, b.name, b.toolTipShown);
        top += kButtonStep;
    }
    const int narrow = (kButtonWidth - 3) / 2;
    Button5 = makeButton(QStringLiteral("Button5"), QStringLiteral("↑"));
    Button5->setGeometry(column, top, narrow, kButtonHeight);
    applyHint(Button5, QStringLiteral("Button5"), true);
    Button6 = makeButton(QStringLiteral("Button6"), QStringLiteral("↓"));
    Button6->setGeometry(column + kButtonWidth - narrow, top, narrow, kButtonHeight);
    applyHint(Button6, QStringLiteral("Button6"), false);

    Label1 = new QLabel(QStringLiteral("ここに↓新しいデーターを入力して下さい"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, pel::toQColor(config_.labelColour));
    Label1->setPalette(labelPalette);
    Label1->setGeometry(kMargin, labelTop, width - 2 * kMargin, kLabelHeight);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(kMargin, editTop, column - 2 * kMargin, kEditHeight);
    applyHint(Edit1, QStringLiteral("Edit1"), true);
    Edit1->installEventFilter(this);

    Exit = makeButton(QStringLiteral("Exit"), QStringLiteral("終了"));
    Exit->setGeometry(column, height - kMargin - kButtonHeight, kButtonWidth, kButtonHeight);
    applyHint(Exit, QStringLiteral("Exit"), false);

    connect(AddButton, &QPushButton::clicked, this, &PhraseListWindow::AddItemClick);
    connect(Clear, &QPushButton::clicked, this, &PhraseListWindow::ClearClick);
    connect(Delete, &QPushButton::clicked, this, &PhraseListWindow::DeleteClick);
    connect(Button1, &QPushButton::clicked, this, &PhraseListWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &PhraseListWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &PhraseListWindow::Button3Click);
    connect(About, &QPushButton::clicked, this, &PhraseListWindow::AboutClick);
    connect(Button4, &QPushButton::clicked, this, &PhraseListWindow::TranscribeSelected);
    connect(Button5, &QPushButton::clicked, this, &PhraseListWindow::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &PhraseListWindow::Button6Click);
    connect(Exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBox1, &QListView::doubleClicked, this, &PhraseListWindow::TranscribeSelected);

    // The list's current entry is the view's focus mark, both ways.
    connect(ListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (listChanging_ == 0)
                    list_.setCurrent(current.isValid() ? current.row() : -1);
            });
    auto showCurrent = [this] {
        const int row = list_.current();
        const QModelIndex index = row >= 0 ? list_.index(row) : QModelIndex();
        if (ListBox1->selectionModel()->currentIndex() != index)
            ListBox1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    };
    connect(&list_, &pel::PhraseList::currentChanged, this, [this, showCurrent] {
        if (listChanging_ == 0)
            showCurrent();
    });
    auto begin = [this] { ++listChanging_; };
    auto end = [this, showCurrent] {
        if (--listChanging_ == 0)
            showCurrent();
    };
    connect(&list_, &QAbstractItemModel::modelAboutToBeReset, this, begin);
    connect(&list_, &QAbstractItemModel::modelReset, this, end);
    connect(&list_, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
    connect(&list_, &QAbstractItemModel::rowsRemoved, this, end);
    connect(&list_, &QAbstractItemModel::rowsAboutToBeMoved, this, begin);
    connect(&list_, &QAbstractItemModel::rowsMoved, this, end);
}

// ---- Commands ------------------------------------------------------------

void PhraseListWindow::TranscribeSelected()
{
    // The rows straight from the selection's ranges: selectedRows() checks
    // every row against every range, which froze the program for a minute
    // on 50,000 scattered entries. Ranges of a one-column list never overlap.
    QList<int> rows;
    for (const QItemSelectionRange& range : ListBox1->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows << row;
    if (rows.isEmpty())
        return;
    // List order, whatever order the entries were selected in. One call with
    // the entries joined puts the same text where one call per entry would
    // (each goes in at the caret the one before left), at a fraction of the
    // cost for long selections.
    std::sort(rows.begin(), rows.end());
    QString text;
    for (int row : std::as_const(rows))
        text += list_.entryText(row);
    editor_.ReplaceEditorSelection(text);
}

void PhraseListWindow::AddItemClick()
{
    if (!Edit1->text().isEmpty()) {
        if (pel::registerPhrase(list_, Edit1->text(), this))
            Edit1->clear();
        Edit1->setFocus();
    } else if (config_.emptyAddFocusesField) {
        Edit1->setFocus();
    }
}

void PhraseListWindow::Edit1Enter()
{
    if (pel::registerPhrase(list_, Edit1->text(), this))
        Edit1->clear();
    Edit1->setFocus();
}

void PhraseListWindow::ClearClick()
{
    list_.ClearAll();
}

void PhraseListWindow::DeleteClick()
{
    const int row = list_.current();
    if (!list_.DeleteCurrent())
        return;
    // The mark stays on the place of the deleted entry, so a second click
    // deletes the entry that moved up into it.
    if (list_.count() > 0)
        list_.setCurrent(std::min(row, list_.count() - 1));
}

void PhraseListWindow::markMovedEntry()
{
    // A moved entry is taken out and put back: it loses its selection.
    ListBox1->selectionModel()->select(list_.index(list_.current()), QItemSelectionModel::Deselect);
}

void PhraseListWindow::Button1Click()
{
    if (!list_.Rotate())
        return;
    ListBox1->selectionModel()->select(list_.index(list_.count() - 1), QItemSelectionModel::Deselect);
}

void PhraseListWindow::Button2Click()
{
    if (list_.MoveToTop())
        markMovedEntry();
}

void PhraseListWindow::Button3Click()
{
    if (list_.MoveToBottom())
        markMovedEntry();
}

void PhraseListWindow::Button5Click()
{
    if (list_.MoveUp())
        markMovedEntry();
}

void PhraseListWindow::Button6Click()
{
    if (list_.MoveDown())
        markMovedEntry();
}

void PhraseListWindow::AboutClick()
{
    editor_.showAboutModal();
}

bool PhraseListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Edit1Enter();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
