#include "paint/PelPreview.h"

TForm12* Form12 = nullptr;

TForm12::TForm12(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QStringLiteral("Preview"));
}
