#pragma once
#include <QStringList>

// Creates the thirteen windows once, in their fixed order, and destroys
// them at the end. Tests create and destroy the same set.
namespace PelmoraApp {
void createWindows(const QStringList& arguments);
void destroyWindows();
int run(int argc, char* argv[]);
}
