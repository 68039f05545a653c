#pragma once
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find and replace dialogs of the main window, laid out and
// labelled like the system's own. They only collect what the user typed and
// report button presses; the searching is the main window's.

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent);

    QString findText() const;
    void setFindText(const QString& text);
    bool searchDown() const;

    QLineEdit* FindEdit = nullptr;
    QCheckBox* WholeWordBox = nullptr;
    QCheckBox* MatchCaseBox = nullptr;
    QGroupBox* DirectionGroup = nullptr;
    QRadioButton* UpButton = nullptr;
    QRadioButton* DownButton = nullptr;
    QPushButton* FindNextButton = nullptr;
    QPushButton* CancelButton = nullptr;

Q_SIGNALS:
    void findNext();
};

class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget* parent);

    QString findText() const;
    QString replaceText() const;

    QLineEdit* FindEdit = nullptr;
    QLineEdit* ReplaceEdit = nullptr;
    QCheckBox* WholeWordBox = nullptr;
    QCheckBox* MatchCaseBox = nullptr;
    QPushButton* FindNextButton = nullptr;
    QPushButton* ReplaceButton = nullptr;
    QPushButton* ReplaceAllButton = nullptr;
    QPushButton* CancelButton = nullptr;

Q_SIGNALS:
    void replace();
    void replaceAll();
};
