#include "phrases/Pellist.h"

TForm3* Form3 = nullptr;

PhraseWindowConfig TForm3::configuration()
{
    PhraseWindowConfig config;
    config.objectName = QStringLiteral("TForm3");
    config.caption = QStringLiteral("ListBox");
    config.listFileName = QStringLiteral("HOMELOG.TXT");
    config.backupFileName = QStringLiteral("HOMELOG.bak");
    config.addButtonName = QStringLiteral("AddItem");
    config.emptyAddFocusesField = false;
    config.clientSize = QSize(257, 366);
    config.position = QPoint(499, 13);
    config.fontColour = 0x800000;  // navy
    config.listFontPixels = 13;
    config.labelColour = 0x00FFFF; // yellow
    config.hints = {
        {QString(), QStringLiteral("|ダブルクリックすると転記出来ます｡")},
        {QStringLiteral("ListBox1"), QStringLiteral("ListBox|文字をダブルクリックして転記します")},
        {QStringLiteral("AddItem"), QStringLiteral("追加|新しいテーターを追加します")},
        {QStringLiteral("Clear"), QStringLiteral("クリア|すべてのテーターをクリアします")},
        {QStringLiteral("Delete"), QStringLiteral("削除|選択範囲を削除します")},
        {QStringLiteral("Button2"), QStringLiteral("先頭へ移動|選択したアイテムを先頭に移動します")},
        {QStringLiteral("Button3"), QStringLiteral("最後部へ|選択したアイテムが最後部へ移動します")},
        {QStringLiteral("Button4"), QStringLiteral("転記|選択した複数のアイテムでも一度に転記出来ます｡")},
        {QStringLiteral("Edit1"), QStringLiteral("追加|追加ボタン押すとリストアップします")},
        {QStringLiteral("Exit"), QStringLiteral("終了|ListBoxを終了します")},
    };
    return config;
}

TForm3::TForm3(pel::EditorPort& editor, QWidget* parent)
    : PhraseListWindow(configuration(), editor, parent)
{
}
