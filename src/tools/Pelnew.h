#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm2* Form2;
