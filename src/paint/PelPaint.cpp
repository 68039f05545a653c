#include "paint/PelPaint.h"

#include <QLabel>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

TForm6* Form6 = nullptr;

TForm6::TForm6(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("PelPaint"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ControlBar1 = new QVBoxLayout;
    ControlBar1->setObjectName(QStringLiteral("ControlBar1"));
    layout->addLayout(ControlBar1);
    ToolBar2 = new QToolBar(QStringLiteral("ツールバー"), this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar3 = new QToolBar(this);
    ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
    ControlBar1->addWidget(ToolBar2);
    ControlBar1->addWidget(ToolBar3);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    layout->addWidget(ScrollBox1, 1);
    StatusBar2 = new QStatusBar(this);
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    layout->addWidget(StatusBar2);
    for (int i = 0; i < 2; ++i) {
        statusPanels_[i] = new QLabel(StatusBar2);
        statusPanels_[i]->setObjectName(QStringLiteral("StatusBar2Panel%1").arg(i));
        statusPanels_[i]->setFixedWidth(i == 0 ? 350 : 50);
        StatusBar2->addWidget(statusPanels_[i]);
    }

    setupFileActions();
}

TForm6::~TForm6() = default;

void TForm6::replaceBitmap(const QImage& image)
{
    replacePicture(image, pel::PictureKind::Bitmap);
}

void TForm6::replacePicture(const QImage& image, pel::PictureKind kind)
{
    canvas_.replace(image, kind);
}

QWidget* TForm6::image1() const
{
    return Image1_;
}

void TForm6::showStatus(const QString& text)
{
    statusPanels_[0]->setText(text);
}

QString TForm6::statusPanel(int index) const
{
    return statusPanels_[index]->text();
}
