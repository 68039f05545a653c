#include "paint/PelPaint.h"

#include "paint/ImageControl.h"
#include "platform/ClickLabel.h"
#include "platform/Dialogs.h"
#include "platform/EditorPort.h"
#include "platform/Fonts.h"
#include "platform/Hints.h"
#include "platform/ModalOwner.h"
#include "platform/Prompts.h"
#include "platform/RecoveryStore.h"
#include "platform/Services.h"
#include "platform/TextMessages.h"
#include "platform/UpDown.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TForm6* Form6 = nullptr;

namespace {

const QString kNeedsBitmap = QStringLiteral("ビットマップを持っている時のみイメージの変更が可能です");

QFont swatchFont()
{
    return pel::japaneseFont(16);
}

void setBackground(QWidget* widget, const QColor& colour, QPalette::ColorRole role = QPalette::Window)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The swatches' colours. Styles may paint a label in a tool bar as they
// like; a style sheet is the one way every style honours.
void setSwatchColours(QLabel* swatch, const QColor& background, const QColor& text)
{
    swatch->setProperty("swatchBackground", background);
    swatch->setProperty("swatchText", text);
    setBackground(swatch, background);
    setBackground(swatch, text, QPalette::WindowText);
    swatch->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: %2; }")
                              .arg(background.name(), text.name()));
}

QColor swatchBackground(const QLabel* swatch)
{
    return swatch->property("swatchBackground").value<QColor>();
}

QColor swatchText(const QLabel* swatch)
{
    return swatch->property("swatchText").value<QColor>();
}

// A status panel: shows as much of its text as fits (the middle of a long
// path gives way first) and keeps the whole text as its tool tip.
class StatusPanel : public QLabel {
public:
    using QLabel::QLabel;
    void setFullText(const QString& text)
    {
        full_ = text;
        setToolTip(fontMetrics().horizontalAdvance(text) > contentsRect().width() ? text : QString());
        setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, contentsRect().width()));
    }
    QString fullText() const { return full_; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        setFullText(full_);
    }

private:
    QString full_;
};

// Passes Enter in the pen-width box to the form; other keys go on.
class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<bool(int)> onKey) : QObject(parent), onKey_(std::move(onKey)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && onKey_(key))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(int)> onKey_;
};

} // namespace

TForm6::TForm6(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("PelPaint"));
    fontDialogFont_ = pel::japaneseFont(12);
    setupPictureRecovery();

    setupLayout();
    setupToolBar2();
    setupToolBar3();
    setupStyleMenus();
    hintTracker_ = std::make_unique<pel::HintTracker>(this, [this](const QString& text) { showStatus(text); });

    setupFileActions();
}

TForm6::~TForm6() = default;

// ---- Layout

void TForm6::setupLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ControlBar1 = new QMainWindow(this, Qt::Widget);
    // QMainWindow's constructor makes itself a window whatever flags it is
    // given; it must sit inside the form.
    ControlBar1->setWindowFlags(Qt::Widget);
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    // No list of bars on a right click: it could hide the menu bar itself.
    ControlBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    layout->addWidget(ControlBar1, 1);

    ScrollBox1 = new QScrollArea(ControlBar1);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    Image1 = new pel::ImageControl;
    Image1->setObjectName(QStringLiteral("Image1"));
    pel::setHint(Image1, QStringLiteral("|絵画キャンバスここに絵を描く"));
    ScrollBox1->setWidget(Image1);
    ControlBar1->setCentralWidget(ScrollBox1);
    drag_ = std::make_unique<pel::ToolDrag>(Image1->canvas(), [this] { return canvasReady(); });

    // The undo snapshot: an image control that is never shown.
    Image2 = new pel::ImageControl(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->canvas().clear();
    Image2->resize(0, 0);
    Image2->hide();

    StatusBar2 = new QStatusBar(this);
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    StatusBar2->setSizeGripEnabled(true);
    for (int i = 0; i < 2; ++i) {
        statusPanels_[i] = new StatusPanel(StatusBar2);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusBar2Panel%1").arg(i));
    }
    // Panel 0 takes what the window has to spare; panel 1 is wide enough for
    // any position on the largest picture.
    statusPanels_[0]->setMinimumWidth(120);
    statusPanels_[1]->setFixedWidth(
        qMax(50, statusPanels_[1]->fontMetrics().horizontalAdvance(QStringLiteral("X=-00000,Y=-00000")) + 8));
    StatusBar2->addWidget(statusPanels_[0], 1);
    StatusBar2->addWidget(statusPanels_[1]);
    layout->addWidget(StatusBar2);

    connect(Image1, &pel::ImageControl::mouseDown, this, &TForm6::Image1MouseDown);
    connect(Image1, &pel::ImageControl::mouseMove, this, &TForm6::Image1MouseMove);
    connect(Image1, &pel::ImageControl::mouseUp, this, &TForm6::Image1MouseUp);
    connect(Image1, &pel::ImageControl::dragOver, this,
            [this](QObject* source, bool* accept) { *accept = Image1DragOver(source); });
    connect(Image1, &pel::ImageControl::dropped, this, [this](QObject* source, QPoint) { Image1DragDrop(source); });
}

