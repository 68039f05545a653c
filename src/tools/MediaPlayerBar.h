#pragma once
#include "platform/MediaService.h"

#include <QWidget>
#include <array>
#include <memory>

class QToolButton;

// The transport bar: nine buttons that act on whatever medium the service
// has open. It opens nothing itself; its buttons follow the medium's
// capabilities and mode.
class MediaPlayerBar : public QWidget {
    Q_OBJECT
public:
    enum Button { Play, Pause, Stop, Next, Previous, Step, Back, Record, Eject };
    static constexpr int ButtonCount = 9;
    using EnabledStates = std::array<bool, ButtonCount>;

    // Which buttons an open (or closed) medium allows.
    static EnabledStates enabledStates(bool open, pel::MediaService::Capabilities caps,
                                       pel::MediaService::Mode mode);

    MediaPlayerBar(std::shared_ptr<pel::MediaService> media, QWidget* parent = nullptr);

    QToolButton* button(Button which) const { return buttons_[which]; }
    void click(Button which);

    // How far step and back move, in frames.
    int frames() const { return frames_; }
    void setFrames(int frames) { frames_ = frames; }

private:
    void updateButtons();

    std::shared_ptr<pel::MediaService> media_;
    std::array<QToolButton*, ButtonCount> buttons_{};
    int frames_ = 1;
};
