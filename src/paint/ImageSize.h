#pragma once
#include "paint/FigureGeometry.h"
#include "paint/NumberDialog.h"

// Moves and resizes the fixed-position figures; the figure tools read the
// three positions each time they draw.
class TForm10 : public pel::NumberDialog {
    Q_OBJECT
public:
    explicit TForm10(pel::PaintFormPort& paint, QWidget* parent = nullptr);

    // H, V and S: UpDown1, UpDown2, UpDown3.
    pel::FigureOffset figureOffset() const;
    void Button2Click();

    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit3 = nullptr;
    pel::UpDown* UpDown3 = nullptr;
    QPushButton* Button2 = nullptr;

Q_SIGNALS:
    void figureOffsetChanged(pel::FigureOffset offset);
};

extern TForm10* Form10;
