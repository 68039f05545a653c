#pragma once
#include <QString>

namespace pel {

// What a tool window may do with the main window's document: the narrow
// interface tool windows get instead of the main window itself.
class EditorPort {
public:
    virtual ~EditorPort() = default;
    // Replaces the editor's selection with `text` (or inserts it at the
    // caret); the caret ends behind it, nothing stays selected.
    virtual void ReplaceEditorSelection(const QString& text) = 0;
    virtual QString selectedText() const = 0;
    // Shows the about box modally (the tool windows' "情報" buttons).
    virtual void showAboutModal() = 0;
};

} // namespace pel
