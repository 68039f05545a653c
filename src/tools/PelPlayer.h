#pragma once
#include "platform/MediaService.h"

#include <QDialog>
#include <QIcon>
#include <functional>
#include <memory>

namespace pel { class EditorPort; }
class MediaPlayerBar;
class QLabel;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;

// "PelMediaPlayer": plays one sound or video file or the music CD at a time
// and shows the CD's track and time once a second. Hiding the window leaves
// the medium playing; it closes when the window is destroyed.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(pel::EditorPort& editor, QWidget* parent = nullptr);
    ~TForm7() override;

    // The main window's pictures by number; set before the window is made.
    // Without it the buttons draw glyphs of their own.
    static std::function<QIcon(int)> iconSource;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QWidget* DisplayPanel = nullptr;
    QWidget* VideoArea = nullptr;  // the part of DisplayPanel that video may cover
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    MediaPlayerBar* MediaPlayer1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel = nullptr;  // the status line's one panel
    QTimer* Timer1 = nullptr;

    // The medium to open next, as the two commands set it.
    pel::MediaService::Device DeviceType = pel::MediaService::Device::Automatic;
    QString FileName;
    bool Shareable = false;

    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton3Click();
    void Timer1Timer();

    QString statusText() const;

protected:
    // An ordinary window: Escape does not close it, only its close box and
    // the Exit button do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool openMedium();

    pel::EditorPort& editor_;
    std::shared_ptr<pel::MediaService> media_;
};

extern TForm7* Form7;
