// The document: its file, its change state, the file commands and the close.
#include "main/Pelmain.h"

#include "main/About.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseList.h"
#include "platform/Dialogs.h"
#include "platform/InputHold.h"
#include "platform/LineBreaks.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "platform/TextMessages.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <optional>

#include <utility>

namespace {

const QString kChanged = QStringLiteral("　変更　あり");
const QString kUnchanged = QStringLiteral("　変更　なし");

QString fileNamePart(const QString& path)
{
    return QFileInfo(path).fileName();
}

// Line and column (from 1) of a text index, for messages.
std::pair<qsizetype, qsizetype> lineAndColumn(const QString& text, qsizetype index)
{
    const qsizetype lineStart = text.lastIndexOf(u'\n', index - 1) + 1;
    return {QStringView(text).left(index).count(u'\n') + 1, index - lineStart + 1};
}

// The message for a byte that is no character and would join its new
// neighbour into another character (or a stray CR and LF into a line break).
QString joiningByteMessage(const QString& text, qsizetype index, const pel::CodeMarks& marks)
{
    const auto [line, column] = lineAndColumn(text, index);
    const auto mark = std::find_if(marks.cbegin(), marks.cend(), [index](const pel::CodeMark& m) { return m.position == index; });
    const QString byte = mark != marks.cend() && text.at(index) == QChar::ObjectReplacementCharacter
        ? QStringLiteral("%1").arg(mark->code & 0xFF, 2, 16, QLatin1Char('0')).toUpper()
        : QStringLiteral("?");
    return QStringLiteral("%1行目の%2文字目のバイト「%3」は文字ではないため､隣の文字とつながって別の文字として読み込まれます｡\n"
                          "このバイトを削除するか間に文字を入れてから保存してください｡ファイルは変更されていません｡")
        .arg(line)
        .arg(column)
        .arg(byte);
}

} // namespace

QList<pel::FileFilter> TForm1::documentFilters(bool forOpen)
{
    return {
        {QStringLiteral("テキストファイル(*.txt)"), QStringLiteral("*.txt;")},
        {QStringLiteral("Webファイル(*.html,*.htm)"), QStringLiteral("*.html;*.htm;")},
        {QStringLiteral("Javaファイル(*.java)"), QStringLiteral("*.java;")},
        {forOpen ? QStringLiteral("すべてのファイル(*.*)          ") : QStringLiteral("すべてのファイル(*.*)"),
         QStringLiteral("*.*;")},
    };
}

void TForm1::setupDocumentActions()
{
    addCommand(QStringLiteral("ExitAction"), QStringLiteral("終了"), QStringLiteral("終了"), 19);
    addCommand(QStringLiteral("NewAction"), QStringLiteral("新規作成"), QStringLiteral("新規作成"), 0);
    addCommand(QStringLiteral("OpenAction"), QStringLiteral("開く"), QStringLiteral("開く"), 1);
    addCommand(QStringLiteral("SaveAction"), QStringLiteral("上書き保存"), QStringLiteral("上書き保存"), 2);
    addCommand(QStringLiteral("SaveAsAction"), QStringLiteral("名前を付けて保存"), QStringLiteral("名前を付けて保存"), 15);
    addCommand(QStringLiteral("WinEndAction"), QStringLiteral("Win終了"), QString(), -1);
    bind(QStringLiteral("ExitAction"), &TForm1::ExitActionExecute);
    bind(QStringLiteral("NewAction"), &TForm1::NewActionExecute);
    bind(QStringLiteral("OpenAction"), &TForm1::OpenActionExecute);
    bind(QStringLiteral("SaveAction"), &TForm1::SaveActionExecute);
    connect(action(QStringLiteral("SaveAsAction")), &QAction::triggered, this, [this] { SaveAsActionExecute(); });
    bind(QStringLiteral("WinEndAction"), &TForm1::WinEndActionExecute);
}

// ---- EditorPort ----------------------------------------------------------

void TForm1::ReplaceEditorSelection(const QString& text)
{
    // One edit, not offered to Undo: the document's undo history is dropped
    // around it, as the editor does for a replacement that cannot be undone.
    QTextDocument* document = RichEdit1->document();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.insertText(text, pel::DocumentEditor::insertionFormat(cursor));
    RichEdit1->setTextCursor(cursor);
    document->setUndoRedoEnabled(true);
    RichEdit1->setFocus();
    // The editor reports no selection change when nothing was selected.
    RichEdit1SelectionChange();
}

