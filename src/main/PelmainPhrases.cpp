// The phrase registers as the main window sees them: the restore commands.
#include "main/Pelmain.h"

#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseList.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

#include <QAction>

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
}

void TForm1::restorePhraseList(pel::PhraseList& list, const QString& backupName)
{
    const QString path = pel::ProgramDirectory() + backupName;
    if (!list.LoadPhraseFile(path))
        pel::prompts().applicationError(this, pel::cannotOpenMessage(path));
}

void TForm1::COMBbakActionExecute()
{
    restorePhraseList(*phraseList_, QStringLiteral("COMBOLOG.bak"));
}

void TForm1::ListActionExecute()
{
    if (Form3)
        restorePhraseList(Form3->list(), QStringLiteral("HOMELOG.bak"));
}

void TForm1::JAVAActionExecute()
{
    if (Form5)
        restorePhraseList(Form5->list(), QStringLiteral("JAVALOG.bak"));
}
