#pragma once
#include "paint/PaintCanvas.h"

#include <QDialog>
#include <QImage>
#include <QSize>
#include <optional>

class QLabel;
class QPrinter;
class QScrollArea;
class QToolButton;
class QWidget;

namespace pel {

// Where the picture goes on the preview page and on paper. The preview is
// the printer page at one fifth; the margin of 10 is counted in the
// target's own pixels on both.
struct PreviewGeometry {
    static constexpr int kMargin = 10;
    // No scale beyond this, whatever the page: keeps every product in range.
    static constexpr int kMaxScale = 1 << 16;

    static EdgeRect previewTarget(QSize picture, int scale);
    static EdgeRect printTarget(QSize picture, int scale);
    static QSize previewPage(QSize printerPage);
    // The doubled scale, or nothing when the doubled picture would no longer
    // fit on the printer page.
    static std::optional<int> enlarged(int scale, QSize picture, QSize printerPage);
};

} // namespace pel

class TForm12 : public QDialog {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);

    // The picture the preview shows and prints.
    void setPicture(const pel::PaintCanvas* canvas) { canvas_ = canvas; }
    // PreviewScale := 2, then the layout and the rendering. False (after the
    // error display) when the printer cannot say its page size.
    bool preparePreview();
    // Prepares the preview of the picture set, and shows it modally when it
    // could.
    int exec() override;

    void LayoutPreview();
    void RenderPreview();
    void ScalePlusButtonClick();
    void ScaleMinusButtonClick();
    void PrintButtonClick();
    bool choosePdfFile(QPrinter& printer);
    void CancelButtonClick();

    const QImage& previewPage() const { return page_; }
    QSize printerPage() const;

    qint32 PreviewScale = 2;

    QWidget* Panel1 = nullptr;
    QToolButton* ScalePlusButton = nullptr;
    QToolButton* ScaleMinusButton = nullptr;
    QToolButton* PrintButton = nullptr;
    QToolButton* CancelButton = nullptr;
    QLabel* Label1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QLabel* Image1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize pictureSize() const;
    QToolButton* makeSpeedButton(const char* name, const QString& caption, int left);

    const pel::PaintCanvas* canvas_ = nullptr;
    QImage page_;
};

extern TForm12* Form12;
