// The document: its file, its change state, the file commands and the close.
#include "main/Pelmain.h"

#include "main/About.h"
#include "view/DocumentView.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseList.h"
#include "platform/Dialogs.h"
#include "platform/InputHold.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "platform/TextMessages.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
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
    addCommands({
        {QStringLiteral("ExitAction"), QStringLiteral("終了"), QStringLiteral("終了"), 19, [this] { close(); }},
        command(QStringLiteral("NewAction"), QStringLiteral("新規作成"), QStringLiteral("新規作成"), 0,
                &TForm1::NewActionExecute),
        command(QStringLiteral("OpenAction"), QStringLiteral("開く"), QStringLiteral("開く"), 1,
                &TForm1::OpenActionExecute),
        command(QStringLiteral("ReopenAction"), QStringLiteral("文字コードを指定して開き直す"),
                QStringLiteral("開き直す|文字コードを指定してファイルを読み込み直します｡"), -1,
                &TForm1::ReopenActionExecute),
        command(QStringLiteral("SaveAction"), QStringLiteral("上書き保存"), QStringLiteral("上書き保存"), 2,
                &TForm1::SaveActionExecute),
        {QStringLiteral("SaveAsAction"), QStringLiteral("名前を付けて保存"), QStringLiteral("名前を付けて保存"), 15,
         [this] { SaveAsActionExecute(); }},
        // Ending the desktop session is not this program's business.
        {QStringLiteral("WinEndAction"), QStringLiteral("Win終了"), QString(), -1, [] {}},
    });
}

// ---- Document state ------------------------------------------------------

QString TForm1::ChangeIndicator() const
{
    return Label1->text();
}

void TForm1::showChangeIndicator()
{
    switch (session_->indicator()) {
    case pel::DocumentSession::Indicator::Blank:
        Label1->clear();
        break;
    case pel::DocumentSession::Indicator::Unchanged:
        Label1->setText(kUnchanged);
        break;
    case pel::DocumentSession::Indicator::Changed:
        Label1->setText(kChanged);
        break;
    }
}

void TForm1::setCaptionFromFileName()
{
    setWindowTitle(fileNamePart(session_->fileName()));
}

bool TForm1::loadDocumentBytes(QByteArrayView bytes, std::optional<pel::TextEncoding> encoding)
{
    if (!isVisible()) {
        RichEdit1->showLoading(bytes, {}, encoding);
        return true;
    }
    // A large file is shown loading in the status bar, and what is in can
    // be scrolled and read meanwhile; no command sees half of it (see
    // InputHold), and a close stops the loading.
    loading_ = true;
    std::optional<pel::InputHold> hold(std::in_place, RichEdit1);
    const bool whole = RichEdit1->showLoading(bytes, [this](int percent) {
        StatusBar1->showMessage(QStringLiteral("ファイルを読み込んでいます… %1%").arg(percent));
        QCoreApplication::processEvents();
        return !closeAfterLoading_;
    }, encoding);
    loading_ = false;
    StatusBar1->clearMessage();
    if (!whole) {
        // Empty and nameless: nothing could write the stopped load over
        // its file or the one before it.
        hold->discard();
        session_->clear();
        session_->setFileName(QString());
        setWindowTitle(QStringLiteral("Pelmora"));
        session_->markUnchanged();
    }
    // The keys typed meanwhile go in now, after the whole text.
    hold.reset();
    if (closeAfterLoading_)
        QTimer::singleShot(0, this, &QWidget::close);
    return whole;
}

bool TForm1::loadFile(const QString& path, std::optional<pel::TextEncoding> encoding)
{
    const auto bytes = pel::readWholeFile(path);
    if (!bytes) {
        pel::prompts().applicationError(this, pel::cannotOpenMessage(path));
        return false;
    }
    return loadDocumentBytes(*bytes, encoding);
}

bool TForm1::writeDocument(const QString& path)
{
    pel::EncodedText encoded;
    switch (session_->save(path, &encoded)) {
    case pel::DocumentSession::SaveResult::Saved:
        followUnsavedChanges();
        return true;
    case pel::DocumentSession::SaveResult::CannotEncode: {
        // Never write "?" for a character the code page cannot hold, nor
        // bytes that would read back as something else.
        const QString text = session_->text();
        pel::prompts().error(this, encoded.failure == pel::EncodedText::Failure::Merges
                                       ? joiningByteMessage(text, encoded.failedAt, session_->document().marks())
                                       : pel::unsavableCharacterMessage(text, encoded.failedAt,
                                                                        session_->spelling().encoding));
        return false;
    }
    case pel::DocumentSession::SaveResult::CannotWrite:
        break;
    }
    pel::prompts().applicationError(this, pel::cannotCreateMessage(path));
    return false;
}

// ---- File commands -------------------------------------------------------

void TForm1::NewActionExecute()
{
    if (session_->isEmpty())
        return;
    pel::systemBeep();
    const auto answer = pel::prompts().confirm(this, QStringLiteral("編集中の文書があります｡\r\n保存しますか ?"));
    if (answer == pel::Prompts::Answer::Yes) {
        SaveAsActionExecute();
    } else if (answer == pel::Prompts::Answer::No) {
        session_->clear();
        session_->setFileName(QString());
        session_->markUnchanged();
        RichEdit1->setFocus();
    }
}

