#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;

namespace pel {

class EditorPort;
class PhraseList;

// The main window's phrase bar: the NewTextBox register in a combo box, an
// entry field that registers new phrases, the buttons that reorder them and
// the transcription button. It fills the tool bar it is given; what belongs
// to the main window comes in as hooks.
class PhraseBar : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> showPaintForm;
        std::function<void()> showDateTool;
        // Replaces the whole document (Enter in the combo box).
        std::function<void(const QString&)> replaceDocument;
    };

    PhraseBar(QToolBar* bar, PhraseList& list, EditorPort& editor, Hooks hooks);

    // The bar's commands, also run by the main window's hidden actions.
    void IdouButtonClick();
    void TopButtonClick();
    void BottomButtonClick();
    void DeleteButtonClick();
    void UpSpButtonClick();
    void DownSpButtonClick();
    void TenkiSpButtonClick();
    void MemoButtonClick();
    void ComboBox1DblClick();
    void ComboBox1Enter();
    void Edit1Enter();
    void Edit1Click();

    // The text of the combo box's field, which need not be an entry.
    QString fieldText() const;

    QToolButton* KaigaSpButton = nullptr;
    QPushButton* IdouButton = nullptr;
    QPushButton* TopButton = nullptr;
    QPushButton* BottomButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QLineEdit* Edit1 = nullptr;
    QToolButton* UpSpButton = nullptr;
    QToolButton* DownSpButton = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QToolButton* TenkiSpButton = nullptr;
    QPushButton* MemoButton = nullptr;
    QToolButton* DateTimeSpButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* addSpeedButton(const QString& name, const QString& caption, const QString& hint);
    QPushButton* addButton(const QString& name, const QString& caption, const QString& hint);
    void showChosenEntry();
    void chooseKeepingField(int index);
    void beginListChange();
    void endListChange();

    QToolBar* bar_;
    PhraseList& list_;
    EditorPort& editor_;
    Hooks hooks_;
    // The field's text while the combo box reacts to a change of the list
    // on its own; it is put back afterwards.
    QString heldFieldText_;
    int listChanging_ = 0;
};

} // namespace pel
