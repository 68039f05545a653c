#pragma once
#include <QAccessibleWidget>

namespace pel {

class DocumentView;

// What a screen reader reads of the editor: its text by lines, words and
// characters, the caret and the selection, read from the document without
// copying it whole.
class ViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ViewAccessible(DocumentView* view);

    // Makes the toolkit hand this out for every DocumentView.
    static void install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    void selection(int index, int* start, int* end) const override;
    int selectionCount() const override;
    void addSelection(int start, int end) override;
    void removeSelection(int index) override;
    void setSelection(int index, int start, int end) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int start, int end) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int start, int end) override;
    QString attributes(int offset, int* start, int* end) const override;

private:
    DocumentView* view() const;
};

} // namespace pel
