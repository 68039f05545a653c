// Find and replace.
#include "main/Pelmain.h"

#include "main/DocumentText.h"
#include "main/FindReplaceDialogs.h"
#include "main/TextSearch.h"
#include "platform/Prompts.h"
#include "platform/Services.h"

#include <QAction>
#include <QScreen>
#include <QTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

void TForm1::setupFindActions()
{
    addCommand(QStringLiteral("FindAction"), QStringLiteral("検索"), QStringLiteral("検索"), 9);
    addCommand(QStringLiteral("ReplaceAction"), QStringLiteral("置き換え"), QStringLiteral("置き換え"), 10);
    bind(QStringLiteral("FindAction"), &TForm1::FindActionExecute);
    bind(QStringLiteral("ReplaceAction"), &TForm1::ReplaceActionExecute);

    documentText_ = new pel::DocumentText(RichEdit1->document(), this);
    FindDialog1 = new FindDialog(this);
    ReplaceDialog1 = new ReplaceDialog(this);
    connect(FindDialog1, &FindDialog::findNext, this, &TForm1::FindDialog1Find);
    // Either button replaces one occurrence per press.
    connect(ReplaceDialog1, &ReplaceDialog::replace, this, &TForm1::ReplaceDialog1Replace);
    connect(ReplaceDialog1, &ReplaceDialog::replaceAll, this, &TForm1::ReplaceDialog1Replace);
}

namespace {

// Once the window manager has framed `window`, moves it down if its caption
// lies above the screen, where it could be neither moved nor closed.
void keepCaptionOnScreen(QWidget* window, int tries)
{
    QTimer::singleShot(20, window, [window, tries] {
        if (!window->isVisible())
            return;
        if (window->frameGeometry() == window->geometry()) {  // not framed yet
            if (tries > 0)
                keepCaptionOnScreen(window, tries - 1);
            return;
        }
        const QRect area = window->screen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        if (frame.top() < area.top())
            window->move(frame.left(), area.top());
    });
}

} // namespace

void TForm1::FindActionExecute()
{
    // The dialog goes to the top edge of the screen: its left edge at the
    // editor's top offset in the window, its top at the editor's left offset.
    // Placed before it shows: a window just mapped has no frame yet, and a
    // move then would put its caption above the screen.
    const QRect editor = RichEdit1->geometry();
    FindDialog1->move(editor.top(), editor.left());
    FindDialog1->show();
    FindDialog1->raise();
    FindDialog1->activateWindow();
    keepCaptionOnScreen(FindDialog1, 50);
}

void TForm1::ReplaceActionExecute()
{
    ReplaceDialog1->show();
    ReplaceDialog1->raise();
    ReplaceDialog1->activateWindow();
}

void TForm1::clearFindText()
{
    FindDialog1->setFindText(QString());
}

void TForm1::ScrollLineToTop(int line)
{
    RichEdit1->setFocus();
    // The editor's vertical scroll bar stands at the first visible display
    // line; it stops where the text ends.
    RichEdit1->verticalScrollBar()->setValue(line);
}

void TForm1::FindDialog1Find()
{
    const QString needle = FindDialog1->findText();
    const QTextCursor cursor = RichEdit1->textCursor();
    const DisplayLine caretLine = displayLineAt(cursor.selectionStart());
    // The raw text keeps its paragraph separators: a search text with a
    // line break never matches anyway, and positions are the editor's.
    const QString& text = documentText_->text();

    if (FindDialog1->searchDown()) {
        // The first line at or below the caret's that holds the text comes
        // to the top; the match selected is the first one behind the
        // current selection (from the top when nothing is selected).
        const qsizetype lineMatch = pel::TextSearch::findDown(text, needle, caretLine.start);
        if (lineMatch >= 0) {
            const int from = cursor.hasSelection() ? cursor.selectionEnd() : 0;
            const qsizetype at = pel::TextSearch::indexOf(text, needle, from);
            if (at >= 0) {
                ScrollLineToTop(displayLineAt(int(lineMatch)).number);
                QTextCursor selection = RichEdit1->textCursor();
                selection.setPosition(int(at));
                selection.setPosition(int(at + needle.size()), QTextCursor::KeepAnchor);
                RichEdit1->setTextCursor(selection);
                return;
            }
        }
    } else {
        // Going up only scrolls: nothing is selected, the caret stays.
        const qsizetype lineMatch = pel::TextSearch::findUp(text, needle, caretLine.start + caretLine.length);
        if (lineMatch >= 0) {
            ScrollLineToTop(displayLineAt(int(lineMatch)).number);
            return;
        }
    }
    pel::prompts().message(this, needle + QStringLiteral("は、見つかりません。"));
}

void TForm1::ReplaceDialog1Replace()
{
    // Always the first occurrence in the whole document; the caret and the
    // selection do not matter.
    const QString needle = ReplaceDialog1->findText();
    pel::TextSearch::Match match;
    {
        // Line breaks need the '\n' form of the text only when the search
        // text has one; otherwise the kept text gives the same positions.
        // (Scoped, so the edit below does not copy the kept text.)
        const bool breaks = needle.contains(u'\r') || needle.contains(u'\n');
        const QString text = breaks ? editorText() : documentText_->text();
        match = pel::TextSearch::findInDocument(text, needle);
    }
    if (match.position < 0) {
        pel::prompts().error(this, needle + QStringLiteral("\" は見つかりませんでした。"));
        return;
    }
    QTextCursor selection = RichEdit1->textCursor();
    selection.setPosition(int(match.position));
    selection.setPosition(int(match.position + match.length), QTextCursor::KeepAnchor);
    RichEdit1->setTextCursor(selection);
    ReplaceEditorSelection(ReplaceDialog1->replaceText());
}
