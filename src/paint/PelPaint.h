#pragma once
#include "paint/PaintCanvas.h"
#include "paint/PaintFormPort.h"
#include "paint/PaintTools.h"
#include "paint/PictureFile.h"
#include "paint/ToolDrag.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QScrollArea;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;

namespace pel {
class EditorPort;
class HintTracker;
class ImageControl;
class RecoveryStore;
class UpDown;
}

class TForm6 : public QDialog, public pel::PaintFormPort {
    Q_OBJECT
public:
    explicit TForm6(pel::EditorPort& editor, QWidget* parent = nullptr);
    ~TForm6() override;

    // ---- Dialogs
    // The dialogs the form opens above itself, set by the window that
    // creates them; one not set is not opened. The preview shows the canvas.
    struct Dialogs {
        QPointer<QDialog> textSettings;  // ToolButton20
        QPointer<QDialog> pictureSize;   // new picture, free size
        QPointer<QDialog> figureMove;    // ToolButton31
        QPointer<QDialog> preview;       // Print1
    };
    Dialogs paintDialogs;
    // What the text settings and figure move dialogs hold: where the text
    // tool writes and where the fixed-position figures stand.
    QPoint textPosition() const { return textPosition_; }
    void setTextPosition(QPoint at) { textPosition_ = at; }
    void setFigureOffset(pel::FigureOffset offset) { drag_->figureOffset = offset; }

    // ---- Layout (PelPaint.cpp)
    // Tool bars sit in the top area of an inner main window, so they can be
    // moved, floated and closed; the scroll box is its centre.
    QMainWindow* controlBar1() const { return ControlBar1; }
    // Puts the menu bar in the first row, above the tool bars.
    void insertMenuBand(QToolBar* menuBar);
    QToolBar* toolBar2() const { return ToolBar2; }
    QToolBar* toolBar3() const { return ToolBar3; }
    // The first item of the second tool bar's drawing part: the print
    // buttons go in front of it.
    QAction* toolBar3DrawingStart() const { return toolBar3DrawingStart_; }
    QScrollArea* scrollBox1() const { return ScrollBox1; }
    QStatusBar* statusBar2() const { return StatusBar2; }
    // The tool menu's pen-style (N14) and brush-style (N22) entries.
    QMenu* penStyleMenu() const { return N14; }
    QMenu* brushStyleMenu() const { return N22; }
    // Panel 0 of the status bar: hints and messages. Panel 1: mouse position.
    void showStatus(const QString& text) override;
    QString statusPanel(int index) const;

    // ---- Picture and drawing state (PelPaint.cpp)
    // The canvas control and its picture. A picture is replaced only through
    // the replace functions: they reset the drawing state and size the
    // control to the picture (unless it fills the scroll area).
    pel::ImageControl* image1() const { return Image1; }
    pel::PaintCanvas& canvas();
    QImage& bitmap();
    void replaceBitmap(const QImage& image) override;
    void replaceShowOnly(const QImage& image, pel::PaintCanvas::Renderer renderer = {});
    void clearPicture();
    // Repaints the whole canvas control (after the picture changed in place).
    void refreshCanvas();

    // ---- Canvas, tools and drawing (PelPaint.cpp)
    void Image1MouseDown(Qt::MouseButton button, QPoint pos);
    void Image1MouseMove(Qt::MouseButtons buttons, QPoint pos);
    void Image1MouseUp(Qt::MouseButton button, QPoint pos);
    bool Image1DragOver(QObject* source) const;
    void Image1DragDrop(QObject* source);
    // The tool code, the drag's points and the figure offset.
    pel::ToolDrag& toolDrag() { return *drag_; }
    void TakeUndoSnapshot();
    void selectTool(const pel::ToolChoice& choice);
    void ToolButton11Click();  // undo
    void ToolButton7Click();   // clear all
    void ToolButton20Click();  // text settings
    void ToolButton21Click();  // draw text
    void ToolButton31Click();  // fixed-position figure settings
    // Shows a dialog of the form modally, above the form (which stays on top).
    int execAbove(QDialog* dialog);
    void Label1Click();
    void Label2Click();
    // Returns true when the key was consumed.
    bool Edit1KeyPress(int key);
    void UpDown1Click();

