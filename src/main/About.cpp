#include "main/About.h"

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
}

void TAboutBox::showFromMain()
{
    show();
    raise();
    activateWindow();
}

void TAboutBox::showModalFromTool()
{
    exec();
}
