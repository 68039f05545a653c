#pragma once
#include "paint/NumberDialog.h"

#include <QSize>

// Makes a new picture of the chosen height and width.
class TForm9 : public pel::NumberDialog {
    Q_OBJECT
public:
    explicit TForm9(pel::PaintFormPort& paint, QWidget* parent = nullptr);

    // Width and height of the new picture; sizes below 1 count as 0.
    QSize pictureSize() const;
    void Button1Click() override;
};

extern TForm9* Form9;