void TForm6::insertMenuBand(QToolBar* menuBar)
{
    ControlBar1->insertToolBar(ToolBar2, menuBar);
    ControlBar1->insertToolBarBreak(ToolBar2);
}

void TForm6::setupToolBar2()
{
    ToolBar2 = new QToolBar(QStringLiteral("ツールバー"), ControlBar1);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(true);
    ToolBar2->setFloatable(true);
    ToolBar2->setIconSize(QSize(16, 16));
    ToolBar2->setFixedHeight(ToolBar2->sizeHint().height() < 22 ? 22 : ToolBar2->sizeHint().height());
    ControlBar1->addToolBar(Qt::TopToolBarArea, ToolBar2);

    auto addButton = [this](const char* name, const QString& hint, int icon) {
        auto* button = new QToolButton(ToolBar2);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(pel::paintIcon(icon));
        button->setAutoRaise(true);
        pel::setHint(button, hint);
        ToolBar2->addWidget(button);
        return button;
    };

    // Grouped check buttons: at most one down, and a down one may be
    // released again, which leaves the tool as it is.
    for (const pel::ToolChoice& choice : pel::toolButtonChoices()) {
        QToolButton* button = addButton(choice.name, QString::fromUtf8(choice.hint), choice.icon);
        button->setCheckable(true);
        toolButtons_ << button;
        connect(button, &QToolButton::clicked, this, [this, button, &choice](bool down) {
            if (!down)
                return;
            for (QToolButton* other : std::as_const(toolButtons_)) {
                if (other != button)
                    other->setChecked(false);
            }
            selectTool(choice);
        });
    }
    toolButtons_.first()->setChecked(true);

    QToolButton* undo = addButton("ToolButton11", QStringLiteral("やり直し|直前に戻してやり直す"), 9);
    connect(undo, &QToolButton::clicked, this, &TForm6::ToolButton11Click);
    QToolButton* clearAll = addButton("ToolButton7", QStringLiteral("クリア|すべてをクリアする"), 5);
    connect(clearAll, &QToolButton::clicked, this, &TForm6::ToolButton7Click);
    QToolButton* move = addButton("ToolButton31",
                                  QStringLiteral("定位置図形の移動|定位置に指定してある画像を移動して絵画します"), 24);
    connect(move, &QToolButton::clicked, this, &TForm6::ToolButton31Click);
}