bool TForm1::mayReplaceDocument()
{
    if (session_->isEmpty())
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
        pel::TextFileChoice choice;   // 自動判別
        request.textFile = &choice;
        if (const auto chosen = pel::dialogs().openFile(this, request)) {
            openDocument(*chosen, choice.encoding ? std::optional(choice.encoding->encoding) : std::nullopt);
        }
    }
    RichEdit1->setFocus();
}

bool TForm1::openDocument(const QString& path, std::optional<pel::TextEncoding> encoding)
{
    if (!loadFile(path, encoding))
        return false;
    session_->setFileName(path);
    session_->noteFile();
    session_->markUnchanged();
    setCaptionFromFileName();
    session_->setModifiedFlag(false);
    return true;
}

void TForm1::ReopenActionExecute()
{
    const QString path = session_->fileName();
    if (path.isEmpty()) {
        pel::prompts().message(this, QStringLiteral("この文書はまだファイルに保存されていないため､開き直せません｡"));
        return;
    }
    const pel::TextSpelling spelling = session_->spelling();
    pel::TextFileChoice choice{pel::FileEncoding{spelling.encoding, spelling.bom}};
    if (!pel::dialogs().chooseTextEncoding(this, choice))
        return;
    if (session_->hasUnsavedChanges()) {
        pel::systemBeep();
        const auto answer = pel::prompts().confirm(
            this, fileNamePart(path) + QStringLiteral("\r\nを開き直すと編集中の変更は失われます｡\r\n開き直しますか ?"),
            pel::Prompts::Buttons::YesNo);
        if (answer != pel::Prompts::Answer::Yes)
            return;
    }
    openDocument(path, choice.encoding ? std::optional(choice.encoding->encoding) : std::nullopt);
    RichEdit1->setFocus();
}

bool TForm1::mayWriteOverFile()
{
    const QString name = fileNamePart(session_->fileName());
    switch (session_->fileState()) {
    case pel::DocumentSession::FileState::Changed: {
        // Another program wrote the file since it was read or saved here:
        // its text is not dropped without a question.
        pel::systemBeep();
        const auto answer = pel::prompts().confirm(
            this, name + QStringLiteral("\r\nは他のプログラムによって変更されています｡\r\n上書きしてよろしいですか ?"),
            pel::Prompts::Buttons::YesNo);
        return answer == pel::Prompts::Answer::Yes;
    }
    case pel::DocumentSession::FileState::Gone:
        pel::prompts().message(this, name + QStringLiteral("\r\nは削除されたか移動されています｡新しく保存します｡"));
        return true;
    case pel::DocumentSession::FileState::Same:
    case pel::DocumentSession::FileState::Unknown:
        break;
    }
    return true;
}

void TForm1::offerReloadIfChanged()
{
    if (loading_ || closing_ || !session_->hasNewFileChange())
        return;
    // Asked once per change; a save still asks before it writes over it.
    const QString path = session_->fileName();
    const bool unsaved = session_->hasUnsavedChanges();
    session_->noticeChange();
    pel::systemBeep();
    const QString text = fileNamePart(path) + QStringLiteral("\r\nは他のプログラムによって変更されています｡\r\n読み込み直しますか ?")
        + (unsaved ? QStringLiteral("\r\n(編集中の変更は失われます｡)") : QString());
    if (pel::prompts().confirm(this, text, pel::Prompts::Buttons::YesNo) == pel::Prompts::Answer::Yes)
        openDocument(path);
}

void TForm1::SaveActionExecute()
{
    if (session_->fileName().isEmpty()) {
        SaveAsActionExecute();
        return;
    }
    if (!mayWriteOverFile() || !writeDocument(session_->fileName()))
        return;
    setCaptionFromFileName();
    session_->setModifiedFlag(false);
}

std::optional<TForm1::SaveTarget> TForm1::chooseSaveTarget(const QString& prefill, pel::TextFileChoice* choice)
{
    for (;;) {
        pel::FileDialogRequest request;
        request.textFile = choice;
        request.fileName = prefill;
        request.filters = documentFilters(false);
        request.defaultSuffix = QStringLiteral("txt");
        if (!session_->fileName().isEmpty())
            request.directory = QFileInfo(session_->fileName()).absolutePath();
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
    // The 文字コード field starts on the document's own encoding and breaks.
    const pel::TextSpelling before = session_->spelling();
    pel::TextFileChoice choice{pel::FileEncoding{before.encoding, before.bom}, before.lineBreak};
    const auto target = chooseSaveTarget(QStringLiteral("無題"), &choice);
    if (!target)
        return false;
    pel::TextSpelling spelling = before;
    if (choice.encoding) {
        spelling.encoding = choice.encoding->encoding;
        spelling.bom = choice.encoding->bom;
    }
    spelling.lineBreak = choice.lineBreak;
    session_->setSpelling(spelling);
    if (!writeDocument(target->path)) {
        session_->setSpelling(before);
        return false;
    }
    session_->setFileName(target->path);
    setCaptionFromFileName();
    if (!target->existed)
        session_->setModifiedFlag(false);
    return true;
}

// ---- Close ---------------------------------------------------------------

bool TForm1::FormCloseQuery()
{
    if (!session_->isEmpty()) {
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
