#include "paint/PelPreview.h"

#include "platform/Dialogs.h"
#include "platform/Fonts.h"
#include "platform/Printing.h"
#include "platform/Prompts.h"
#include "platform/Services.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

TForm12* Form12 = nullptr;

namespace pel {

EdgeRect PreviewGeometry::previewTarget(QSize picture, int scale)
{
    // The product first, then the division, as the page is one fifth.
    const qint64 w = qint64(picture.width()) * scale / 5;
    const qint64 h = qint64(picture.height()) * scale / 5;
    return {kMargin, kMargin, qint32(kMargin + w), qint32(kMargin + h)};
}

EdgeRect PreviewGeometry::printTarget(QSize picture, int scale)
{
    const qint64 w = qint64(picture.width()) * scale;
    const qint64 h = qint64(picture.height()) * scale;
    return {kMargin, kMargin, qint32(qMin<qint64>(kMargin + w, INT32_MAX)),
            qint32(qMin<qint64>(kMargin + h, INT32_MAX))};
}

QSize PreviewGeometry::previewPage(QSize printerPage)
{
    return QSize(printerPage.width() / 5, printerPage.height() / 5);
}

std::optional<int> PreviewGeometry::enlarged(int scale, QSize picture, QSize printerPage)
{
    const qint64 next = qint64(scale) * 2;
    if (next > kMaxScale)
        return std::nullopt;
    if (kMargin + qint64(picture.width()) * next > printerPage.width()
        || kMargin + qint64(picture.height()) * next > printerPage.height())
        return std::nullopt;
    return int(next);
}

} // namespace pel

TForm12::TForm12(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QStringLiteral("Preview"));
    setGeometry(393, 225, 388, 365);
    setFont(pel::japaneseFont(12));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(35);
    Panel1->setAutoFillBackground(true);
    QPalette panel = Panel1->palette();
    panel.setColor(QPalette::Window, QColor(0, 128, 128));   // teal
    panel.setColor(QPalette::WindowText, QColor(0, 255, 0));  // lime
    Panel1->setPalette(panel);
    layout->addWidget(Panel1);

    ScalePlusButton = makeSpeedButton("ScalePlusButton", QStringLiteral("拡大"), 16);
    ScaleMinusButton = makeSpeedButton("ScaleMinusButton", QStringLiteral("縮小"), 56);
    PrintButton = makeSpeedButton("PrintButton", QStringLiteral("印刷"), 136);
    CancelButton = makeSpeedButton("CancelButton", QStringLiteral("終了"), 176);
    connect(ScalePlusButton, &QToolButton::clicked, this, &TForm12::ScalePlusButtonClick);
    connect(ScaleMinusButton, &QToolButton::clicked, this, &TForm12::ScaleMinusButtonClick);
    connect(PrintButton, &QToolButton::clicked, this, &TForm12::PrintButtonClick);
    connect(CancelButton, &QToolButton::clicked, this, &TForm12::CancelButtonClick);

    Label1 = new QLabel(QStringLiteral("Size"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(96, 8);
    Label1->setAlignment(Qt::AlignVCenter | Qt::AlignHCenter);
    Label1->setFont(pel::japaneseFont(16, true));
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    Label1->setPalette(labelPalette);
    Label1->setFixedSize(36, 22);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Window);
    QPalette scrollPalette = ScrollBox1->palette();
    scrollPalette.setColor(QPalette::Window, QColor(0, 128, 128));
    ScrollBox1->setPalette(scrollPalette);
    ScrollBox1->setWidgetResizable(false);
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->resize(369, 289);
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1, 1);
}

QToolButton* TForm12::makeSpeedButton(const char* name, const QString& caption, int left)
{
    auto* button = new QToolButton(Panel1);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAutoRaise(true);
    button->setGeometry(left, 8, 35, 22);
    QFont captionFont = font();
    captionFont.setPixelSize(13);
    captionFont.setBold(true);
    button->setFont(captionFont);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    button->setPalette(palette);
    // Blue while the mouse is held on it, red again on release.
    button->installEventFilter(this);
    return button;
}

bool TForm12::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* button = qobject_cast<QToolButton*>(watched)) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::ButtonText, event->type() == QEvent::MouseButtonPress ? QColor(0, 0, 255)
                                                                                             : QColor(255, 0, 0));
            button->setPalette(palette);
        }
    }
    return QDialog::eventFilter(watched, event);
}

QSize TForm12::printerPage() const
{
    QPrinter& printer = pel::sharedPrinter();
    return QSize(printer.width(), printer.height());
}

