#pragma once
#include <QDialog>
#include <array>

#include "tools/DateTimeFormat.h"

namespace pel { class EditorPort; class UpDown; }
class ClickLabel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// "PelTime": the current date and time in eight formats, each inserted into
// the document when clicked, and a time of day composed from an hour and a
// minute field.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(pel::EditorPort& editor, QWidget* parent = nullptr);

    QLabel* Label4 = nullptr;
    ClickLabel* Label6 = nullptr;
    ClickLabel* Label7 = nullptr;
    ClickLabel* Label8 = nullptr;
    ClickLabel* Label9 = nullptr;
    ClickLabel* Label10 = nullptr;
    ClickLabel* Label11 = nullptr;
    ClickLabel* Label12 = nullptr;
    ClickLabel* Label13 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    pel::UpDown* UpDown1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    pel::UpDown* UpDown2 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QTimer* Timer1 = nullptr;

    // Refreshes the eight labels from one reading of the clock.
    void Timer1Timer();
    void Button1Click();
    void Button2Click();

private:
    void LabelClick(const ClickLabel* label);

    pel::EditorPort& editor_;
    std::array<ClickLabel*, 8> formatLabels_{};
    std::array<DateTimeFormat, 8> formats_{};
};

extern TForm11* Form11;
