#include "phrases/PhraseListWindow.h"

#include "platform/ProgramDirectory.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

#include <QFileInfo>

PhraseListWindow::PhraseListWindow(const PhraseWindowConfig& config, pel::EditorPort& editor,
                                   QWidget* parent)
    : QDialog(parent), config_(config), editor_(editor)
{
    setObjectName(config_.objectName);
    setWindowTitle(config_.caption);

    // Loading the register is the window's last creation step.
    const QString path = listFilePath();
    if (QFileInfo::exists(path) && !list_.LoadPhraseFile(path))
        pel::prompts().applicationError(nullptr, pel::cannotOpenMessage(path));
}

PhraseListWindow::~PhraseListWindow()
{
    const QString path = listFilePath();
    if (!list_.SavePhraseFile(path))
        pel::prompts().applicationError(nullptr, pel::cannotCreateMessage(path));
}

QString PhraseListWindow::listFilePath() const
{
    return pel::ProgramDirectory() + config_.listFileName;
}