QSize TForm12::pictureSize() const
{
    if (!canvas_ || !canvas_->hasPicture())
        return QSize(0, 0);
    return canvas_->image().size();
}

bool TForm12::preparePreview()
{
    if (printerPage().isEmpty()) {
        pel::prompts().applicationError(this, QStringLiteral("プリンタの用紙サイズを取得できません｡"));
        return false;
    }
    PreviewScale = 2;
    LayoutPreview();
    RenderPreview();
    return true;
}

int TForm12::exec()
{
    return preparePreview() ? QDialog::exec() : int(QDialog::Rejected);
}


void TForm12::LayoutPreview()
{
    Image1->resize(pel::PreviewGeometry::previewPage(printerPage()));
    Label1->setText(QString::number(PreviewScale));
}

void TForm12::RenderPreview()
{
    // The page bitmap is made once, at the control's size at that moment.
    if (page_.isNull()) {
        page_ = QImage(Image1->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    }
    page_.fill(Qt::white);
    const QSize picture = pictureSize();
    const QRect target = pel::PreviewGeometry::previewTarget(picture, PreviewScale).toQRect();
    if (canvas_ && canvas_->hasPicture() && !target.isEmpty()) {
        // Only the part that lands on the page is drawn.
        const QRect visible = target.intersected(page_.rect());
        if (!visible.isEmpty()) {
            QPainter painter(&page_);
            if (target.width() * qint64(target.height()) <= 64LL * 1024 * 1024) {
                painter.drawImage(target, canvas_->rendered(target.size()));
            } else {
                painter.drawImage(QRectF(target), canvas_->image(), QRectF(canvas_->image().rect()));
            }
        }
    }
    Image1->setPixmap(QPixmap::fromImage(page_));
}

void TForm12::ScalePlusButtonClick()
{
    const std::optional<int> next = pel::PreviewGeometry::enlarged(PreviewScale, pictureSize(), printerPage());
    if (!next)
        return;
    PreviewScale = *next;
    Label1->setText(QString::number(PreviewScale));
    RenderPreview();
}

void TForm12::ScaleMinusButtonClick()
{
    if (PreviewScale <= 1)
        return;
    PreviewScale /= 2;
    Label1->setText(QString::number(PreviewScale));
    RenderPreview();
}

// Printing to a PDF file (no printer installed): the user names the file,
// and an existing file is replaced only when the user says so.
bool TForm12::choosePdfFile(QPrinter& printer)
{
    const QFileInfo last(printer.outputFileName());
    pel::FileDialogRequest request;
    request.title = QStringLiteral("PDF ファイルに印刷");
    request.directory = printer.outputFileName().isEmpty() ? QDir::homePath() : last.absolutePath();
    request.fileName = printer.outputFileName().isEmpty() ? QStringLiteral("無題.pdf") : last.fileName();
    request.filters = {pel::FileFilter{QStringLiteral("PDF ファイル"), QStringLiteral("*.pdf")}};
    request.defaultSuffix = QStringLiteral("pdf");
    const std::optional<QString> chosen = pel::dialogs().saveFile(this, request);
    if (!chosen)
        return false;
    QString path = QFileInfo(*chosen).absoluteFilePath();
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path)
        && pel::prompts().confirm(this, QStringLiteral("同じ名前のファイルが既に存在しますが上書き保存しますか？ "),
                                  pel::Prompts::Buttons::YesNo)
               != pel::Prompts::Answer::Yes)
        return false;
    printer.setOutputFileName(path);
    return true;
}

void TForm12::PrintButtonClick()
{
    QPrinter& printer = pel::sharedPrinter();
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (toFile && !choosePdfFile(printer))
        return;
    const QSize picture = pictureSize();
    const QRect target = pel::PreviewGeometry::printTarget(picture, PreviewScale).toQRect();
    QPainter painter;
    if (!painter.begin(&printer)) {
        pel::prompts().applicationError(this, pel::printFailureMessage(printer));
        return;
    }
    if (canvas_ && canvas_->hasPicture() && !target.isEmpty())
        painter.drawImage(QRectF(target), canvas_->image(), QRectF(canvas_->image().rect()));
    if (!painter.isActive() || !painter.end()) {
        printer.abort();
        pel::prompts().applicationError(this, pel::printFailureMessage(printer));
        return;
    }
    if (toFile)
        pel::prompts().message(this, QStringLiteral("%1 に印刷しました。")
                                         .arg(QDir::toNativeSeparators(printer.outputFileName())));
}

void TForm12::CancelButtonClick()
{
    close();
}