void TForm6::setupToolBar3()
{
    ToolBar3 = new QToolBar(ControlBar1);
    ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
    ToolBar3->setMovable(true);
    ToolBar3->setFloatable(true);
    ToolBar3->setIconSize(QSize(16, 16));
    // A row of its own: beside the tool buttons it would be squeezed to its
    // first button and an overflow arrow at the form's size.
    ControlBar1->addToolBarBreak(Qt::TopToolBarArea);
    ControlBar1->addToolBar(Qt::TopToolBarArea, ToolBar3);

    auto makeSwatch = [this](const char* name, const char* caption, const char* hint) {
        auto* label = new ClickLabel(QString::fromUtf8(caption), ToolBar3);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(swatchFont());
        label->setFixedSize(70, 22);
        label->setAlignment(Qt::AlignCenter);
        label->setCursor(Qt::PointingHandCursor);
        setSwatchColours(label, Qt::black, Qt::red);
        pel::setHint(label, QString::fromUtf8(hint));
        return label;
    };
    auto* penSwatch = makeSwatch("Label1", "　絵画色　", "ペン色選択|クリックするとペンの色を選択出来ます");
    auto* brushSwatch = makeSwatch("Label2", "　背景色　", "背景色|ブラシ色、現在選択中の背景色を表示します｡");
    connect(penSwatch, &ClickLabel::clicked, this, &TForm6::Label1Click);
    connect(brushSwatch, &ClickLabel::clicked, this, &TForm6::Label2Click);
    Label1 = penSwatch;
    Label2 = brushSwatch;

    auto* widthBox = new QWidget(ToolBar3);
    // Its own width only: a wider bar would spread the box and its arrows apart.
    widthBox->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* widthLayout = new QHBoxLayout(widthBox);
    widthLayout->setContentsMargins(0, 0, 0, 0);
    widthLayout->setSpacing(0);
    Edit1 = new QLineEdit(widthBox);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(25);
    setBackground(Edit1, QColor(0, 255, 255), QPalette::Base);
    pel::setHint(Edit1, QStringLiteral("ペンサイズ|ペンサイズを表示します"));
    UpDown1 = new pel::UpDown(widthBox);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(1, 20);
    UpDown1->setPosition(1);
    UpDown1->setAssociate(Edit1);
    UpDown1->setCursor(Qt::PointingHandCursor);
    pel::setHint(UpDown1, QStringLiteral("ペンサイズ|ペンノサイズを指定する"));
    // The bar's height (22): the arrows sit beside the box, not above it.
    Edit1->setFixedHeight(22);
    UpDown1->setFixedSize(16, 22);
    widthLayout->addWidget(Edit1);
    widthLayout->addWidget(UpDown1);
    connect(UpDown1, &pel::UpDown::clicked, this, &TForm6::UpDown1Click);
    Edit1->installEventFilter(new EnterFilter(this, [this](int key) { return Edit1KeyPress(key); }));

    auto* textSettings = new QToolButton(ToolBar3);
    textSettings->setObjectName(QStringLiteral("ToolButton20"));
    textSettings->setIcon(pel::paintIcon(8));
    textSettings->setAutoRaise(true);
    pel::setHint(textSettings, QStringLiteral("文字絵画設定|文字絵画の位置と文字のサイズなどを設定"));
    connect(textSettings, &QToolButton::clicked, this, &TForm6::ToolButton20Click);

    Edit2 = new QLineEdit(ToolBar3);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setFixedWidth(91);
    setBackground(Edit2, QColor(0, 255, 255), QPalette::Base);
    pel::setHint(Edit2, QStringLiteral("絵画文字入力BOX|絵画する文字を入力して下さい｡"));

    auto* drawText = new QToolButton(ToolBar3);
    drawText->setObjectName(QStringLiteral("ToolButton21"));
    drawText->setIcon(pel::paintIcon(29));
    drawText->setAutoRaise(true);
    pel::setHint(drawText, QStringLiteral("文字絵画スタート|文字を絵画します"));
    connect(drawText, &QToolButton::clicked, this, &TForm6::ToolButton21Click);

    toolBar3DrawingStart_ = ToolBar3->addWidget(Label1);
    ToolBar3->addSeparator();
    ToolBar3->addWidget(widthBox);
    ToolBar3->addSeparator();
    ToolBar3->addWidget(Label2);
    ToolBar3->addSeparator();
    ToolBar3->addWidget(textSettings);
    ToolBar3->addSeparator();
    ToolBar3->addWidget(Edit2);
    ToolBar3->addSeparator();
    ToolBar3->addWidget(drawText);
}

void TForm6::setupStyleMenus()
{
    auto addChoices = [this](QMenu* menu, std::span<const pel::ToolChoice> choices) {
        for (const pel::ToolChoice& choice : choices) {
            QAction* action = menu->addAction(QString::fromUtf8(choice.caption));
            action->setObjectName(QString::fromLatin1(choice.name));
            pel::setHint(action, QString::fromUtf8(choice.hint));
            connect(action, &QAction::triggered, this, [this, &choice] { selectTool(choice); });
        }
    };
    N14 = new QMenu(QStringLiteral("ペンスタイル"), this);
    N14->setObjectName(QStringLiteral("N14"));
    N14->menuAction()->setObjectName(QStringLiteral("N14Action"));
    pel::setHint(N14->menuAction(), QStringLiteral("ペンスタイルを選択し設定します"));
    addChoices(N14, pel::penStyleChoices());
    // Listed, but bound to nothing.
    QAction* freeDrawing = N14->addAction(QStringLiteral("フリー絵画"));
    pel::setHint(freeDrawing, QStringLiteral("フリー絵画"));

    N22 = new QMenu(QStringLiteral("ブラシスタイル"), this);
    N22->setObjectName(QStringLiteral("N22"));
    N22->menuAction()->setObjectName(QStringLiteral("N22Action"));
    pel::setHint(N22->menuAction(), QStringLiteral("背景の図柄を選択し設定します"));
    addChoices(N22, pel::brushStyleChoices());
}