    QColor drawingColor() const { return drawingColor_; }
    QColor backgroundColor() const { return backgroundColor_; }
    QFont fontDialogFont() const override { return fontDialogFont_; }
    void setFontDialogFont(const QFont& font) override { fontDialogFont_ = font; }

    pel::EdgeRect SnapshotDestRect;
    pel::EdgeRect SnapshotSourceRect;

    // ---- Picture files, sizes, display, clipboard, settings (PelPaintFile.cpp)
public:
    void setupFileActions();

    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    void NewImgActionExecute();
    void OpenImgActionExecute();
    void SaveImgActionExecute();
    void CloseImgActionExecute();
    void ExitImgActionExecute();
    void Pelmora1Click();
    void imageSizeActionExecute(int width, int height);
    void FreeActionExecute();
    void Stretch1ActionExecute();
    void Center1ActionExecute();
    void ShowActionExecute();
    void ImgCopyActionExecute();
    void ImgCutActionExecute();
    void ImgPasteActionExecute();
    void Print1Execute();
    void ToolButton37Click();
    void PrinterActionExecute();

    // The kind of the picture shown: a bitmap, or what a file was loaded as.
    pel::PictureKind pictureKind() const;

    // ---- The unsaved picture (PelPaintRecovery.cpp)
    // Whether the bitmap was drawn on since it was opened, saved or made.
    bool pictureChanged() const { return pictureChanged_; }
    // At the end of the program: asks whether to save a changed picture
    // (Yes: the save dialog; No: the picture goes). False when the program
    // should go on (Cancel, or the save did not happen).
    bool mayEndProgram();
    // The session ends without a close: a changed picture is kept as a
    // recovery copy, offered the next time the form opens.
    void storeForSessionEnd();
    QString pictureCopyPath() const;
    // Asks the main window to close (which ends the program); true when it
    // did. Set by the application.
    std::function<bool()> endProgram;

    QToolBar* ToolBar1 = nullptr;
    QObject* ActionList1 = nullptr;
    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* ShowMenu = nullptr;
    QMenu* ToolMenu = nullptr;
    // The open dialog's initial folder and the name its field shows.
    QString openDialogDirectory;
    QString openDialogFileName;
    QString saveDialogFileName;

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QAction* fileAction(const char* name, const QString& caption, const QString& hint, const char* category);
    void setupMenuBar();
    void setupPrintButtons();
    void readSettings();
    bool copyPicture();

    pel::PictureKind pictureKind_ = pel::PictureKind::Bitmap;
    QAction* N10 = nullptr;

    // ---- The unsaved picture (PelPaintRecovery.cpp)
    void setupPictureRecovery();
    void setPictureChanged(bool changed);
    void writePictureCopy();
    void offerPictureRecovery();

    bool pictureChanged_ = false;
    bool pictureCopyOffered_ = false;
    std::unique_ptr<pel::RecoveryStore> pictureStore_;
    QTimer* pictureCopyTimer_ = nullptr;
    QAction* N17 = nullptr;

    // ---- Layout (PelPaint.cpp)
private:
    void setupLayout();
    void setupToolBar2();
    void setupToolBar3();
    void setupStyleMenus();

    QMainWindow* ControlBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QAction* toolBar3DrawingStart_ = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QStatusBar* StatusBar2 = nullptr;
    QLabel* statusPanels_[2] = {};
    QMenu* N14 = nullptr;
    QMenu* N22 = nullptr;
    std::unique_ptr<pel::HintTracker> hintTracker_;

    // ---- Canvas, tools and drawing (PelPaint.cpp)
private:
    // False (after telling the user) when the picture cannot be drawn on.
    bool canvasReady();
    void repaintCanvas(const QRect& pictureRect);
    void perform(const pel::ToolDrag::Step& step);
    void chooseSwatchColour(QLabel* swatch);

    pel::EditorPort& editor_;
    pel::ImageControl* Image1 = nullptr;
    pel::ImageControl* Image2 = nullptr;
    QList<QToolButton*> toolButtons_;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    pel::UpDown* UpDown1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QColor drawingColor_ = Qt::black;     // ColorDialog1
    QColor backgroundColor_ = Qt::black;  // ColorDialog2
    QFont fontDialogFont_;                // FontDialog1
    QByteArray startingBars_;             // the bars' rows as the form starts
    QPoint textPosition_{5, 5};
    std::unique_ptr<pel::ToolDrag> drag_;
};

extern TForm6* Form6;
