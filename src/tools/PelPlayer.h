#pragma once
#include <QDialog>

namespace pel { class EditorPort; }

class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(pel::EditorPort& editor, QWidget* parent = nullptr);

private:
    pel::EditorPort& editor_;
};

extern TForm7* Form7;