QString TForm1::selectedText() const
{
    // Line breaks of the selection read as CR LF.
    return pel::lineBreaks::toFile(RichEdit1->textCursor().selectedText());
}

void TForm1::showAboutModal()
{
    AboutBox->showModalFromTool();
}

// ---- Document state ------------------------------------------------------

bool TForm1::ModifiedFlag() const
{
    return RichEdit1->document()->isModified();
}

void TForm1::setModifiedFlag(bool modified)
{
    RichEdit1->document()->setModified(modified);
}

QString TForm1::ChangeIndicator() const
{
    return Label1->text();
}

void TForm1::RichEdit1Change()
{
    if (loading_)
        return;
    Label1->setText(kChanged);
    setUnsavedChanges(true);
}

void TForm1::markUnchanged()
{
    Label1->setText(kUnchanged);
}

void TForm1::setCaptionFromFileName()
{
    setWindowTitle(fileNamePart(documentFileName_));
}

bool TForm1::loadDocumentBytes(QByteArrayView bytes)
{
    const pel::DecodedText decoded = pel::decodeTextFile(bytes);
    spelling_ = decoded.spelling;
    if (!isVisible()) {
        RichEdit1->setDocumentText(decoded.text, decoded.marks);
        setUnsavedChanges(false);
        return true;
    }
    // A large file is shown loading in the status bar, and what is in can
    // be scrolled and read meanwhile; no command sees half of it (see
    // InputHold), and a close stops the loading.
    // The document the user let go is no longer kept for recovery either.
    setUnsavedChanges(false);
    loading_ = true;
    std::optional<pel::InputHold> hold(std::in_place, RichEdit1);
    const bool whole = RichEdit1->setDocumentText(decoded.text, decoded.marks, [this](int percent) {
        StatusBar1->showMessage(QStringLiteral("ファイルを読み込んでいます… %1%").arg(percent));
        QCoreApplication::processEvents();
        return !closeAfterLoading_;
    });
    loading_ = false;
    StatusBar1->clearMessage();
    if (!whole) {
        // Empty and nameless: nothing could write the stopped load over
        // its file or the one before it.
        hold->discard();
        spelling_ = {};
        documentFileName_.clear();
        setWindowTitle(QStringLiteral("Pelmora"));
        markUnchanged();
    }
    // The keys typed meanwhile go in now, after the whole text.
    hold.reset();
    if (closeAfterLoading_)
        QTimer::singleShot(0, this, &QWidget::close);
    return whole;
}

pel::EncodedText TForm1::documentBytes() const
{
    const pel::DocumentEditor::Content content = RichEdit1->documentContent();
    return pel::encodeTextFile(content.text, content.marks, spelling_);
}

bool TForm1::loadFile(const QString& path)
{
    const auto bytes = pel::readWholeFile(path);
    if (!bytes) {
        pel::prompts().applicationError(this, pel::cannotOpenMessage(path));
        return false;
    }
    return loadDocumentBytes(*bytes);
}

bool TForm1::writeDocument(const QString& path)
{
    const pel::EncodedText encoded = documentBytes();
    if (!encoded.ok()) {
        // Never write "?" for a character the code page cannot hold, nor
        // bytes that would read back as something else.
        const QString text = RichEdit1->toPlainText();
        pel::prompts().error(this, encoded.failure == pel::EncodedText::Failure::Merges
                                       ? joiningByteMessage(text, encoded.failedAt, RichEdit1->documentContent().marks)
                                       : pel::unsavableCharacterMessage(text, encoded.failedAt));
        return false;
    }
    if (!pel::writeWholeFile(path, encoded.bytes)) {
        pel::prompts().applicationError(this, pel::cannotCreateMessage(path));
        return false;
    }
    setUnsavedChanges(false);
    return true;
}

// ---- File commands -------------------------------------------------------

void TForm1::NewActionExecute()
{
    if (RichEdit1->document()->isEmpty())
        return;
    pel::systemBeep();
    const auto answer = pel::prompts().confirm(this, QStringLiteral("編集中の文書があります｡\r\n保存しますか ?"));
    if (answer == pel::Prompts::Answer::Yes) {
        SaveAsActionExecute();
    } else if (answer == pel::Prompts::Answer::No) {
        RichEdit1->clear();
        spelling_ = {};
        documentFileName_.clear();
        setUnsavedChanges(false);
        markUnchanged();
        RichEdit1->setFocus();
    }
}

