#pragma once
#include <QStringList>

// Creates the thirteen windows once, in their fixed order, and destroys
// them at the end. Tests create and destroy the same set.
namespace PelmoraApp {
void createWindows(const QStringList& arguments);
void destroyWindows();
// Names, Japanese dialogs, icon theme and fonts: what every start sets up.
void configureApplication();
int run(int argc, char* argv[]);
}
