// The phrase registers as the main window sees them: the phrase bar, its
// hidden commands and the restore commands.
#include "main/Pelmain.h"

#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseBar.h"
#include "phrases/PhraseList.h"
#include "phrases/PhraseRegister.h"
#include "platform/Services.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QToolBar>

void TForm1::setupPhraseActions()
{
    addCommand(QStringLiteral("COMBbakAction"), QStringLiteral("TextBox"),
               QStringLiteral("NewTextBoxのデーターを復元します｡"), -1);
    addCommand(QStringLiteral("JAVAAction"), QStringLiteral("JavaBox"),
               QStringLiteral("JavaListBoxのテーターを復元します｡"), -1);
    addCommand(QStringLiteral("ListAction"), QStringLiteral("ListBox"),
               QStringLiteral("ListBoxのデーターを復元します｡"), -1);
    bind(QStringLiteral("COMBbakAction"), &TForm1::COMBbakActionExecute);
    bind(QStringLiteral("JAVAAction"), &TForm1::JAVAActionExecute);
    bind(QStringLiteral("ListAction"), &TForm1::ListActionExecute);

    // The phrase bar's "↑" and "↓" as commands; nothing is bound to them.
    addCommand(QStringLiteral("ItemUPAction"), QStringLiteral("上へ"), QStringLiteral("上へ"), -1)
        ->setProperty("category", QStringLiteral("ToolMenu"));
    addCommand(QStringLiteral("ItemDownAction"), QStringLiteral("下へ"), QStringLiteral("下へ"), -1)
        ->setProperty("category", QStringLiteral("ToolMenu"));
    bind(QStringLiteral("ItemUPAction"), &TForm1::ItemUPActionExecute);
    bind(QStringLiteral("ItemDownAction"), &TForm1::ItemDownActionExecute);

    setupPhraseBar();
}

void TForm1::setupPhraseBar()
{
    pel::PhraseBar::Hooks hooks;
    hooks.showPaintForm = [this] { action(QStringLiteral("PaintAction"))->trigger(); };
    hooks.showDateTool = [this] { action(QStringLiteral("DateTMAction"))->trigger(); };
    hooks.replaceDocument = [this](const QString& text) { replaceDocumentText(text); };
    phraseBar_ = new pel::PhraseBar(ToolBar3, *phraseList_, *this, std::move(hooks));
    // The bar is long: it starts a row of its own, so none of its controls
    // ends up in the overflow menu beside the menu buttons.
    insertToolBarBreak(ToolBar3);
}

void TForm1::ItemUPActionExecute()
{
    phraseBar_->UpSpButtonClick();
}

void TForm1::ItemDownActionExecute()
{
    phraseBar_->DownSpButtonClick();
}

void TForm1::replaceDocumentText(const QString& text)
{
    // One edit through a cursor, so the change indicator and the modified
    // flag follow as for typing, and Undo can bring the old text back.
    QTextCursor cursor(RichEdit1->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text, pel::DocumentEditor::insertionFormat(cursor));
    RichEdit1->setTextCursor(cursor);
}

void TForm1::COMBbakActionExecute()
{
    phraseRegister_->restore(this);
}

void TForm1::ListActionExecute()
{
    if (Form3)
        Form3->phraseRegister().restore(this);
}

void TForm1::JAVAActionExecute()
{
    if (Form5)
        Form5->phraseRegister().restore(this);
}
