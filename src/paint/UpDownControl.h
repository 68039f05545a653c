#pragma once
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pel {

// An up-down control attached to an edit box: its arrows step the position
// by 1 within the limits (no wrap) and the box shows the position. A number
// typed into the box counts as the position once it is a whole number
// within the limits; otherwise the last valid position counts.
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }
    // Sets the position, kept within the limits, and shows it in the box.
    void setPosition(int value);

    void setAssociate(QLineEdit* edit);
    QLineEdit* associate() const { return edit_; }

    // What a click on an arrow does (+1 up, -1 down); emits clicked().
    void step(int direction);

Q_SIGNALS:
    void clicked(int direction);
    void positionChanged(int position);

private:
    void takeTypedText(const QString& text);
    void showPosition();

    QLineEdit* edit_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

} // namespace pel
