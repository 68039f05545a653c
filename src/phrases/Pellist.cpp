#include "phrases/Pellist.h"

TForm3* Form3 = nullptr;

PhraseWindowConfig TForm3::configuration()
{
    PhraseWindowConfig config;
    config.objectName = QStringLiteral("TForm3");
    config.caption = QStringLiteral("ListBox");
    config.listFileName = QStringLiteral("HOMELOG.TXT");
    return config;
}

TForm3::TForm3(pel::EditorPort& editor, QWidget* parent)
    : PhraseListWindow(configuration(), editor, parent)
{
}
