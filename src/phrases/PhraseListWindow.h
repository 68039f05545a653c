#pragma once
#include <QDialog>
#include <QHash>
#include <QPoint>
#include <QSize>
#include <functional>
#include <optional>

#include "phrases/PhraseList.h"
#include "phrases/PhraseRegister.h"
#include "platform/ColorNames.h"

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace pel { class EditorPort; }

// The two list tool windows ("ListBox" and "JavaJava") are one class; what
// differs between them is a configuration.
struct PhraseWindowConfig {
    QString objectName;     // "TForm3", "TForm5"
    QString caption;        // "ListBox", "JavaJava"
    QString listFileName;   // "HOMELOG.TXT", "JAVALOG.TXT"
    QString backupFileName; // "HOMELOG.bak", "JAVALOG.bak"
    QString addButtonName;  // "AddItem", "Add"
    // "追加" with an empty field: whether the field takes the keyboard focus.
    bool emptyAddFocusesField = false;
    QSize clientSize;
    QPoint position;
    // The window's font colour; none: the system's window text colour.
    std::optional<pel::ColorValue> fontColour;
    int listFontPixels = 13;
    pel::ColorValue labelColour = 0;
    // "short|long" hints by control name; the window's own under "". A
    // control without an entry has no hint.
    QHash<QString, QString> hints;
};

class PhraseListWindow : public QDialog {
    Q_OBJECT
public:
    PhraseListWindow(const PhraseWindowConfig& config, pel::EditorPort& editor, QWidget* parent = nullptr);
    ~PhraseListWindow() override;

    pel::PhraseList& list() { return list_; }
    pel::PhraseRegister& phraseRegister() { return register_; }
    const PhraseWindowConfig& config() const { return config_; }
    QString listFilePath() const;

    // Where the long part of a hint goes; by default the status bar of the
    // main window that owns this one.
    void setHintSink(std::function<void(const QString&)> sink);

    // Every selected entry, first to last, into the document one directly
    // behind the other.
    void TranscribeSelected();

    void AddItemClick();
    void Edit1Enter();
    void ClearClick();
    void DeleteClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button5Click();
    void Button6Click();
    void AboutClick();

    QListView* ListBox1 = nullptr;
    QPushButton* AddButton = nullptr;  // "AddItem" or "Add"
    QPushButton* Clear = nullptr;
    QPushButton* Delete = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* About = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Exit = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    PhraseWindowConfig config_;
    pel::EditorPort& editor_;
    pel::PhraseList list_;
    pel::PhraseRegister register_;

private:
    void buildControls();
    QPushButton* makeButton(const QString& name, const QString& caption);
    void applyHint(QWidget* widget, const QString& name, bool toolTipShown);
    void markMovedEntry();

    std::function<void(const QString&)> hintSink_;
    // The view moves its focus mark by itself while rows are removed or
    // reset; those moves are not the user's and are not taken over.
    int listChanging_ = 0;
};
