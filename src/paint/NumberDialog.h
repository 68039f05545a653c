#pragma once
#include <QDialog>
#include <QRect>
#include <QSize>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pel {

class PaintFormPort;
class UpDown;

// The paint form's number dialogs: two labelled edit boxes with up-downs
// and an OK button, in the common look (dialog border without close box or
// system menu, on top, "ＭＳ Ｐゴシック" 12 pixels high, a fixed client size).
// Showing one puts the boxes' hints in the paint form's status bar.
class NumberDialog : public QDialog {
    Q_OBJECT
public:
    // A label at (labelLeft, top), and at (boxLeft, top) an edit box with its
    // up-down right of it.
    struct Row {
        const char* label;
        const char* hint;  // the box's
        int top;
        int minimum;
        int maximum;
        int start;
    };
    struct Shape {
        const char* name;
        const char* caption;
        QSize client;
        int labelLeft;
        int boxLeft;
        int boxWidth;
        Row rows[2];
        QRect ok;
        const char* okHint;  // none when null
        // Esc presses OK instead of closing the dialog.
        bool escapePressesOk;
    };

    // OK; closes the dialog unless a dialog says otherwise.
    virtual void Button1Click();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    UpDown* UpDown1 = nullptr;
    UpDown* UpDown2 = nullptr;
    QPushButton* Button1 = nullptr;

public Q_SLOTS:
    void reject() override;

Q_SIGNALS:
    // The position of one of the up-downs changed.
    void valuesChanged();

protected:
    NumberDialog(const Shape& shape, PaintFormPort& paint, QWidget* parent);

    PaintFormPort& paint() const { return paint_; }
    QLabel* addLabel(const char* name, const QString& caption, int left, int top);
    // An edit box at (left, top) with its up-down right of it.
    QLineEdit* addNumberBox(const char* editName, const char* upDownName, int left, int top, int width,
                            int minimum, int maximum, int start, UpDown** upDown);
    QPushButton* addButton(const char* name, const QString& caption, QRect geometry);

    void showEvent(QShowEvent* event) override;

private:
    PaintFormPort& paint_;
    bool escapePressesOk_;
};

} // namespace pel
