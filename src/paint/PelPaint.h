#pragma once
#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>

#include "paint/PaintCanvas.h"

class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QSpinBox;
class QStatusBar;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace pel { class EditorPort; }

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(pel::EditorPort& editor, QWidget* parent = nullptr);
    ~TForm6() override;

    // ---- Canvas and drawing state (PelPaint.cpp)
    // The picture and its drawing state. Replacing the picture goes through
    // replacePicture()/replaceBitmap(), which reset the drawing state.
    pel::PaintCanvas& canvas() { return canvas_; }
    QImage& bitmap() { return canvas_.image(); }
    void replaceBitmap(const QImage& image);
    void replacePicture(const QImage& image, pel::PictureKind kind);
    QWidget* image1() const;
    QScrollArea* scrollBox1() const { return ScrollBox1; }
    QStatusBar* statusBar2() const { return StatusBar2; }
    QToolBar* toolBar2() const { return ToolBar2; }
    QToolBar* toolBar3() const { return ToolBar3; }
    // The tool menu's pen-style and brush-style entries, for the menu bar.
    QMenu* penStyleMenu() const { return penStyleMenu_; }
    QMenu* brushStyleMenu() const { return brushStyleMenu_; }
    // The layout the menu bar and tool bars sit in (top of the form).
    QVBoxLayout* controlBar1() const { return ControlBar1; }
    // Panel 0 of the status bar: hints and messages. Panel 1: mouse position.
    void showStatus(const QString& text);
    QString statusPanel(int index) const;

    // ---- Picture files, sizes, display, clipboard, settings (PelPaintFile.cpp)
public:
    void setupFileActions();

private:
    // (members of the file, size, display, clipboard and settings commands)

    // ---- Canvas and drawing state (PelPaint.cpp)
private:
    pel::EditorPort& editor_;
    pel::PaintCanvas canvas_;
    QVBoxLayout* ControlBar1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QStatusBar* StatusBar2 = nullptr;
    QLabel* statusPanels_[2] = {};
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QMenu* penStyleMenu_ = nullptr;
    QMenu* brushStyleMenu_ = nullptr;
    QWidget* Image1_ = nullptr;
};

extern TForm6* Form6;
