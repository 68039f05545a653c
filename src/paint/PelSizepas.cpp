#include "paint/PelSizepas.h"

TForm9* Form9 = nullptr;

TForm9::TForm9(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("画像のサイズ"));
}
