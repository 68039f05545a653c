#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm4* Form4;
