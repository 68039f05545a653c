#include "tools/Pelnew.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Calendar"));
}
