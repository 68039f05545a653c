#include "main/About.h"

#include "platform/Fonts.h"
#include "platform/ModalOwner.h"
#include "platform/Services.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadialGradient>
#include <QScreen>
#include <cmath>

TAboutBox* AboutBox = nullptr;

namespace {

// Black panel with a lowered outer and a raised inner bevel.
class BevelPanel final : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect();
        p.fillRect(r, Qt::black);
        const QColor shadow(128, 128, 128);
        const QColor light(255, 255, 255);
        auto bevel = [&p](const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
            p.setPen(topLeft);
            p.drawLine(box.topLeft(), box.topRight());
            p.drawLine(box.topLeft(), box.bottomLeft());
            p.setPen(bottomRight);
            p.drawLine(box.bottomLeft(), box.bottomRight());
            p.drawLine(box.topRight(), box.bottomRight());
        };
        bevel(r, shadow, light);                           // outer, lowered
        bevel(r.adjusted(1, 1, -1, -1), light, shadow);    // inner, raised
    }
};

QFont boxFont(int pixels, bool bold = false, bool underline = false)
{
    QFont font = pel::japaneseFont(pixels, bold);
    font.setUnderline(underline);
    return font;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place,
                  const QColor& colour, const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

// The Japanese fonts that stand in for the dialog's font set Latin text
// wider than the box was drawn for; letters move closer rather than being
// cut off, and the size stays.
void keepInside(QLabel* label)
{
    QFont font = label->font();
    for (int spacing = 100; spacing >= 80; spacing -= 2) {
        font.setLetterSpacing(QFont::PercentageSpacing, spacing);
        if (QFontMetrics(font).horizontalAdvance(label->text()) <= label->width())
            break;
    }
    label->setFont(font);
}

QPointF star(const QPointF& centre, double outer, double inner, int point)
{
    const double angle = -M_PI / 2 + point * M_PI / 5;
    const double radius = point % 2 ? inner : outer;
    return centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
}

} // namespace

QString TAboutBox::homePageAddress()
{
    return QStringLiteral("https://pelmora.example/");
}

QString TAboutBox::emailAddress()
{
    return QStringLiteral("support@pelmora.example");
}

