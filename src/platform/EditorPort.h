#pragma once
#include <QString>

namespace pel {

// What commands may do with the document's text: the selection replaced,
// and read. The document session implements it.
class TextPort {
public:
    virtual ~TextPort() = default;
    // Replaces the editor's selection with `text` (or inserts it at the
    // caret); the caret ends behind it, nothing stays selected.
    virtual void ReplaceEditorSelection(const QString& text) = 0;
    virtual QString selectedText() const = 0;
};

// What a tool window may do with the main window: the narrow interface
// tool windows get instead of the main window itself.
class EditorPort : public TextPort {
public:
    // Shows the about box modally (the tool windows' "情報" buttons).
    virtual void showAboutModal() = 0;
};

} // namespace pel
