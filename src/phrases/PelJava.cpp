#include "phrases/PelJava.h"

TForm5* Form5 = nullptr;

PhraseWindowConfig TForm5::configuration()
{
    PhraseWindowConfig config;
    config.objectName = QStringLiteral("TForm5");
    config.caption = QStringLiteral("JavaJava");
    config.listFileName = QStringLiteral("JAVALOG.TXT");
    config.backupFileName = QStringLiteral("JAVALOG.bak");
    config.addButtonName = QStringLiteral("Add");
    config.emptyAddFocusesField = true;
    config.clientSize = QSize(269, 394);
    config.position = QPoint(487, 24);
    config.fontColour = std::nullopt;  // the system's window text colour
    config.listFontPixels = 15;
    config.labelColour = 0xFFFF00;     // aqua
    config.hints = {
        {QStringLiteral("ListBox1"), QStringLiteral("JavaList|ダブルクリックすると転記します")},
        {QStringLiteral("Add"), QStringLiteral("追加|Itemを追加します")},
        {QStringLiteral("Clear"), QStringLiteral("クリア|すべてのItemをクリアします")},
        {QStringLiteral("Delete"), QStringLiteral("削除|選択部分を削除します")},
        {QStringLiteral("Button2"), QStringLiteral("先頭へ移動|選択したアイテムが先頭へ移動します")},
        {QStringLiteral("Button3"), QStringLiteral("最後部へ移動|選択したアイテムが最後部へ移動します")},
        {QStringLiteral("Button4"), QStringLiteral("転記|選択した複数のアイテムでも一度に転記出来ます")},
        {QStringLiteral("Edit1"), QStringLiteral("|Itemを入力して下さい")},
        {QStringLiteral("Exit"), QStringLiteral("終了|JavaJavaを終了します")},
    };
    return config;
}

TForm5::TForm5(pel::EditorPort& editor, QWidget* parent)
    : PhraseListWindow(configuration(), editor, parent)
{
}
