#include "text/EditHistory.h"

#include <utility>

namespace pel {

void EditHistory::begin(const Selection& before)
{
    if (depth_++ == 0)
        open_ = Group{{}, before, before};
}

void EditHistory::end(const Selection& after)
{
    if (depth_ == 0 || --depth_ > 0)
        return;
    if (open_.edits.empty())
        return;
    open_.after = after;
    done_.push_back(std::exchange(open_, Group{}));
    undone_.clear();
}

void EditHistory::record(Edit edit)
{
    if (depth_ > 0) {
        open_.edits.push_back(std::move(edit));
        return;
    }
    // An edit outside any group is a group of its own.
    done_.push_back(Group{{std::move(edit)}, {}, {}});
    undone_.clear();
}

void EditHistory::clear()
{
    done_.clear();
    undone_.clear();
    open_.edits.clear();
}

std::optional<EditHistory::Group> EditHistory::takeUndo()
{
    if (done_.empty() || depth_ > 0)
        return std::nullopt;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return undone_.back();
}

std::optional<EditHistory::Group> EditHistory::takeRedo()
{
    if (undone_.empty() || depth_ > 0)
        return std::nullopt;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return done_.back();
}

} // namespace pel
