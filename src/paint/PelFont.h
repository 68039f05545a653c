#pragma once
#include <QDialog>
#include <QPoint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pel {
class EditorPort;
class UpDown;
}

// Where the text tool writes, and the way to its font choice.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    explicit TForm8(pel::EditorPort& editor, QWidget* parent = nullptr);

    // Top-left corner of the drawn text: (UpDown1, UpDown2).
    QPoint textPosition() const;
    void Button1Click();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    pel::UpDown* UpDown1 = nullptr;
    pel::UpDown* UpDown2 = nullptr;
    QPushButton* Button1 = nullptr;

public Q_SLOTS:
    // Esc presses OK.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    pel::EditorPort& editor_;
};

extern TForm8* Form8;
