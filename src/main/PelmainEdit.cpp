// Editing commands: undo, clipboard, delete, clear, selection, font,
// colours, word wrap, printing and the caret position report.
#include "main/Pelmain.h"
#include "platform/EditorPort.h"

#include "view/DocumentView.h"
#include "main/DocumentPrinter.h"
#include "main/FindReplaceDialogs.h"
#include "platform/WindowFront.h"
#include "platform/Dialogs.h"
#include "platform/Printing.h"
#include "platform/Prompts.h"
#include "platform/Services.h"
#include "text/TextMime.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QWindow>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

bool clipboardHoldsText()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

} // namespace

void TForm1::setupEditActions()
{
    addCommands({
        command(u"UndoAction"_s, u"元に戻す"_s, QString(), -1, &TForm1::UndoActionExecute),
        command(u"ClearAction"_s, u"クリア"_s, u"編集中のテキストをクリアします｡"_s, 62, &TForm1::ClearActionExecute),
        command(u"CopyAction"_s, u"コピー"_s, u"コピー"_s, 6, &TForm1::CopyActionExecute),
        command(u"CutAction"_s, u"切り取り"_s, u"切り取り"_s, 7, &TForm1::CutActionExecute),
        command(u"PasteAction"_s, u"貼り付け"_s, u"貼り付け"_s, 8, &TForm1::PasteActionExecute),
        command(u"FontAction"_s, u"フォントの設定"_s, u"フォントの設定"_s, 11, &TForm1::FontActionExecute),
        command(u"BackColorAction"_s, u"背景色の設定"_s, u"背景色の設定"_s, 12, &TForm1::BackColorActionExecute),
        command(u"WordWrapAction"_s, u"折り返し改行"_s, u"折り返し改行"_s, -1, &TForm1::WordWrapActionExecute),
        command(u"PrintAction"_s, u"印刷"_s, u"印刷"_s, 3, &TForm1::PrintActionExecute),
        command(u"PrinterAction"_s, u"プリンタ設定"_s, u"プリンタ設定"_s, 4, &TForm1::PrinterActionExecute),
        // Menu items and buttons with click handlers of their own.
        command(u"Delete1Command"_s, u"削除"_s, u"選択範囲を削除します｡"_s, 70, &TForm1::Delete1Click),
        command(u"AllSelction1Command"_s, u"すべてを選択(&L)"_s, u"すべてを選択します｡"_s, -1, &TForm1::AllSelction1Click),
        command(u"NoSelection1Command"_s, u"選択の切り替え(&A)"_s, u"選択範囲を解除します｡"_s, -1, &TForm1::NoSelection1Click),
    });
    QAction* wrap = action(u"WordWrapAction"_s);
    wrap->setCheckable(true);
    wrap->setChecked(true);
}

// ---- Undo and the clipboard ------------------------------------------------

void TForm1::UndoActionExecute()
{
    // An undo is a change of content like any other: the flag is set, also
    // when the undo returns to where the flag was last cleared.
    pel::edit::undo(*session_);
}

void TForm1::CopyActionExecute()
{
    QApplication::clipboard()->setMimeData(pel::mimeFromSelection(*session_));
    action(QStringLiteral("PasteAction"))->setEnabled(clipboardHoldsText());
    session_->setModifiedFlag(false);
}

void TForm1::CutActionExecute()
{
    CopyActionExecute();
    editorPort_->ReplaceEditorSelection(QString());
    session_->setModifiedFlag(false);
}

void TForm1::PasteActionExecute()
{
    // Not offered to Undo, as for every command's insertion.
    if (clipboardHoldsText()) {
        RichEdit1->paste(QApplication::clipboard()->mimeData(), pel::UndoPolicy::NotUndoable);
        RichEdit1->setFocus();
    }
    session_->setModifiedFlag(false);
}

// ---- Delete, clear and the selection -------------------------------------

void TForm1::Delete1Click()
{
    // With nothing selected the whole document goes. Both are ordinary
    // edits, so Undo brings the text back.
    const pel::Selection selection = session_->selection();
    pel::edit::remove(*session_, selection.isEmpty() ? pel::TextRange{0, session_->document().length()}
                                                     : selection.range());
    session_->setModifiedFlag(false);
}

void TForm1::ClearActionExecute()
{
    // Asked whenever the editor holds text that is in no file: key releases
    // clear the modified flag, so it alone cannot tell.
    if (session_->modifiedFlag() || session_->hasUnsavedChanges()) {
        const auto answer = pel::prompts().confirm(this, QStringLiteral("現在の内容を破棄します｡よろしいですか｡"),
                                                   pel::Prompts::Buttons::YesNo);
        if (answer != pel::Prompts::Answer::Yes)
            return;
    }
    // The window's start-up state again, but neither the phrase bar's
    // register (phrases registered since start stay) nor the command-line
    // file (the document is emptied, not replaced by another file).
    readSettings();
    resetWindowState();
    session_->setModifiedFlag(false);
    RichEdit1->setCompositionColoured(true);
}

void TForm1::AllSelction1Click()
{
    if (session_->selection().isEmpty())
        pel::edit::selectAll(*session_);
}

