// Help, the about box and the author's page and mail address.
#include "main/Pelmain.h"

#include "main/About.h"

#include <QAction>

void TForm1::setupHelpActions()
{
    addCommand(QStringLiteral("HelpAction"), QStringLiteral("ヘルプ"), QStringLiteral("ヘルプ"), 17);
    addCommand(QStringLiteral("AboutAction"), QStringLiteral("バージョン情報"), QStringLiteral("バージョン情報"), 5);
    addCommand(QStringLiteral("VerUpAction"), QStringLiteral("UpDate(最新版)"),
               QStringLiteral("UpDate=作者のホームページへアクセスして最新版を入手してください｡"), 68);
    addCommand(QStringLiteral("EmailAction"), QStringLiteral("EmailAction"), QString(), 66);
    bind(QStringLiteral("HelpAction"), &TForm1::HelpActionExecute);
    bind(QStringLiteral("AboutAction"), &TForm1::AboutActionExecute);
    bind(QStringLiteral("VerUpAction"), &TForm1::VerUpActionExecute);
    bind(QStringLiteral("EmailAction"), &TForm1::EmailActionExecute);
}

void TForm1::HelpActionExecute() {}
void TForm1::AboutActionExecute() { AboutBox->showFromMain(); }
void TForm1::VerUpActionExecute() {}
void TForm1::EmailActionExecute() {}
