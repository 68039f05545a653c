// Find and replace.
#include "main/Pelmain.h"
#include "platform/EditorPort.h"

#include "view/DocumentView.h"
#include "main/FindReplaceDialogs.h"
#include "main/TextSearch.h"
#include "platform/Prompts.h"
#include "platform/Services.h"

#include <QAction>
#include <QScreen>
#include <QTimer>

void TForm1::setupFindActions()
{
    addCommands({
        command(QStringLiteral("FindAction"), QStringLiteral("検索"), QStringLiteral("検索"), 9, &TForm1::FindActionExecute),
        command(QStringLiteral("ReplaceAction"), QStringLiteral("置き換え"), QStringLiteral("置き換え"), 10,
                &TForm1::ReplaceActionExecute),
    });
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

void TForm1::ScrollLineToTop(int line)
{
    RichEdit1->setFocus();
    RichEdit1->scrollToDisplayLine(line);
}

void TForm1::FindDialog1Find()
{
    const QString needle = FindDialog1->findText();
    const pel::Selection selection = session_->selection();
    const pel::DisplayLine caretLine = RichEdit1->displayLineAt(selection.start());
    const QString text = session_->text();

    if (FindDialog1->searchDown()) {
        // The first line at or below the caret's that holds the text comes
        // to the top; the match selected is the first one behind the
        // current selection (from the top when nothing is selected).
        const qsizetype lineMatch = pel::TextSearch::findDown(text, needle, caretLine.start);
        if (lineMatch >= 0) {
            const qsizetype from = selection.isEmpty() ? 0 : selection.end();
            const qsizetype at = pel::TextSearch::indexOf(text, needle, from);
            if (at >= 0) {
                ScrollLineToTop(RichEdit1->displayLineAt(lineMatch).number);
                session_->select(at, at + needle.size());
                return;
            }
        }
    } else {
        // Going up only scrolls: nothing is selected, the caret stays.
        const qsizetype lineMatch = pel::TextSearch::findUp(text, needle, caretLine.start + caretLine.length);
        if (lineMatch >= 0) {
            ScrollLineToTop(RichEdit1->displayLineAt(lineMatch).number);
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
    // (Scoped, so the edit below does not copy the text.)
    const pel::TextSearch::Match match = [&] {
        const QString text = session_->text();
        return pel::TextSearch::findInDocument(text, needle);
    }();
    if (match.position < 0) {
        pel::prompts().error(this, needle + QStringLiteral("\" は見つかりませんでした。"));
        return;
    }
    session_->select(match.position, match.position + match.length);
    editorPort_->ReplaceEditorSelection(ReplaceDialog1->replaceText());
}