void TForm6::showStatus(const QString& text)
{
    static_cast<StatusPanel*>(statusPanels_[0])->setFullText(text);
}

QString TForm6::statusPanel(int index) const
{
    return static_cast<StatusPanel*>(statusPanels_[index])->fullText();
}

// ---- Picture and drawing state

pel::PaintCanvas& TForm6::canvas()
{
    return Image1->canvas();
}

QImage& TForm6::bitmap()
{
    return Image1->canvas().image();
}

void TForm6::replaceBitmap(const QImage& image)
{
    Image1->canvas().replace(image.isNull() ? pel::PaintCanvas::whiteBitmap(0, 0) : image);
    Image1->fitToPicture();
    // A new picture starts unchanged; the commands that put drawn content
    // in place say so after this.
    setPictureChanged(false);
}

void TForm6::replaceShowOnly(const QImage& image, pel::PaintCanvas::Renderer renderer)
{
    Image1->canvas().replaceShowOnly(image, std::move(renderer));
    Image1->fitToPicture();
    setPictureChanged(false);
}

void TForm6::clearPicture()
{
    Image1->canvas().clear();
    Image1->fitToPicture();
    setPictureChanged(false);
}

void TForm6::refreshCanvas()
{
    Image1->update();
}

bool TForm6::canvasReady()
{
    pel::PaintCanvas& c = canvas();
    if (c.content() == pel::PaintCanvas::Content::None) {
        // A canvas without a picture draws on a new bitmap of its size.
        c.replaceWithWhite(Image1->width(), Image1->height());
        return true;
    }
    if (c.isBitmap())
        return true;
    pel::prompts().applicationError(this, kNeedsBitmap);
    return false;
}

void TForm6::repaintCanvas(const QRect& pictureRect)
{
    // Every drawing repaints what it changed.
    if (!pictureRect.isEmpty())
        setPictureChanged(true);
    Image1->updatePictureRect(pictureRect);
}

// ---- Canvas, tools and drawing

void TForm6::Image1MouseDown(Qt::MouseButton button, QPoint pos)
{
    perform(drag_->press(button, pos));
}

void TForm6::Image1MouseMove(Qt::MouseButtons buttons, QPoint pos)
{
    static_cast<StatusPanel*>(statusPanels_[1])->setFullText(QStringLiteral("X=%1,Y=%2").arg(pos.x()).arg(pos.y()));
    perform(drag_->move(buttons, pos));
}

void TForm6::Image1MouseUp(Qt::MouseButton button, QPoint pos)
{
    perform(drag_->release(button, pos));
}

void TForm6::perform(const pel::ToolDrag::Step& step)
{
    if (step.takeSnapshot)
        TakeUndoSnapshot();
    repaintCanvas(step.changed);
}

void TForm6::TakeUndoSnapshot()
{
    const int w = Image1->width();
    const int h = Image1->height();
    pel::PaintCanvas snapshot;
    snapshot.replaceWithWhite(w, h);
    SnapshotDestRect = {0, 0, w, h};
    SnapshotSourceRect = {0, 0, w, h};
    snapshot.copyRect(SnapshotDestRect.toQRect(), canvas().image(), SnapshotSourceRect.toQRect());
    Image2->canvas().replace(snapshot.image());
}

void TForm6::selectTool(const pel::ToolChoice& choice)
{
    drag_->ToolCode = static_cast<quint8>(choice.code);
    if (choice.effect == pel::SelectEffect::None || !canvasReady())
        return;
    pel::PaintCanvas& c = canvas();
    switch (choice.effect) {
    case pel::SelectEffect::None:
        break;
    case pel::SelectEffect::PenStyle:
        c.pen().style = choice.penStyle;
        break;
    case pel::SelectEffect::BrushColour:
        c.brush().color = backgroundColor_;
        break;
    case pel::SelectEffect::FillColours:
        // The drawing colour follows the pen here, not the other way round;
        // after a new picture that makes it black while the swatch keeps
        // its colour.
        drawingColor_ = c.pen().color;
        c.pen().color = drawingColor_;
        c.brush().color = backgroundColor_;
        break;
    }
}

void TForm6::ToolButton11Click()
{
    if (!canvasReady())
        return;
    const QImage& snapshot = Image2->canvas().image();
    if (!Image2->canvas().hasPicture() || snapshot.isNull())
        return;
    repaintCanvas(canvas().copyRect(SnapshotSourceRect.toQRect(), snapshot, SnapshotDestRect.toQRect()));
}

