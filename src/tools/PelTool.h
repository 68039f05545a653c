#pragma once
#include <QDialog>
#include <array>

namespace pel { class EditorPort; }
class ClickEdit;
class ClickLabel;
class QLabel;
class QPushButton;
class QScrollBar;

// "ColorControl": three scroll bars mix the window's background so the
// colour-name labels can be judged against it; clicks on the value fields and
// labels insert decimal values, hex values or HTML colour codes.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(pel::EditorPort& editor, QWidget* parent = nullptr);

    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QScrollBar* ScrollBar3 = nullptr;
    ClickEdit* Edit1 = nullptr;
    ClickEdit* Edit2 = nullptr;
    ClickEdit* Edit3 = nullptr;
    ClickEdit* Edit4 = nullptr;
    ClickEdit* Edit5 = nullptr;
    ClickEdit* Edit6 = nullptr;
    QLabel* Label19 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    // The colour-name label with that object name ("Label1" … "Label20").
    ClickLabel* colorLabel(const QString& name) const;

    void Button1Click();
    void Button2Click();

private:
    // The moved bar's row only: the other rows keep whatever they hold.
    void ScrollBarChange(int row);

    pel::EditorPort& editor_;
    std::array<QScrollBar*, 3> bars_{};
    std::array<ClickEdit*, 3> decimalFields_{};
    std::array<ClickEdit*, 3> hexFields_{};
    QList<ClickLabel*> colorLabels_;
};

extern TForm4* Form4;
