#include "paint/PelPaint.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("PelPaint"));
}
