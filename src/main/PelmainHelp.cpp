// Help, the about box and the author's page and mail address.
#include "main/Pelmain.h"

#include "main/About.h"
#include "platform/HelpSystem.h"
#include "platform/Services.h"

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

void TForm1::HelpActionExecute()
{
    // The application's file becomes the bare name; the main window's own
    // help file is the one shown, wherever the application's file points.
    applicationHelpFile = QStringLiteral("Pel.HLP");
    pel::help().showTopics(QStringLiteral("Pel.hlp"));
}

void TForm1::AboutActionExecute()
{
    AboutBox->showFromMain();
}

// Shell requests that fail (no browser, no mail program) are not reported.
void TForm1::VerUpActionExecute()
{
    pel::shell().open(TAboutBox::homePageAddress());
}

void TForm1::EmailActionExecute()
{
    pel::shell().open(QStringLiteral("mailto:") + TAboutBox::emailAddress());
}
