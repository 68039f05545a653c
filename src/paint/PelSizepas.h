#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm9* Form9;
