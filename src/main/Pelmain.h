#pragma once
#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPalette>
#include <QStringList>
#include <initializer_list>
#include <memory>
#include <optional>

#include "main/DocumentEditor.h"
#include "platform/Cp932.h"
#include "platform/EditorPort.h"

class FindDialog;
class QAction;
class QFont;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;
class QTimer;
class QToolButton;
class ReplaceDialog;
namespace pel { class DocumentText; }

namespace pel { class PhraseBar; class PhraseList; class PhraseRegister; class RecoveryStore; class RegistryKey; }
namespace pel { struct CommandRow; struct FileFilter; }

// The main window: one plain-text document in RichEdit1 and the bars and
// menus every command of the program runs from. The class is split over
// files by concern; each section below names its file.
class TForm1 : public QMainWindow, public pel::EditorPort {
    Q_OBJECT
public:
    explicit TForm1(const QStringList& arguments, QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- EditorPort (PelmainDocument.cpp) --------------------------------
    void ReplaceEditorSelection(const QString& text) override;
    QString selectedText() const override;
    void showAboutModal() override;

    // ---- Start-up and settings (Pelmain.cpp) -----------------------------
    void FormCreate();
    // The settings steps of FormCreate (the editor emptied, bounds, font,
    // colours, word wrap); Clear runs them again.
    void readSettings();
    // Writes the settings table; false when the settings cannot be stored.
    bool writeSettings();
    QString openDialogInitialDir() const { return openDialogInitialDir_; }

    // ---- Actions, bars and menus (PelmainActions.cpp) --------------------
    // Every command by its name ("OpenAction", "BAction", ...).
    QAction* action(const QString& name) const { return actions_.value(name); }
    QAction* addCommand(const QString& name, const QString& caption, const QString& hint, int icon);
    QList<QAction*> commands() const { return actions_.values(); }

    // ---- Documents (PelmainDocument.cpp) ---------------------------------
    QString DocumentFileName() const { return documentFileName_; }
    void setDocumentFileName(const QString& path) { documentFileName_ = path; }
    // The save dialog's (false) or the open dialog's (true) file types.
    static QList<pel::FileFilter> documentFilters(bool forOpen);
    bool ModifiedFlag() const;
    void setModifiedFlag(bool modified);
    QString ChangeIndicator() const;
    // Loads a file into the editor (Open, the command line, dropped files).
    // false (after the error box) when it cannot be read, and when a close
    // stopped its loading.
    bool loadFile(const QString& path);
    // Loads `path` as the document: file name, caption and indicator follow
    // (Open, dropped files). false when it cannot be read.
    bool openDocument(const QString& path);
    // The unsaved-text question before the document is replaced; true when
    // the user let it go (No).
    bool mayReplaceDocument();
    // Whether the editor holds changes that are in no file. Unlike the
    // editor's modified flag, which key releases clear, this follows the
    // text itself.
    bool hasUnsavedChanges() const { return unsavedChanges_; }
    // Writes the document; false (after the error box) when it was not written.
    bool writeDocument(const QString& path);
    // The one way a file's bytes come into the editor, and the editor's
    // text goes out as bytes (as the file it was read from, where unedited).
    // False when a close stopped the loading (the document is then empty).
    bool loadDocumentBytes(QByteArrayView bytes);
    pel::EncodedText documentBytes() const;
    // Save As; true when the document was written to a file.
    bool SaveAsActionExecute();
    void NewActionExecute();
    void OpenActionExecute();
    void SaveActionExecute();
    void WinEndActionExecute();
    void ExitActionExecute();

    // ---- Editing (PelmainEdit.cpp) ---------------------------------------
    void UndoActionExecute();
    void CutActionExecute();
    void CopyActionExecute();
    void PasteActionExecute();
    void Delete1Click();
    void ClearActionExecute();
    void AllSelction1Click();
    void NoSelection1Click();
    void FontActionExecute();
    void BackColorActionExecute();
    void WordWrapActionExecute();
    // Says in the status bar that a too long line keeps the view wrapped.
    void reportKeptWrap(bool kept);
    void PrintActionExecute();
    void PrinterActionExecute();
    void ReportCaretPosition();
    void RichEdit1SelectionChange();
    // The font dialog's Apply button: the font goes to the active control.
    void FontDialog1Apply(const QFont& font);
    void setEditorTextColour(const QColor& colour);
    // A line as the editor displays it (a wrapped paragraph shows several),
    // numbered from 0 as the editor's vertical scroll bar counts lines.
    struct DisplayLine {
        int number = 0;
        int start = 0;   // editor position of its first character
        int length = 0;  // without the line break
    };
    DisplayLine displayLineAt(int position) const;
    // The document with '\n' for every line break: one character per
    // editor position.
    QString editorText() const;

    // ---- Find and replace (PelmainFind.cpp) ------------------------------
    void FindActionExecute();
    void ReplaceActionExecute();
    void clearFindText();
    void FindDialog1Find();       // the find dialog's find-next button
    void ReplaceDialog1Replace(); // the replace dialog's replace buttons
    void ScrollLineToTop(int line);
    FindDialog* FindDialog1 = nullptr;
    ReplaceDialog* ReplaceDialog1 = nullptr;
    // The document's text kept for searching.
    pel::DocumentText* documentText_ = nullptr;

    // ---- Help and about (PelmainHelp.cpp) --------------------------------
    void HelpActionExecute();
    void AboutActionExecute();
    void VerUpActionExecute();
    void EmailActionExecute();
    // The help file the application names ("Pel.hlp" beside the program).
    QString applicationHelpFile;

    // ---- Clock panel (ClockPanel.cpp) -----------------------------------
    void setupClockPanel();

    // ---- View switches and tool windows (PelmainView.cpp) ----------------
    void IConBar1Click();
    void NewTextBox1Click();
    void TimeBar1Click();
    void WebPageBar1Click();
    void HtmLIconBar1Click();
    void showToolWindow(QWidget* window);
    void runModalWithMainHidden(QWidget* window);

    // ---- Phrase registers (PelmainPhrases.cpp) ---------------------------
    pel::PhraseList& phraseBarList() { return *phraseList_; }
    pel::PhraseBar& phraseBar() { return *phraseBar_; }
    void COMBbakActionExecute();
    void ListActionExecute();
    void JAVAActionExecute();
    void ItemUPActionExecute();
    void ItemDownActionExecute();
    pel::PhraseRegister& phraseBarRegister() { return *phraseRegister_; }
    // Replaces the whole document with `text` as one edit the editor's
    // change handling sees (Enter in the phrase bar's combo box).
    void replaceDocumentText(const QString& text);

    // ---- Recovery copy and session end (PelmainRecovery.cpp) ------------
    // Offers the documents that earlier runs left unsaved when they were
    // killed or crashed.
    void offerRecovery();
    // Once the window is on screen: loads a large file named on the command
    // line (its progress shown as it loads), then offers the recovery copies.
    void startWork();
    // The session is ending without a close: keeps the unsaved document as
    // a recovery copy and stores the settings, backups and registers (the
    // registers' list files only when the program goes on running; a quitting
    // program writes them as its windows are destroyed).
    void storeForSessionEnd(bool quitting);
    QString recoveryCopyPath() const;

    // ---- HTML commands (PelmainHtml.cpp) ---------------------------------
    void setupHtmlCommands();
    // Runs an HTML command or click handler by its name ("BAction",
    // "JavaSclipt8Click"); false when there is no such command.
    bool runHtmlCommand(const QString& name);
    void BrowserActionExecute();
    QMenu* HtmlMenu = nullptr;
    QMenu* LinkMenu = nullptr;
    QMenu* IMAGEMenu = nullptr;
    QMenu* JavaMenu = nullptr;

    // Controls, named as everywhere else in the program.
    pel::DocumentEditor* RichEdit1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* Label1 = nullptr;  // change indicator
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QToolBar* PageScroller1 = nullptr;
    QToolBar* ToolBar4 = nullptr;
    QToolBar* ToolBar5 = nullptr;
    QToolBar* ControlBar2 = nullptr;
    QMenu* FileMenu = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* ShowMenu = nullptr;
    QMenu* OptionMenu = nullptr;
    QMenu* ToolMenu = nullptr;
    QMenu* HelpMenu = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void setupDocumentActions();
    void setupEditActions();
    void setupFindActions();
    void setupHelpActions();
    void setupViewActions();
    void setupPhraseActions();
    void setupPhraseBar();
    void buildMenus();
    void buildToolBar1();
    void buildToolBar5();
    // The entry a menu or bar row places: an entry of its own bound to the
    // row's command (or the command itself), or one running an HTML click
    // handler; nullptr when there is no such command.
    QAction* entryFor(const pel::CommandRow& row);
    QAction* addViewSwitch(const QString& name, const QString& caption, const QString& hint,
                           void (TForm1::*handler)());
    void bind(const QString& name, void (TForm1::*handler)());
    struct CommandSpec {
        QString name;
        QString caption;
        QString hint;
        int icon = -1;
        void (TForm1::*run)() = nullptr;
    };
    // Adds and binds the commands, in their order.
    void addCommands(std::initializer_list<CommandSpec> commands);
    bool FormCloseQuery();
    void resetWindowState();
    void setEditorColour(QPalette::ColorRole role, const QColor& colour);
    struct SaveTarget {
        QString path;
        bool existed = false;
    };
    // The save dialog with the overwrite question; nothing when the user
    // cancelled.
    std::optional<SaveTarget> chooseSaveTarget(const QString& prefill);
    void setupRecovery();
    void setUnsavedChanges(bool unsaved);
    void writeRecoveryCopy();
    bool writeBackups();
    void setCaptionFromFileName();
    void markUnchanged();
    void RichEdit1Change();

    QHash<QString, QAction*> actions_;
    QString documentFileName_;
    QString openDialogInitialDir_;
    pel::TextSpelling spelling_;
    pel::PhraseList* phraseList_ = nullptr;
    pel::PhraseRegister* phraseRegister_ = nullptr;
    std::unique_ptr<pel::RecoveryStore> recoveryStore_;
    QTimer* recoveryTimer_ = nullptr;
    QElapsedTimer unsavedSince_;
    bool unsavedChanges_ = false;
    bool loading_ = false;   // a file is going into the editor piece by piece
    bool closeAfterLoading_ = false;
    bool recoveryCopyWritten_ = false;
    bool sessionEnding_ = false;
    pel::PhraseBar* phraseBar_ = nullptr;
    QStringList phraseBarStrings_;
    QStringList arguments_;
    QByteArray startupFile_;   // a large command-line file, loaded by startWork
    bool firstShow_ = true;
    bool minimiseWhenShown_ = false;  // a stored minimised state, applied once the window is up
    void minimiseNow();
    bool closing_ = false;
};

extern TForm1* Form1;
