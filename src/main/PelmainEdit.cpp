// Editing commands: undo, clipboard, delete, clear, selection, font,
// colours, word wrap, printing and the caret position report.
#include "main/Pelmain.h"

#include "main/DocumentPrinter.h"
#include "main/DocumentText.h"
#include "main/FindReplaceDialogs.h"
#include "platform/Dialogs.h"
#include "platform/LineBreaks.h"
#include "platform/Printing.h"
#include "platform/Prompts.h"
#include "platform/Services.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QWindow>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolButton>

namespace {

bool clipboardHoldsText()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

} // namespace

void TForm1::setupEditActions()
{
    addCommand(QStringLiteral("UndoAction"), QStringLiteral("元に戻す"), QString(), -1);
    addCommand(QStringLiteral("ClearAction"), QStringLiteral("クリア"), QStringLiteral("編集中のテキストをクリアします｡"), 62);
    addCommand(QStringLiteral("CopyAction"), QStringLiteral("コピー"), QStringLiteral("コピー"), 6);
    addCommand(QStringLiteral("CutAction"), QStringLiteral("切り取り"), QStringLiteral("切り取り"), 7);
    addCommand(QStringLiteral("PasteAction"), QStringLiteral("貼り付け"), QStringLiteral("貼り付け"), 8);
    addCommand(QStringLiteral("FontAction"), QStringLiteral("フォントの設定"), QStringLiteral("フォントの設定"), 11);
    addCommand(QStringLiteral("BackColorAction"), QStringLiteral("背景色の設定"), QStringLiteral("背景色の設定"), 12);
    QAction* wrap = addCommand(QStringLiteral("WordWrapAction"), QStringLiteral("折り返し改行"),
                               QStringLiteral("折り返し改行"), -1);
    wrap->setCheckable(true);
    wrap->setChecked(true);
    addCommand(QStringLiteral("PrintAction"), QStringLiteral("印刷"), QStringLiteral("印刷"), 3);
    addCommand(QStringLiteral("PrinterAction"), QStringLiteral("プリンタ設定"), QStringLiteral("プリンタ設定"), 4);
    // Menu items and buttons with click handlers of their own.
    addCommand(QStringLiteral("Delete1Command"), QStringLiteral("削除"), QStringLiteral("選択範囲を削除します｡"), 70);
    addCommand(QStringLiteral("AllSelction1Command"), QStringLiteral("すべてを選択(&L)"),
               QStringLiteral("すべてを選択します｡"), -1);
    addCommand(QStringLiteral("NoSelection1Command"), QStringLiteral("選択の切り替え(&A)"),
               QStringLiteral("選択範囲を解除します｡"), -1);

    bind(QStringLiteral("UndoAction"), &TForm1::UndoActionExecute);
    bind(QStringLiteral("ClearAction"), &TForm1::ClearActionExecute);
    bind(QStringLiteral("CopyAction"), &TForm1::CopyActionExecute);
    bind(QStringLiteral("CutAction"), &TForm1::CutActionExecute);
    bind(QStringLiteral("PasteAction"), &TForm1::PasteActionExecute);
    bind(QStringLiteral("FontAction"), &TForm1::FontActionExecute);
    bind(QStringLiteral("BackColorAction"), &TForm1::BackColorActionExecute);
    bind(QStringLiteral("WordWrapAction"), &TForm1::WordWrapActionExecute);
    bind(QStringLiteral("PrintAction"), &TForm1::PrintActionExecute);
    bind(QStringLiteral("PrinterAction"), &TForm1::PrinterActionExecute);
    bind(QStringLiteral("Delete1Command"), &TForm1::Delete1Click);
    bind(QStringLiteral("AllSelction1Command"), &TForm1::AllSelction1Click);
    bind(QStringLiteral("NoSelection1Command"), &TForm1::NoSelection1Click);
}

// ---- Undo and the clipboard ------------------------------------------------

void TForm1::UndoActionExecute()
{
    // An undo is a change of content like any other: the flag is set, also
    // when the undo returns to where the flag was last cleared (the editor
    // would report that state as unmodified).
    const bool changes = RichEdit1->document()->isUndoAvailable();
    RichEdit1->undo();
    if (changes)
        setModifiedFlag(true);
}

void TForm1::CopyActionExecute()
{
    QApplication::clipboard()->setMimeData(RichEdit1->selectionMimeData());
    action(QStringLiteral("PasteAction"))->setEnabled(clipboardHoldsText());
    setModifiedFlag(false);
}

void TForm1::CutActionExecute()
{
    CopyActionExecute();
    ReplaceEditorSelection(QString());
    setModifiedFlag(false);
}

void TForm1::PasteActionExecute()
{
    if (clipboardHoldsText()) {
        // Not offered to Undo, as for every command's insertion.
        RichEdit1->document()->setUndoRedoEnabled(false);
        RichEdit1->insertMimeData(QApplication::clipboard()->mimeData());
        RichEdit1->document()->setUndoRedoEnabled(true);
        RichEdit1->setFocus();
    }
    setModifiedFlag(false);
}

