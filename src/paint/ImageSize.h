#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm10* Form10;
