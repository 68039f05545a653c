#include "app/Application.h"

#include "app/CommandLine.h"

#include "main/About.h"
#include "main/MainImages.h"
#include "main/Pelmain.h"
#include "platform/EditorPort.h"
#include "paint/ImageSize.h"
#include "paint/PelFont.h"
#include "paint/PelPaint.h"
#include "paint/PelPreview.h"
#include "paint/PelSizepas.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "platform/Fonts.h"
#include "platform/Prompts.h"
#include "platform/GlyphIcons.h"
#include "platform/Localization.h"
#include "platform/Services.h"
#include "platform/SessionEnd.h"
#include "tools/PelPlayer.h"
#include "tools/PelTime.h"
#include "tools/PelTool.h"
#include "tools/Pelnew.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace PelmoraApp {

namespace {

// The paint form opens its dialogs, and follows the text position and the
// figure offset they hold; the preview shows the form's canvas.
void connectPaintDialogs()
{
    Form6->paintDialogs = {Form8, Form9, Form10, Form12};
    Form12->setPicture(&Form6->canvas());
    QObject::connect(Form8, &TForm8::textPositionChanged, Form6, &TForm6::setTextPosition);
    QObject::connect(Form10, &TForm10::figureOffsetChanged, Form6, &TForm6::setFigureOffset);
    Form6->setTextPosition(Form8->textPosition());
    Form6->setFigureOffset(Form10->figureOffset());
}

} // namespace

void createWindows(const QStringList& arguments)
{
    Form1 = new TForm1(arguments);
    pel::EditorPort& editor = Form1->editorPort();
    AboutBox = new TAboutBox(Form1);
    Form2 = new TForm2(editor, Form1);
    Form3 = new TForm3(editor, Form1);
    Form4 = new TForm4(editor, Form1);
    Form5 = new TForm5(editor, Form1);
    TForm7::iconSource = &MainImages::icon;
    Form7 = new TForm7(editor, Form1);
    Form6 = new TForm6(editor, Form1);
    Form6->endProgram = [] { return Form1->close(); };
    Form9 = new TForm9(*Form6, Form1);
    Form8 = new TForm8(*Form6, Form1);
    Form10 = new TForm10(*Form6, Form1);
    Form11 = new TForm11(editor, Form1);
    Form12 = new TForm12(Form1);
    connectPaintDialogs();
}

void destroyWindows()
{
    // The tool windows go first (each saves its own register), then the main
    // window with the phrase bar's register.
    QWidget* const windows[] = {Form12, Form11, Form10, Form8, Form9, Form6, Form7,
                                Form5, Form4, Form3, Form2, AboutBox};
    for (QWidget* window : windows)
        delete window;
    Form12 = nullptr; Form11 = nullptr; Form10 = nullptr; Form8 = nullptr; Form9 = nullptr;
    Form6 = nullptr; Form7 = nullptr; Form5 = nullptr; Form4 = nullptr; Form3 = nullptr;
    Form2 = nullptr; AboutBox = nullptr;
    delete Form1;
    Form1 = nullptr;
}

void configureApplication()
{
    // No display name: the toolkit would append it to every caption.
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setOrganizationName(QStringLiteral("ZELVO"));
    QGuiApplication::setDesktopFileName(QStringLiteral("example.pelmora.Pelmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    pel::installJapaneseUi();
    pel::installIconTheme();
    pel::installFontSubstitutions();
}

int run(int argc, char* argv[])
{
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = CommandLine::parse(raw);
    if (line.action != CommandLine::Action::Run) {
        const QString text = line.action == CommandLine::Action::Help ? CommandLine::usage() : CommandLine::version();
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    // The toolkit never sees what follows "--", so it cannot take a file
    // name for one of its own options.
    int toolkitArgc = int(line.toolkitArguments.size());
    QApplication app(toolkitArgc, argv);
    configureApplication();
    pel::installSystemServices();
    // The services own Qt objects (the help window, the media player), which
    // must go before the application object on every way out.
    struct ServicesReset {
        ~ServicesReset() { pel::resetServices(); }
    } servicesReset;

    // A signal or the end of the desktop session stores what the user has
    // before the program goes; the windows then write their registers as at
    // every end. Set up before the windows: a signal that comes while they
    // are being created waits until they exist.
    pel::SessionEnd sessionEnd;
    bool running = false;
    bool endedEarly = false;
    QObject::connect(&sessionEnd, &pel::SessionEnd::ending, &app, [&running, &endedEarly](bool quit) {
        if (quit)
            pel::services().prompts = std::make_shared<pel::SilentPrompts>();
        if (!running) {
            endedEarly = endedEarly || quit;
            // A message of the start-up (a bad setting, an unreadable
            // register) may be open with nobody to answer it: its own loop
            // ends here, and the windows are made without further messages.
            if (quit)
                QCoreApplication::exit(0);
            return;
        }
        Form1->storeForSessionEnd(quit);
        if (quit)
            QCoreApplication::exit(0);
    });

    const QString file = line.file(QApplication::arguments());
    createWindows(file.isEmpty() ? QStringList() : QStringList{file});
    if (endedEarly) {
        Form1->storeForSessionEnd(true);
        destroyWindows();
        return 0;
    }

    Form1->show();
    QTimer::singleShot(0, Form1, &TForm1::startWork);
    running = true;
    const int code = app.exec();
    destroyWindows();
    return code;
}

} // namespace PelmoraApp
