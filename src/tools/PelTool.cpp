#include "tools/PelTool.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("ColorControl"));
}