QPixmap TAboutBox::programPicture(int size)
{
    // Drawn on a 128-unit square: a sheet of HTML on a blue tile, a pencil
    // writing on it and the product's star.
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);

    QLinearGradient tile(0, 0, 128, 128);
    tile.setColorAt(0, QColor(0x38, 0xD8, 0xFF));
    tile.setColorAt(1, QColor(0x10, 0x30, 0x90));
    p.setPen(QPen(QColor(0x08, 0x18, 0x50), 2));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(3, 3, 122, 122), 20, 20);

    // The sheet, slightly turned, with its fold.
    p.save();
    p.translate(60, 66);
    p.rotate(-6);
    QPainterPath sheet;
    sheet.moveTo(-34, -44);
    sheet.lineTo(22, -44);
    sheet.lineTo(36, -30);
    sheet.lineTo(36, 46);
    sheet.lineTo(-34, 46);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x30, 0x30, 0x50), 1.5));
    p.setBrush(QColor(0x00, 0x00, 0x20, 70));
    p.drawPath(sheet.translated(3, 3));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(22, -44);
    fold.lineTo(22, -30);
    fold.lineTo(36, -30);
    fold.closeSubpath();
    p.setBrush(QColor(0xD0, 0xE4, 0xF4));
    p.drawPath(fold);
    QFont tag(QStringLiteral("DejaVu Sans Mono"));
    tag.setPixelSize(15);
    tag.setBold(true);
    p.setFont(tag);
    p.setPen(QColor(0xD0, 0x10, 0x10));
    p.drawText(QRectF(-30, -42, 50, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("<P>"));
    p.setPen(QPen(QColor(0x50, 0x80, 0xC0), 3, Qt::SolidLine, Qt::RoundCap));
    const int lengths[] = {56, 44, 60, 36, 50};
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(-28, -14 + i * 11), QPointF(-28 + lengths[i], -14 + i * 11));
    p.restore();

    // The pencil, from the lower right towards the sheet.
    p.save();
    p.translate(74, 96);
    p.rotate(-50);
    p.setPen(QPen(QColor(0x40, 0x20, 0x00), 1.2));
    p.setBrush(QColor(0xFF, 0xC0, 0x20));
    p.drawRect(QRectF(0, -6, 44, 12));
    p.setBrush(QColor(0xF0, 0x90, 0x90));
    p.drawRect(QRectF(44, -6, 8, 12));
    p.setBrush(QColor(0xF0, 0xD8, 0xB0));
    QPolygonF wood;
    wood << QPointF(0, -6) << QPointF(-14, 0) << QPointF(0, 6);
    p.drawPolygon(wood);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    QPolygonF lead;
    lead << QPointF(-9, -2.2) << QPointF(-14, 0) << QPointF(-9, 2.2);
    p.drawPolygon(lead);
    p.restore();

    // The star.
    QPolygonF points;
    for (int i = 0; i < 10; ++i)
        points << star(QPointF(100, 28), 18, 7.5, i);
    QRadialGradient gold(QPointF(97, 24), 20);
    gold.setColorAt(0, QColor(0xFF, 0xFF, 0xB0));
    gold.setColorAt(1, QColor(0xFF, 0xC8, 0x00));
    p.setPen(QPen(QColor(0x90, 0x60, 0x00), 1.5));
    p.setBrush(gold);
    p.drawPolygon(points);
    return pixmap;
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFixedSize(561, 348);
    setFont(boxFont(12));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 561, 321);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(8, 8, 121, 121);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(programPicture(121));

    ProductName = makeLabel(Panel1, QStringLiteral("ProductName"), QStringLiteral("Pelmora"),
                            QRect(136, 56, 410, 64), Qt::red, boxFont(64, true));
    Version = makeLabel(Panel1, QStringLiteral("Version"), QStringLiteral("Version 2.01"),
                        QRect(376, 24, 154, 27), Qt::red, boxFont(27, true));
    Copyright = makeLabel(Panel1, QStringLiteral("Copyright"), QStringLiteral("ホームページ作成エディタ"),
                          QRect(104, 160, 380, 27), Qt::yellow, boxFont(27));
    Comments = makeLabel(Panel1, QStringLiteral("Comments"),
                         QStringLiteral("フリーウェアーソフトです｡自由に出来れば感想をE-メールで送って下さい。"),
                         QRect(104, 184, 369, 42), Qt::yellow, boxFont(21));
    Comments->setWordWrap(true);
    Label1 = makeLabel(Panel1, QStringLiteral("Label1"), emailAddress(), QRect(104, 232, 355, 29),
                       Qt::cyan, boxFont(29, false, true));
    Label2 = makeLabel(Panel1, QStringLiteral("Label2"), homePageAddress(), QRect(104, 272, 435, 27),
                       Qt::cyan, boxFont(27, false, true));
    for (QLabel* line : {ProductName, Version, Copyright, Label1, Label2})
        keepInside(line);
    // The Japanese fonts' lines are a little taller than the boxes were
    // drawn for: a box grows downwards rather than cut its text off.
    for (QLabel* label : {ProductName, Version, Copyright, Comments, Label1, Label2}) {
        const int need = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        label->resize(label->width(), qMax(label->height(), need));
    }
    for (QLabel* link : {Label1, Label2}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(488, 324, 65, 21);
    OKButton->setFont(boxFont(16, true));
    QPalette buttonPalette = OKButton->palette();
    buttonPalette.setColor(QPalette::ButtonText, Qt::red);
    OKButton->setPalette(buttonPalette);
    // Default button for Enter; Escape closes through the dialog's reject.
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::centreOnScreen()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TAboutBox::showFromMain()
{
    if (!isVisible()) {
        centreOnScreen();
        show();
    }
    raise();
    activateWindow();
    OKButton->setFocus();
}

void TAboutBox::showModalFromTool()
{
    // A box left open from the main window becomes the modal one.
    if (isVisible())
        hide();
    // The tool windows stay on top of the program's other windows, so a box
    // that belongs to the main window opens under the one whose button asked
    // for it, and the program looks frozen. While it is modal it belongs to
    // the asking window and stays above every window of the program.
    QWidget* const home = parentWidget();
    const Qt::WindowFlags homeFlags = windowFlags();
    QWidget* const caller = QApplication::activeWindow();
    if (caller && caller != this && caller->isVisible())
        pel::keepAboveOwner(this, caller);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    centreOnScreen();
    OKButton->setFocus();
    exec();
    if (parentWidget() != home || windowFlags() != homeFlags)
        setParent(home, homeFlags);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            if (label == Label1)
                Label1Click();
            else if (label == Label2)
                Label2Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::Label1Click()
{
    // A failed request (no mail program) is not reported.
    pel::shell().open(QStringLiteral("mailto:") + Label1->text());
}

void TAboutBox::Label2Click()
{
    pel::shell().open(Label2->text());
}
