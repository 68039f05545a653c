#include "paint/ToolDrag.h"

namespace pel {

ToolDrag::ToolDrag(PaintCanvas& canvas, std::function<bool()> ready)
    : canvas_(canvas), ready_(std::move(ready))
{
}

ToolDrag::Step ToolDrag::press(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton)
        return {};
    // One refusal per press, not one per mouse move of the drag.
    refused_ = !ready();
    if (refused_)
        return {};
    StartPoint = at;
    TrackPoint = at;
    canvas_.moveTo(at);
    return {true, {}};
}

ToolDrag::Step ToolDrag::move(Qt::MouseButtons buttons, QPoint at)
{
    if (!(buttons & Qt::LeftButton) || refused_ || !ready())
        return {};
    if (ToolCode == kFreeHandTool) {
        TrackPoint = at;
        return {false, ApplyTool(TrackPoint, PenMode::Copy)};
    }
    QRect changed = ApplyTool(TrackPoint, PenMode::NotXor);
    TrackPoint = at;
    changed |= ApplyTool(TrackPoint, PenMode::NotXor);
    return {false, changed};
}

ToolDrag::Step ToolDrag::release(Qt::MouseButton button, QPoint at)
{
    if (button != Qt::LeftButton)
        return {};
    if (refused_) {
        refused_ = false;
        return {};
    }
    if (!ready())
        return {};
    return {false, ApplyTool(at, PenMode::Copy)};
}

QRect ToolDrag::ApplyTool(QPoint point, PenMode mode)
{
    return applyTool(canvas_, ToolCode, StartPoint, point, mode, figureOffset);
}

} // namespace pel
