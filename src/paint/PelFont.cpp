#include "paint/PelFont.h"

TForm8* Form8 = nullptr;

TForm8::TForm8(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Fontの位置"));
}
