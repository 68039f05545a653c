#pragma once
#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrows that counts the number in a companion field up or down
// between a minimum and a maximum, without wrapping at either end. The field
// stays free text: a typed number is taken up by the next step, anything else
// leaves the arrows counting from their own position.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent = nullptr);

    int position() const { return position_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Moves by `steps` (negative: down) and writes the plain number into the field.
    void stepBy(int steps);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* associate_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
    int position_;
};
