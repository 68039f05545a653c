#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm12 : public QDialog {
    Q_OBJECT
public:
    explicit TForm12(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm12* Form12;
