#include "app/Application.h"

#include "main/About.h"
#include "main/MainImages.h"
#include "main/Pelmain.h"
#include "paint/ImageSize.h"
#include "paint/PelFont.h"
#include "paint/PelPaint.h"
#include "paint/PelPreview.h"
#include "paint/PelSizepas.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "platform/Fonts.h"
#include "platform/Services.h"
#include "tools/PelPlayer.h"
#include "tools/PelTime.h"
#include "tools/PelTool.h"
#include "tools/Pelnew.h"

#include <QApplication>

namespace PelmoraApp {

void createWindows(const QStringList& arguments)
{
    Form1 = new TForm1(arguments);
    pel::EditorPort& editor = *Form1;
    AboutBox = new TAboutBox(Form1);
    Form2 = new TForm2(editor, Form1);
    Form3 = new TForm3(editor, Form1);
    Form4 = new TForm4(editor, Form1);
    Form5 = new TForm5(editor, Form1);
    TForm7::iconSource = &MainImages::icon;
    Form7 = new TForm7(editor, Form1);
    Form6 = new TForm6(editor, Form1);
    Form6->endProgram = [] { return Form1->close(); };
    Form9 = new TForm9(editor, Form1);
    Form8 = new TForm8(editor, Form1);
    Form10 = new TForm10(editor, Form1);
    Form11 = new TForm11(editor, Form1);
    Form12 = new TForm12(editor, Form1);
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

int run(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    // No display name: the toolkit would append it to every window's caption
    // ("Fontの位置 — Pelmora"), and the captions are exactly as specified.
    QApplication::setOrganizationName(QStringLiteral("ZELVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    pel::installFontSubstitutions();
    pel::installSystemServices();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    createWindows(arguments.mid(0, 1));
    Form1->show();
    const int code = app.exec();
    destroyWindows();
    return code;
}

} // namespace PelmoraApp
