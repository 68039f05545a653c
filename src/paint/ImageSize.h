#pragma once
#include "paint/FigureGeometry.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pel {
class EditorPort;
class UpDown;
}

// Moves and resizes the fixed-position figures; the figure tools read the
// three positions each time they draw.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(pel::EditorPort& editor, QWidget* parent = nullptr);

    // H, V and S: UpDown1, UpDown2, UpDown3.
    pel::FigureOffset figureOffset() const;
    void Button1Click();
    void Button2Click();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    pel::UpDown* UpDown1 = nullptr;
    pel::UpDown* UpDown2 = nullptr;
    pel::UpDown* UpDown3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    pel::EditorPort& editor_;
};

extern TForm10* Form10;
