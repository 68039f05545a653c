#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm6* Form6;
