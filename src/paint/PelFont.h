#pragma once
#include "paint/NumberDialog.h"

#include <QPoint>

// Where the text tool writes, and the way to its font choice.
class TForm8 : public pel::NumberDialog {
    Q_OBJECT
public:
    explicit TForm8(pel::PaintFormPort& paint, QWidget* parent = nullptr);

    // Top-left corner of the drawn text: (UpDown1, UpDown2).
    QPoint textPosition() const;
    // Asks for the font; the dialog stays open until one is confirmed.
    void Button1Click() override;

Q_SIGNALS:
    void textPositionChanged(QPoint at);
};

extern TForm8* Form8;
