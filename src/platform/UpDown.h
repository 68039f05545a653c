#pragma once
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace pel {

// A pair of arrows attached to an edit box: each click steps the position by
// 1 within the limits (no wrap) and the box shows the position. The box stays
// free text; what a typed number means depends on the window (Typed).
class UpDown : public QWidget {
    Q_OBJECT
public:
    enum class Typed {
        // Counts at once when it is a whole number within the limits;
        // otherwise the last valid position counts.
        WithinLimits,
        // Counts at the next step, brought within the limits; the Up and Down
        // keys in the box step like the arrows.
        AtNextStep,
    };

    explicit UpDown(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }
    // Sets the position, kept within the limits, and shows it in the box.
    void setPosition(int value);

    void setAssociate(QLineEdit* edit, Typed typed = Typed::WithinLimits);
    QLineEdit* associate() const { return edit_; }

    // What a click on an arrow does (+1 up, -1 down); emits clicked().
    void step(int direction);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

Q_SIGNALS:
    void clicked(int direction);
    void positionChanged(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeTypedText(const QString& text);
    void showPosition();

    QLineEdit* edit_ = nullptr;
    Typed typed_ = Typed::WithinLimits;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

} // namespace pel
