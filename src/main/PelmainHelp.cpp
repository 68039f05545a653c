// Help, the about box and the author's page and mail address.
#include "main/Pelmain.h"

#include "main/About.h"
#include "platform/HelpSystem.h"
#include "platform/Services.h"

#include <QAction>

void TForm1::setupHelpActions()
{
    addCommands({
        command(QStringLiteral("HelpAction"), QStringLiteral("ヘルプ"), QStringLiteral("ヘルプ"), 17,
                &TForm1::HelpActionExecute),
        {QStringLiteral("AboutAction"), QStringLiteral("バージョン情報"), QStringLiteral("バージョン情報"), 5,
         [] { AboutBox->showFromMain(); }},
        // Shell requests that fail (no browser, no mail program) are not reported.
        {QStringLiteral("VerUpAction"), QStringLiteral("UpDate(最新版)"),
         QStringLiteral("UpDate=作者のホームページへアクセスして最新版を入手してください｡"), 68,
         [] { pel::shell().open(TAboutBox::homePageAddress()); }},
        {QStringLiteral("EmailAction"), QStringLiteral("EmailAction"), QString(), 66,
         [] { pel::shell().open(QStringLiteral("mailto:") + TAboutBox::emailAddress()); }},
    });
}

void TForm1::HelpActionExecute()
{
    // The application's file becomes the bare name; the main window's own
    // help file is the one shown, wherever the application's file points.
    applicationHelpFile_ = QStringLiteral("Pel.HLP");
    pel::help().showTopics(QStringLiteral("Pel.hlp"));
}

