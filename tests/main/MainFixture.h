#pragma once
// The whole program's windows over a scripted environment, for tests that
// drive the main window the way a user does.
#include "app/Application.h"
#include "main/Pelmain.h"
#include "support/EditorDriver.h"
#include "support/TestServices.h"

#include <QAction>
#include <memory>

struct MainFixture {
    std::unique_ptr<pel::test::TestEnvironment> env = std::make_unique<pel::test::TestEnvironment>();

    void start(const QStringList& arguments = {})
    {
        PelmoraApp::createWindows(arguments);
    }
    ~MainFixture()
    {
        if (Form1)
            PelmoraApp::destroyWindows();
    }
    TForm1& main() const { return *Form1; }
    pel::DocumentView& editor() const { return *Form1->findChild<pel::DocumentView*>(QStringLiteral("RichEdit1")); }
    pel::DocumentSession& session() const { return Form1->session(); }
    pel::test::EditorDriver driver() const { return pel::test::EditorDriver(editor()); }
    void run(const char* command) const { Form1->action(QString::fromLatin1(command))->trigger(); }
    // A control of the main window by its name.
    template <typename T>
    T* child(const char* name) const { return Form1->findChild<T*>(QString::fromLatin1(name)); }
};