bool TForm1::mayReplaceDocument()
{
    if (RichEdit1->document()->isEmpty())
        return true;
    pel::systemBeep();
    const auto answer = pel::prompts().confirm(this, QStringLiteral("編集中の文書があります｡\r\n保存しますか ?"));
    if (answer == pel::Prompts::Answer::Yes)
        SaveAsActionExecute();
    return answer == pel::Prompts::Answer::No;
}

void TForm1::OpenActionExecute()
{
    if (mayReplaceDocument()) {
        pel::FileDialogRequest request;
        request.directory = openDialogInitialDir_;
        request.fileName = QStringLiteral("*.txt");
        request.filters = documentFilters(true);
        request.defaultSuffix = QStringLiteral("txt");
        if (const auto chosen = pel::dialogs().openFile(this, request))
            openDocument(*chosen);
    }
    RichEdit1->setFocus();
}

bool TForm1::openDocument(const QString& path)
{
    if (!loadFile(path))
        return false;
    documentFileName_ = path;
    markUnchanged();
    setCaptionFromFileName();
    setModifiedFlag(false);
    return true;
}

void TForm1::SaveActionExecute()
{
    if (documentFileName_.isEmpty()) {
        SaveAsActionExecute();
        return;
    }
    if (!writeDocument(documentFileName_))
        return;
    setCaptionFromFileName();
    setModifiedFlag(false);
}

std::optional<TForm1::SaveTarget> TForm1::chooseSaveTarget(const QString& prefill)
{
    for (;;) {
        pel::FileDialogRequest request;
        request.fileName = prefill;
        request.filters = documentFilters(false);
        request.defaultSuffix = QStringLiteral("txt");
        if (!documentFileName_.isEmpty())
            request.directory = QFileInfo(documentFileName_).absolutePath();
        const auto chosen = pel::dialogs().saveFile(this, request);
        if (!chosen)
            return std::nullopt;
        if (!QFileInfo::exists(*chosen))
            return SaveTarget{*chosen, false};
        pel::systemBeep();
        const auto answer = pel::prompts().confirm(
            this, fileNamePart(*chosen) + QStringLiteral("\r\nと同じ名前のファイルがあります。\r\n 上書きしてよろしいですか ?"));
        if (answer == pel::Prompts::Answer::Yes)
            return SaveTarget{*chosen, true};
        if (answer == pel::Prompts::Answer::Cancel)
            return std::nullopt;
    }
}

bool TForm1::SaveAsActionExecute()
{
    // The document takes a new name only once it has been written there: a
    // declined or cancelled Save As leaves the previous name, so a later
    // Save never overwrites a file the user turned down.
    const auto target = chooseSaveTarget(QStringLiteral("無題"));
    if (!target || !writeDocument(target->path))
        return false;
    documentFileName_ = target->path;
    setCaptionFromFileName();
    if (!target->existed)
        setModifiedFlag(false);
    return true;
}

void TForm1::WinEndActionExecute()
{
    // Ending the desktop session is not this program's business.
}

void TForm1::ExitActionExecute()
{
    close();
}

// ---- Close ---------------------------------------------------------------

bool TForm1::FormCloseQuery()
{
    if (!RichEdit1->document()->isEmpty()) {
        pel::systemBeep();
        const auto answer = pel::prompts().confirm(this, QStringLiteral("文章は変更されています｡\r\n 保存しますか ?"));
        if (answer == pel::Prompts::Answer::Cancel)
            return false;
        // A save that was cancelled or failed keeps the window open, so the
        // document is never dropped unsaved after the user asked to save it.
        if (answer == pel::Prompts::Answer::Yes && !SaveAsActionExecute())
            return false;
    }
    // Every store is tried; one that cannot be written is reported, and the
    // user decides whether to stay and mend it or to quit all the same, so
    // an unwritable folder never traps the program.
    const bool settingsStored = writeSettings();
    const bool backupsStored = writeBackups();
    if (!(settingsStored && backupsStored)) {
        const auto answer = pel::prompts().confirm(
            this, QStringLiteral("保存できなかったファイルがあります｡\r\nこのまま終了しますか ?"),
            pel::Prompts::Buttons::YesNo);
        if (answer != pel::Prompts::Answer::Yes)
            return false;
    }
    phraseBarStrings_.clear();
    return true;
}

bool TForm1::writeBackups()
{
    bool stored = phraseRegister_->writeBackup(this);
    if (Form3)
        stored = Form3->phraseRegister().writeBackup(this) && stored;
    if (Form5)
        stored = Form5->phraseRegister().writeBackup(this) && stored;
    return stored;
}
