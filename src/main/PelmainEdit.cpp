// Editing commands: undo, clipboard, delete, clear, selection, font,
// colours, word wrap, printing and the caret position report.
#include "main/Pelmain.h"

#include <QAction>
#include <QPlainTextEdit>

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
               QStringLiteral("すべてを選択します｡"), 71);
    addCommand(QStringLiteral("NoSelection1Command"), QStringLiteral("選択の切り替え(&A)"),
               QStringLiteral("選択範囲を解除します｡"), 72);

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

void TForm1::UndoActionExecute() { RichEdit1->undo(); }
void TForm1::CutActionExecute() {}
void TForm1::CopyActionExecute() {}
void TForm1::PasteActionExecute() {}
void TForm1::Delete1Click() {}
void TForm1::ClearActionExecute() {}
void TForm1::AllSelction1Click() { RichEdit1->selectAll(); }
void TForm1::NoSelection1Click() {}
void TForm1::FontActionExecute() {}
void TForm1::BackColorActionExecute() {}
void TForm1::WordWrapActionExecute() {}
void TForm1::PrintActionExecute() {}
void TForm1::PrinterActionExecute() {}
void TForm1::ReportCaretPosition() {}

void TForm1::RichEdit1SelectionChange()
{
    const bool selected = RichEdit1->textCursor().hasSelection();
    action(QStringLiteral("CutAction"))->setEnabled(selected);
    action(QStringLiteral("CopyAction"))->setEnabled(selected);
}
