#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm11* Form11;
