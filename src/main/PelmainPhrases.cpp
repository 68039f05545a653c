// The phrase registers as the main window sees them: the phrase bar, its
// hidden commands and the restore commands.
#include "main/Pelmain.h"

#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseBar.h"
#include "phrases/PhraseList.h"
#include "phrases/PhraseRegister.h"
#include "platform/Services.h"
#include "text/DocumentSession.h"
#include "text/TextMime.h"

#include <QAction>
#include <QToolBar>

void TForm1::setupPhraseActions()
{
    addCommands({
        {QStringLiteral("COMBbakAction"), QStringLiteral("TextBox"), QStringLiteral("NewTextBoxのデーターを復元します｡"), -1,
         [this] { phraseRegister_->restore(this); }},
        {QStringLiteral("JAVAAction"), QStringLiteral("JavaBox"), QStringLiteral("JavaListBoxのテーターを復元します｡"), -1,
         [this] {
             if (Form5)
                 Form5->phraseRegister().restore(this);
         }},
        {QStringLiteral("ListAction"), QStringLiteral("ListBox"), QStringLiteral("ListBoxのデーターを復元します｡"), -1,
         [this] {
             if (Form3)
                 Form3->phraseRegister().restore(this);
         }},
        // The phrase bar's "↑" and "↓" as commands; nothing is bound to them.
        {QStringLiteral("ItemUPAction"), QStringLiteral("上へ"), QStringLiteral("上へ"), -1,
         [this] { phraseBar_->UpSpButtonClick(); }},
        {QStringLiteral("ItemDownAction"), QStringLiteral("下へ"), QStringLiteral("下へ"), -1,
         [this] { phraseBar_->DownSpButtonClick(); }},
    });
    action(QStringLiteral("ItemUPAction"))->setProperty("category", QStringLiteral("ToolMenu"));
    action(QStringLiteral("ItemDownAction"))->setProperty("category", QStringLiteral("ToolMenu"));

    setupPhraseBar();
}

void TForm1::setupPhraseBar()
{
    pel::PhraseBar::Hooks hooks;
    hooks.showPaintForm = [this] { action(QStringLiteral("PaintAction"))->trigger(); };
    hooks.showDateTool = [this] { action(QStringLiteral("DateTMAction"))->trigger(); };
    // Enter replaces the whole text as one edit, which Undo can take back.
    hooks.replaceDocument = [this](const QString& text) { pel::edit::replaceAll(*session_, pel::withNewlines(text)); };
    phraseBar_ = new pel::PhraseBar(ToolBar3, *phraseList_, *editorPort_, std::move(hooks));
    // The bar is long: it starts a row of its own, so none of its controls
    // ends up in the overflow menu beside the menu buttons.
    insertToolBarBreak(ToolBar3);
}

