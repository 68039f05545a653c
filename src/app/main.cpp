#include "app/Application.h"

int main(int argc, char* argv[])
{
    return PelmoraApp::run(argc, argv);
}