void TForm1::NoSelection1Click()
{
    session_->setSelection(pel::Selection::caret(session_->selection().start()));
}

// ---- Font, colour and word wrap ------------------------------------------

void TForm1::FontActionExecute()
{
    // The editor holds plain text: the selection's attributes are the whole
    // text's, and a font given to the selection is given to all of it.
    session_->setModifiedFlag(false);
    const QFont current = RichEdit1->font();
    QColor colour = RichEdit1->palette().color(QPalette::Text);
    const auto chosen = pel::dialogs().chooseFont(
        this, current,
        [this, &colour](const QFont& font) {
            FontDialog1Apply(font);
            if (focusWidget() == RichEdit1)
                setEditorTextColour(colour);
        },
        &colour);
    if (!chosen)
        return;
    RichEdit1->setFont(*chosen);
    setEditorTextColour(colour);
    session_->setModifiedFlag(false);
}

void TForm1::setEditorTextColour(const QColor& colour)
{
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Text, colour);
    RichEdit1->setPalette(palette);
}

void TForm1::FontDialog1Apply(const QFont& font)
{
    QWidget* active = focusWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(active)) {
        edit->setFont(font);
    } else if (active == RichEdit1) {
        RichEdit1->setFont(font);
    } else {
        pel::systemBeep();
    }
}

void TForm1::BackColorActionExecute()
{
    QPalette palette = RichEdit1->palette();
    const auto chosen = pel::dialogs().chooseColor(this, palette.color(QPalette::Base));
    if (!chosen)
        return;
    palette.setColor(QPalette::Base, *chosen);
    RichEdit1->setPalette(palette);
}

void TForm1::WordWrapActionExecute()
{
    const bool wrap = !RichEdit1->wordWrap();
    RichEdit1->setWordWrap(wrap);
    reportKeptWrap(RichEdit1->wrapKept());
    // The menu entry and WradWrapButton follow the command's check mark.
    action(QStringLiteral("WordWrapAction"))->setChecked(wrap);
}

void TForm1::reportKeptWrap(bool kept)
{
    if (kept)
        StatusBar1->showMessage(QStringLiteral("行が長すぎるため、折り返して表示しています"));
}

// ---- Printing ------------------------------------------------------------

void TForm1::PrintActionExecute()
{
    QPrinter& printer = pel::sharedPrinter();
    pel::preparePdfFallback(printer, session_->fileName());
    if (!pel::dialogs().print(this, printer))
        return;
    printer.setDocName(session_->fileName());
    const pel::DocumentPrinter job(RichEdit1->font(), RichEdit1->palette().color(QPalette::Text), logicalDpiY());
    const auto outcome = job.print(session_->document(), printer);
    if (outcome == pel::DocumentPrinter::Outcome::NoPages)
        pel::prompts().error(this, QStringLiteral("指定された範囲に印刷するページがありません｡"));
    else if (outcome == pel::DocumentPrinter::Outcome::Failed)
        pel::prompts().applicationError(this, pel::printFailureMessage(printer));
}

void TForm1::PrinterActionExecute()
{
    pel::dialogs().printerSetup(this, pel::sharedPrinter());
}

// ---- Lines, the caret report and the editor's events ---------------------

void TForm1::ReportCaretPosition()
{
    const qsizetype start = session_->selection().start();
    const pel::DisplayLine line = RichEdit1->displayLineAt(start);
    // A character outside the basic plane takes two positions; it is one
    // character to the user.
    qsizetype column = start - line.start;
    session_->document().forEachChunk(line.start, start, [&column](QStringView chunk, qsizetype) {
        column -= std::count_if(chunk.cbegin(), chunk.cend(), [](QChar c) { return c.isLowSurrogate(); });
        return true;
    });
    StatusBar1->showMessage(QStringLiteral("カーソルの位置は　") + QString::number(line.number + 1)
                            + QStringLiteral("行目の　") + QString::number(column + 1)
                            + QStringLiteral("文字目です｡"));
    session_->setModifiedFlag(false);
}

void TForm1::RichEdit1SelectionChange()
{
    const bool selected = !session_->selection().isEmpty();
    action(QStringLiteral("CutAction"))->setEnabled(selected);
    action(QStringLiteral("CopyAction"))->setEnabled(selected);
    RichEdit1->setFocus();
    // Text a tool window inserted brings the main window forward; the find
    // and replace dialogs keep the keyboard so the next press searches on.
    QWidget* active = QApplication::activeWindow();
    if (isVisible() && active && active != this && active != FindDialog1
        && active != ReplaceDialog1) {
        pel::bringForward(this);
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RichEdit1 && event->type() == QEvent::KeyRelease) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !session_->selection().isEmpty())
            NoSelection1Click();
        ReportCaretPosition();
    } else if (watched == RichEdit1->viewport() && event->type() == QEvent::MouseButtonPress) {
        // The editor moves its caret when it handles the press, after us.
        QMetaObject::invokeMethod(this, &TForm1::ReportCaretPosition, Qt::QueuedConnection);
    } else if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        // Mapped: a stored minimised state is applied now (see showEvent).
        windowHandle()->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &TForm1::minimiseNow, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}
