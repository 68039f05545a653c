#include "paint/ImageSize.h"

TForm10* Form10 = nullptr;

TForm10::TForm10(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("画像の移動"));
}
