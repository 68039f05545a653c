#pragma once
#include <QDialog>
#include <QSize>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pel {
class EditorPort;
class UpDown;
}

// Makes a new picture of the chosen height and width.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(pel::EditorPort& editor, QWidget* parent = nullptr);

    // Width and height of the new picture; sizes below 1 count as 0.
    QSize pictureSize() const;
    void Button1Click();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    pel::UpDown* UpDown1 = nullptr;
    pel::UpDown* UpDown2 = nullptr;
    QPushButton* Button1 = nullptr;

public Q_SLOTS:
    // Esc presses OK too: every way out makes the picture.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    pel::EditorPort& editor_;
};

extern TForm9* Form9;
