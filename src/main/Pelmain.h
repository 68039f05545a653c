#pragma once
#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPalette>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

class FindDialog;
class QAction;
class QFont;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QTimer;
class ReplaceDialog;

namespace pel {
class DocumentView;
class DocumentSession;
class EditorPort;
class PhraseBar;
class PhraseList;
class PhraseRegister;
class RecoveryStore;
struct CommandRow;
struct FileFilter;
struct TextFileChoice;
enum class TextEncoding;
} // namespace pel

// The main window: the document's view and the bars and menus every
// command of the program runs from. The document itself (text, selection,
// undo, file and change states) is the session's; the window wires the
// commands to it. The class is split over files by concern; each section
// below names its file.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(const QStringList& arguments, QWidget* parent = nullptr);
    ~TForm1() override;

    // The document, and what tool windows get of it and of this window.
    pel::DocumentSession& session() const { return *session_; }
    pel::EditorPort& editorPort() const { return *editorPort_; }

    // Every command by its name ("OpenAction", "BAction", ...).
    QAction* action(const QString& name) const { return actions_.value(name); }
    QList<QAction*> commands() const { return actions_.values(); }
    // Runs an HTML command or click handler by its name ("BAction",
    // "JavaSclipt8Click"); false when there is no such command.
    bool runHtmlCommand(const QString& name);

    // ---- Start-up and settings (Pelmain.cpp) -----------------------------
    void FormCreate();
    // Writes the settings table; false when the settings cannot be stored.
    bool writeSettings();
    QString openDialogInitialDir() const { return openDialogInitialDir_; }
    // The help file the application names ("Pel.hlp" beside the program).
    QString applicationHelpFile() const { return applicationHelpFile_; }

    // ---- Documents (PelmainDocument.cpp) ---------------------------------
    QString ChangeIndicator() const;
    // Loads a file as the document's text (the command line, and Open and
    // dropped files through openDocument). false (after the error box)
    // when it cannot be read, and when a close stopped its loading.
    bool loadFile(const QString& path, std::optional<pel::TextEncoding> encoding = std::nullopt);
    // Loads `path` as the document: file name, caption and indicator follow.
    // `encoding`: the one chosen in the dialog, else detected.
    bool openDocument(const QString& path, std::optional<pel::TextEncoding> encoding = std::nullopt);
    // Writes the document; false (after the error box) when it was not written.
    bool writeDocument(const QString& path);

    // ---- Editing (PelmainEdit.cpp) ---------------------------------------
    // The font dialog's Apply button: the font goes to the active control.
    void FontDialog1Apply(const QFont& font);

    // ---- Recovery copy and session end (PelmainRecovery.cpp) ------------
    // Once the window is on screen: loads a large file named on the command
    // line (its progress shown as it loads), then offers the recovery copies.
    void startWork();
    // Offers the documents that earlier runs left unsaved when they were
    // killed or crashed.
    void offerRecovery();
    // The session is ending without a close: keeps the unsaved document as
    // a recovery copy and stores the settings, backups and registers (the
    // registers' list files only when the program goes on running; a quitting
    // program writes them as its windows are destroyed).
    void storeForSessionEnd(bool quitting);
    QString recoveryCopyPath() const;

    // ---- Phrase registers (PelmainPhrases.cpp) ---------------------------
    pel::PhraseList& phraseBarList() { return *phraseList_; }
    pel::PhraseBar& phraseBar() { return *phraseBar_; }
    pel::PhraseRegister& phraseBarRegister() { return *phraseRegister_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // ---- Commands (PelmainActions.cpp) -----------------------------------
    // The one way a command comes in: its action, named, captioned and
    // hinted, running `run`.
    struct CommandSpec {
        QString name;
        QString caption;
        QString hint;
        int icon = -1;
        std::function<void()> run;
        bool checkable = false;
    };
    QAction* addCommand(const CommandSpec& command);
    void addCommands(std::initializer_list<CommandSpec> commands);
    // A command bound to one of this window's handlers.
    CommandSpec command(const QString& name, const QString& caption, const QString& hint, int icon,
                        void (TForm1::*handler)());
    // The entry a menu or bar row places: an entry of its own bound to the
    // row's command (or the command itself), or one running an HTML click
    // handler; nullptr when there is no such command.
    QAction* entryFor(const pel::CommandRow& row);
    void buildLayout();
    void buildMenus();
    void buildToolBar1();
    void buildToolBar5();

    // ---- Start-up and settings (Pelmain.cpp) -----------------------------
    // The settings steps of FormCreate (the editor emptied, bounds, font,
    // colours, word wrap); Clear runs them again.
    void readSettings();
    void resetWindowState();
    void setEditorColour(QPalette::ColorRole role, const QColor& colour);
    void minimiseNow();

    // ---- Documents (PelmainDocument.cpp) ---------------------------------
    void setupDocumentActions();
    static QList<pel::FileFilter> documentFilters(bool forOpen);
    // The one way a file's bytes come into the document.
    bool loadDocumentBytes(QByteArrayView bytes, std::optional<pel::TextEncoding> encoding = std::nullopt);
    // The unsaved-text question before the document is replaced; true when
    // the user let it go (No).
    bool mayReplaceDocument();
    struct SaveTarget {
        QString path;
        bool existed = false;
    };
    // The save dialog with the overwrite question; nothing when the user
    // cancelled.
    std::optional<SaveTarget> chooseSaveTarget(const QString& prefill, pel::TextFileChoice* choice = nullptr);
    void NewActionExecute();
    void OpenActionExecute();
    // Reads the document's file again in the encoding the user names.
    void ReopenActionExecute();
    void SaveActionExecute();
    // Save As; true when the document was written to a file.
    bool SaveAsActionExecute();
    // Before Save writes over the document's file: asks when another program
    // changed it since, says so when it is gone; false when the user said no.
    bool mayWriteOverFile();
    // The window became active: a file changed behind the editor's back is
    // offered for reading again.
    void offerReloadIfChanged();
    bool FormCloseQuery();
    bool writeBackups();
    void setCaptionFromFileName();
    void showChangeIndicator();

    // ---- Editing (PelmainEdit.cpp) ---------------------------------------
    void setupEditActions();
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
    void reportKeptWrap(bool kept);
    void PrintActionExecute();
    void PrinterActionExecute();
    void ReportCaretPosition();
    void RichEdit1SelectionChange();
    void setEditorTextColour(const QColor& colour);

    // ---- Find and replace (PelmainFind.cpp) ------------------------------
    void setupFindActions();
    void FindActionExecute();
    void ReplaceActionExecute();
    void FindDialog1Find();       // the find dialog's find-next button
    void ReplaceDialog1Replace(); // the replace dialog's replace buttons
    void ScrollLineToTop(int line);

    // ---- Help and about (PelmainHelp.cpp) --------------------------------
    void setupHelpActions();
    void HelpActionExecute();

    // ---- Clock panel (ClockPanel.cpp) -----------------------------------
    void setupClockPanel();

    // ---- View switches and tool windows (PelmainView.cpp) ----------------
    void setupViewActions();
    void IConBar1Click();
    void NewTextBox1Click();
    void TimeBar1Click();
    void WebPageBar1Click();
    void HtmLIconBar1Click();
    void showToolWindow(QWidget* window);
    void runModalWithMainHidden(QWidget* window);

    // ---- Phrase registers (PelmainPhrases.cpp) ---------------------------
    void setupPhraseActions();
    void setupPhraseBar();

    // ---- Recovery copy (PelmainRecovery.cpp) -----------------------------
    void setupRecovery();
    void followUnsavedChanges();
    void writeRecoveryCopy();

    // ---- HTML commands (PelmainHtml.cpp) ---------------------------------
    void setupHtmlCommands();
    void BrowserActionExecute();

    // Controls, named as everywhere else in the program.
    pel::DocumentView* RichEdit1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* Label1 = nullptr;  // change indicator
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QToolBar* PageScroller1 = nullptr;
    QToolBar* ToolBar4 = nullptr;
    QToolBar* ToolBar5 = nullptr;
    QToolBar* ControlBar2 = nullptr;
    QMenu* EditMenu = nullptr;
    QMenu* ToolMenu = nullptr;
    FindDialog* FindDialog1 = nullptr;
    ReplaceDialog* ReplaceDialog1 = nullptr;

    pel::DocumentSession* session_ = nullptr;
    std::unique_ptr<pel::EditorPort> editorPort_;
    QHash<QString, QAction*> actions_;
    QString openDialogInitialDir_;
    QString applicationHelpFile_;
    pel::PhraseList* phraseList_ = nullptr;
    pel::PhraseRegister* phraseRegister_ = nullptr;
    pel::PhraseBar* phraseBar_ = nullptr;
    QStringList phraseBarStrings_;
    std::unique_ptr<pel::RecoveryStore> recoveryStore_;
    QTimer* recoveryTimer_ = nullptr;
    QElapsedTimer unsavedSince_;
    bool recoveryCopyWritten_ = false;
    bool sessionEnding_ = false;
    bool loading_ = false;   // a file is going into the view piece by piece
    bool closeAfterLoading_ = false;
    QStringList arguments_;
    QByteArray startupFile_;   // a large command-line file, loaded by startWork
    bool firstShow_ = true;
    bool minimiseWhenShown_ = false;  // a stored minimised state, applied once the window is up
    bool closing_ = false;
};

extern TForm1* Form1;
