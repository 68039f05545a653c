#include "phrases/PelJava.h"

TForm5* Form5 = nullptr;

PhraseWindowConfig TForm5::configuration()
{
    PhraseWindowConfig config;
    config.objectName = QStringLiteral("TForm5");
    config.caption = QStringLiteral("JavaJava");
    config.listFileName = QStringLiteral("JAVALOG.TXT");
    return config;
}

TForm5::TForm5(pel::EditorPort& editor, QWidget* parent)
    : PhraseListWindow(configuration(), editor, parent)
{
}
