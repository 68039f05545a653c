#pragma once
#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

// The about box: modeless from the main window, modal from the tool windows.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Where the latest version is published and where mail to the maker goes.
    static QString homePageAddress();   // ends with "/"
    static QString emailAddress();

    // The program's picture, drawn at any size.
    static QPixmap programPicture(int size);

    // One box: showing it while it is open only brings it to the front.
    void showFromMain();
    void showModalFromTool();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;  // the text line
    QLabel* Comments = nullptr;
    QLabel* Label1 = nullptr;     // e-mail address
    QLabel* Label2 = nullptr;     // home page
    QPushButton* OKButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();
    void Label1Click();
    void Label2Click();
};

extern TAboutBox* AboutBox;
