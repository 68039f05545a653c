// Find and replace.
#include "main/Pelmain.h"

#include <QAction>

void TForm1::setupFindActions()
{
    addCommand(QStringLiteral("FindAction"), QStringLiteral("検索"), QStringLiteral("検索"), 9);
    addCommand(QStringLiteral("ReplaceAction"), QStringLiteral("置き換え"), QStringLiteral("置き換え"), 10);
    bind(QStringLiteral("FindAction"), &TForm1::FindActionExecute);
    bind(QStringLiteral("ReplaceAction"), &TForm1::ReplaceActionExecute);
}

void TForm1::FindActionExecute() {}
void TForm1::ReplaceActionExecute() {}
void TForm1::clearFindText() {}