// ---- Delete, clear and the selection -------------------------------------

void TForm1::Delete1Click()
{
    // With nothing selected the whole document goes. Both are ordinary
    // edits, so Undo brings the text back.
    QTextCursor cursor = RichEdit1->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    RichEdit1->setTextCursor(cursor);
    setModifiedFlag(false);
}

void TForm1::ClearActionExecute()
{
    // Asked whenever the editor holds text that is in no file: key releases
    // clear the editor's own flag, so it alone cannot tell.
    if (ModifiedFlag() || hasUnsavedChanges()) {
        const auto answer = pel::prompts().confirm(this, QStringLiteral("現在の内容を破棄します｡よろしいですか｡"),
                                                   pel::Prompts::Buttons::YesNo);
        if (answer != pel::Prompts::Answer::Yes)
            return;
    }
    // The window's start-up state again, but neither the phrase bar's
    // register (phrases registered since start stay) nor the command-line
    // file (the document is emptied, not replaced by another file).
    readSettings();
    spelling_ = {};
    resetWindowState();
    setModifiedFlag(false);
    setUnsavedChanges(false);
}

void TForm1::AllSelction1Click()
{
    if (!RichEdit1->textCursor().hasSelection())
        RichEdit1->selectAll();
}

void TForm1::NoSelection1Click()
{
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.setPosition(cursor.selectionStart());
    RichEdit1->setTextCursor(cursor);
}

// ---- Font, colour and word wrap ------------------------------------------

void TForm1::FontActionExecute()
{
    // The editor holds plain text: the selection's attributes are the whole
    // text's, and a font given to the selection is given to all of it.
    setModifiedFlag(false);
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
    setModifiedFlag(false);
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
    const bool wrap = RichEdit1->lineWrapMode() == QPlainTextEdit::NoWrap;
    RichEdit1->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    // The menu entry and WradWrapButton follow the command's check mark.
    action(QStringLiteral("WordWrapAction"))->setChecked(wrap);
}

// ---- Printing ------------------------------------------------------------

void TForm1::PrintActionExecute()
{
    QPrinter& printer = pel::sharedPrinter();
    pel::preparePdfFallback(printer, documentFileName_);
    if (!pel::dialogs().print(this, printer))
        return;
    printer.setDocName(documentFileName_);
    const pel::DocumentPrinter job(RichEdit1->font(), RichEdit1->palette().color(QPalette::Text), logicalDpiY());
    const bool printed = job.print(*RichEdit1->document(), printer);
    if (!printed)
        pel::prompts().applicationError(this, pel::printFailureMessage(printer));
}

void TForm1::PrinterActionExecute()
{
    pel::dialogs().printerSetup(this, pel::sharedPrinter());
}

// ---- Lines, the caret report and the editor's events ---------------------

TForm1::DisplayLine TForm1::displayLineAt(int position) const
{
    QTextDocument* document = RichEdit1->document();
    const QTextBlock block = document->findBlock(position);
    if (!block.isValid())
        return {};
    // Lay the paragraph out if the editor has not yet (it lays out what it
    // has shown); paragraphs it has never shown count one line each, as in
    // its scroll bar.
    document->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    const int offset = position - block.position();
    const QTextLine line = layout ? layout->lineForTextPosition(offset) : QTextLine();
    if (!line.isValid())
        return {block.firstLineNumber(), block.position(), block.length() - 1};
    return {block.firstLineNumber() + line.lineNumber(), block.position() + line.textStart(), line.textLength()};
}

QString TForm1::editorText() const
{
    return pel::lineBreaks::toNewlines(documentText_->text());
}

void TForm1::ReportCaretPosition()
{
    const int start = RichEdit1->textCursor().selectionStart();
    const DisplayLine line = displayLineAt(start);
    // A character outside the basic plane takes two positions; it is one
    // character to the user.
    const QTextBlock block = RichEdit1->document()->findBlock(start);
    const QString before = block.text().mid(line.start - block.position(), start - line.start);
    const qsizetype column = before.size() - std::count_if(before.cbegin(), before.cend(),
                                                             [](QChar c) { return c.isLowSurrogate(); });
    StatusBar1->showMessage(QStringLiteral("カーソルの位置は　") + QString::number(line.number + 1)
                            + QStringLiteral("行目の　") + QString::number(column + 1)
                            + QStringLiteral("文字目です｡"));
    setModifiedFlag(false);
}

void TForm1::RichEdit1SelectionChange()
{
    const bool selected = RichEdit1->textCursor().hasSelection();
    action(QStringLiteral("CutAction"))->setEnabled(selected);
    action(QStringLiteral("CopyAction"))->setEnabled(selected);
    RichEdit1->setFocus();
    // Text a tool window inserted brings the main window forward; the find
    // and replace dialogs keep the keyboard so the next press searches on.
    QWidget* active = QApplication::activeWindow();
    if (isVisible() && active && active != this && active != FindDialog1
        && active != ReplaceDialog1) {
        raise();
        activateWindow();
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RichEdit1 && event->type() == QEvent::KeyRelease) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && RichEdit1->textCursor().hasSelection())
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
