#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm8* Form8;
