#pragma once
// Drives the main window's editor the way a user does (keys and clicks into
// the view) and reads what the document session holds, so window tests
// never reach into the view's own text document.
#include "view/DocumentView.h"
#include "main/Pelmain.h"
#include "text/DocumentSession.h"

#include <QCoreApplication>
#include <QTest>

namespace pel::test {

class EditorDriver {
public:
    explicit EditorDriver(DocumentView& view) : view_(view) {}

    DocumentView& view() const { return view_; }
    DocumentSession& session() const { return view_.session(); }

    QString text() const { return session().text(); }
    // A text put in as by a command, in no file.
    void setText(const QString& text) const { session().restore(text, {}, {}); }
    void select(qsizetype from, qsizetype length) const { session().select(from, from + length); }
    void placeCaret(qsizetype at) const { select(at, 0); }
    Selection selection() const { return session().selection(); }
    qsizetype caret() const { return session().selection().position; }
    QString selectedText() const { return session().selectedTextAsIs(); }

    void type(const QString& keys) const
    {
        view_.setFocus();
        QTest::keyClicks(&view_, keys);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const
    {
        view_.setFocus();
        QTest::keyClick(&view_, key, modifiers);
    }
    // Where the caret stands before `position`, in the view's coordinates.
    QRect caretRect(qsizetype position) const { return view_.caretRect(position); }
    qsizetype positionAt(QPoint point) const { return view_.positionAt(point); }
    void clickAt(qsizetype position) const
    {
        const QRect rect = caretRect(position);
        QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, QPoint(rect.left() + 1, rect.center().y()));
        QCoreApplication::processEvents();
    }
    int firstVisibleLine() const { return view_.firstVisibleDisplayLine(); }
    bool undoable() const { return session().document().history().canUndo(); }

private:
    DocumentView& view_;
};

// The main window's editor, and its controls by name.
inline EditorDriver mainEditor()
{
    return EditorDriver(*Form1->findChild<DocumentView*>(QStringLiteral("RichEdit1")));
}
template <typename T>
T* mainChild(const char* name)
{
    return Form1->findChild<T*>(QString::fromLatin1(name));
}

} // namespace pel::test
