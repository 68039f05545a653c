#pragma once
#include <QDialog>

// The about box: modeless from the main window, modal from the tool windows.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    void showFromMain();
    void showModalFromTool();
};

extern TAboutBox* AboutBox;