void TForm6::ToolButton7Click()
{
    if (pel::prompts().confirm(this, QStringLiteral("すべてクリアしてもよろしいですか？"), pel::Prompts::Buttons::YesNo)
        != pel::Prompts::Answer::Yes)
        return;
    replaceBitmap(pel::PaintCanvas::whiteBitmap(Image1->width(), Image1->height()));
    canvas().pen().style = pel::PenStyle::Clear;
    setPictureChanged(true);
    refreshCanvas();
}

void TForm6::ToolButton20Click()
{
    execAbove(paintDialogs.textSettings);
}

void TForm6::ToolButton21Click()
{
    if (!canvasReady())
        return;
    TakeUndoSnapshot();
    pel::PaintCanvas& c = canvas();
    c.state().fontColor = drawingColor_;
    c.state().font = fontDialogFont_;
    c.brush().style = pel::BrushStyle::Clear;
    QRect changed = c.textOut(textPosition_, editor_.selectedText());
    changed |= c.textOut(textPosition_, Edit2->text());
    repaintCanvas(changed);
}

void TForm6::ToolButton31Click()
{
    execAbove(paintDialogs.figureMove);
}

int TForm6::execAbove(QDialog* dialog)
{
    if (!dialog)
        return QDialog::Rejected;
    pel::keepAboveOwner(dialog, this);
    return dialog->exec();
}

void TForm6::keyPressEvent(QKeyEvent* event)
{
    // Escape is no way to leave the form without its question: it closes an
    // open overflow of a tool bar, or asks the exit question.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        for (QToolBar* bar : {ToolBar1, ToolBar2, ToolBar3}) {
            auto* more = bar ? bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")) : nullptr;
            if (more && more->isVisible() && more->isChecked()) {
                more->click();
                return;
            }
        }
        ExitImgActionExecute();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm6::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
    // A picture left unsaved by a run that ended is offered once the form is up.
    if (!pictureCopyOffered_)
        QTimer::singleShot(0, this, &TForm6::offerPictureRecovery);
}

void TForm6::FormShow()
{
    const QString hint = pel::applicationHint();
    showStatus(hint.isEmpty() ? pel::hintLongPart(pel::hintOf(Image1)) : hint);
}

// Label1 chooses the drawing colour (the pen's), Label2 the background
// colour (the brush's); the caption stays readable on black and red.
void TForm6::chooseSwatchColour(QLabel* swatch)
{
    if (!canvasReady())
        return;
    const bool pen = swatch == Label1;
    QColor& choice = pen ? drawingColor_ : backgroundColor_;
    if (const auto colour = pel::dialogs().chooseColor(this, choice)) {
        choice = *colour;
        (pen ? canvas().pen().color : canvas().brush().color) = *colour;
        setSwatchColours(swatch, *colour, swatchText(swatch));
    }
    const QColor background = swatchBackground(swatch);
    if (background.rgb() == QColor(Qt::black).rgb())
        setSwatchColours(swatch, background, Qt::red);
    if (background.rgb() == QColor(Qt::red).rgb())
        setSwatchColours(swatch, background, Qt::black);
}

void TForm6::Label1Click()
{
    chooseSwatchColour(Label1);
}

void TForm6::Label2Click()
{
    chooseSwatchColour(Label2);
}

bool TForm6::Edit1KeyPress(int key)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    const QString text = Edit1->text();
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max()) {
        pel::prompts().applicationError(this, pel::notAnIntegerMessage(text));
        return false;
    }
    if (value < -32768 || value > 32767) {
        pel::prompts().applicationError(this, QStringLiteral("範囲チェックエラー"));
        return false;
    }
    UpDown1->setPosition(static_cast<int>(value));
    if (canvasReady())
        canvas().pen().width = UpDown1->position();
    return true;
}

void TForm6::UpDown1Click()
{
    if (canvasReady())
        canvas().pen().width = UpDown1->position();
}

bool TForm6::Image1DragOver(QObject* source) const
{
    // Only another image control's picture can be dropped; dropping the
    // canvas on itself would empty it.
    auto* control = qobject_cast<pel::ImageControl*>(source);
    return control && control != Image1;
}

void TForm6::Image1DragDrop(QObject* source)
{
    if (!Image1DragOver(source))
        return;
    auto* control = qobject_cast<pel::ImageControl*>(source);
    pel::PaintCanvas& from = control->canvas();
    if (from.isBitmap())
        replaceBitmap(from.image());
    else if (from.hasPicture())
        replaceShowOnly(from.image());
    else
        clearPicture();
    setPictureChanged(from.isBitmap());
    from.clear();
    control->update();
    refreshCanvas();
}
