#include "tools/PelTime.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("PelTime"));
}
