#include "tools/PelPlayer.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("PelMediaPlayer"));
}
