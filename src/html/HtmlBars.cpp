#include "html/HtmlBars.h"

using namespace Qt::Literals::StringLiterals;

namespace pel::html {

namespace {

using Opt = std::optional<QString>;

MenuTable htmlMenu()
{
    return {u"HtmlMenu"_s, true, {
        submenuRow(u"Tenplert1"_s, u"テンプレート"_s, u"テンプレート"_s),
        entryRow(1, u"Tenpu1"_s, u"TenPlertAction"_s),
        entryRow(1, u"Tenp2"_s, u"EasiPlartAction"_s),
        separatorRow(),
        submenuRow(u"ManuBack1"_s, u"グランド"_s, u"グランド"_s),
        entryRow(1, u"ManuBack2"_s, u"FormAction"_s, 63),
        entryRow(1, u"ManuBack3"_s, u"FormImageAction"_s),
        entryRow(1, u"ManuBack4"_s, u"FColorAction"_s),
        entryRow(1, u"ManuBack5"_s, u"BGfixedAction"_s),
        separatorRow(1),
        entryRow(1, u"Teitle1"_s, u"TitleAction"_s, 63),
        entryRow(1, u"Look1"_s, u"H1Action"_s, 63),
        separatorRow(1),
        entryRow(1, u"Margn1"_s, u"MarginAction"_s),
        entryRow(1, u"NotShow1"_s, u"NoShowAction"_s, 63),
        separatorRow(),
        submenuRow(u"Font1"_s, u"フォント"_s, u"フォント"_s),
        entryRow(1, u"FontBB1"_s, u"BAction"_s, 63, u"太文字"_s, u"太文字"_s),
        entryRow(1, u"FontII1"_s, u"IAction"_s, 63, u"斜体文字"_s, u"斜体文字(イタリック体)"_s),
        entryRow(1, u"FontUnder1"_s, u"UnderAction"_s, 63, {}, u"文字の下に線を引きます｡"_s),
        entryRow(1, u"FontIcoll"_s, u"TeleAction"_s, 63, {}, u"均等の大きさで文字の巾を決めて表示します｡"_s),
        entryRow(1, u"EontDel1"_s, u"StrikeAction"_s, 63, {}, u"文字の中央に抹消する線を引きます｡"_s),
        separatorRow(1),
        entryRow(1, u"FontSize1"_s, u"FntSizeAction"_s, 63),
        entryRow(1, u"FontColor1"_s, u"FntColorAction"_s, 63),
        entryRow(1, u"FontCoSize1"_s, u"FntSizColAction"_s, 63),
        separatorRow(),
        submenuRow(u"TextM1"_s, u"テキスト"_s, u"テキスト"_s),
        entryRow(1, u"TextM2"_s, u"BRAction"_s, 30),
        entryRow(1, u"TextM3"_s, u"NoBrAction"_s, 49),
        entryRow(1, u"TextM4"_s, u"PAction"_s, 31),
        separatorRow(1),
        entryRow(1, u"TextM5"_s, u"ALleftAction"_s, 63),
        entryRow(1, u"TextM6"_s, u"CenterAction"_s, 63),
        entryRow(1, u"TextM7"_s, u"AlRightAction"_s, 63),
        entryRow(1, u"TextM8"_s, u"BlockAction"_s, 63),
        separatorRow(1),
        entryRow(1, u"TextM9"_s, u"PREAction"_s, 63),
        separatorRow(1),
        entryRow(1, u"TextM10"_s, u"DLDTAction"_s),
        entryRow(1, u"TextM11"_s, u"LIOLAction"_s),
        separatorRow(1),
        entryRow(1, u"TextM12"_s, u"LIdiskAction"_s),
        entryRow(1, u"TextM13"_s, u"LIcircleAction"_s),
        entryRow(1, u"TextM14"_s, u"LIsquareAction"_s),
        separatorRow(1),
        entryRow(1, u"TextM15"_s, u"LIOL2Action"_s, -1, u"リスト文字"_s, u"リストに英大文字その他いろいろを付ける"_s),
        separatorRow(),
        submenuRow(u"Line1"_s, u"罫線"_s, u"罫線"_s),
        entryRow(1, u"Line2"_s, u"HrAction"_s, 33, u"罫線( 標準 )"_s),
        separatorRow(1),
        entryRow(1, u"Line3"_s, u"HRsizeAction"_s),
        entryRow(1, u"Line4"_s, u"HRwidthAction"_s),
        entryRow(1, u"Line5"_s, u"HRalignAction"_s),
        entryRow(1, u"Line6"_s, u"HRnoshadeAction"_s),
        entryRow(1, u"Line7"_s, u"HRcolorAction"_s),
    }};
}

MenuTable linkMenu()
{
    MenuTable table{u"LinkMenu"_s, true, {
        entryRow(0, u"URL1"_s, u"URLAction"_s, 63, {}, u"URLアドレスへリンクします｡"_s),
        entryRow(0, u"Email1"_s, u"MailAction"_s, 63),
        entryRow(0, u"RardURL1"_s, u"METAAction"_s, -1, u"ロード ( URL )"_s),
        separatorRow(),
        entryRow(0, u"pageLink2"_s, u"InPageLinkAction"_s, 63),
        entryRow(0, u"PageLink3"_s, u"PageLinkAction"_s, 63),
        separatorRow(),
        submenuRow(u"FLEAME1"_s, u"フレームの設定"_s, u"フレームの設定"_s),
        entryRow(1, u"FLEAME2"_s, u"Flerm1Action"_s, 38, u"フレームT字型"_s),
        entryRow(1, u"FLEAME3"_s, u"Flerm2Action"_s, 42, u"フレーム縦2分割"_s),
        entryRow(1, u"FLEAME4"_s, u"Flern3Action"_s, 43, u"フレーム横2分割"_s),
        submenuRow(u"FormTag1"_s, u"フォームの設定"_s, u"フォームの設定"_s),
    }};
    const char16_t* const forms[] = {
        u"FormDfAction", u"FormTextAction", u"FormPassAction", u"FormTextAreaAction", u"FormRadioAction",
        u"FormCheckAction", u"FormResetAction", u"FormAddAction", u"FormMailtoAction", u"FormOptionAction",
    };
    int number = 2;
    for (const char16_t* command : forms)
        table.rows << entryRow(1, u"FormTag"_s + QString::number(number++), QString::fromUtf16(command));
    table.rows << submenuRow(u"Table1"_s, u"テーブルの設定"_s, u"テーブルの設定"_s);
    const char16_t* const tables[] = {
        u"Table1Action", u"TableTdTrAction", u"TableSizeAction", u"TableBorderAction", u"TableSpacingAction",
        u"TablecellpaddingAction", u"TableAllAction", u"TableBorColorAction", u"TableSeiiColorAction",
        u"TableSellImageAction", u"TableTitleAction", u"TableAlignAction",
    };
    number = 2;
    for (const char16_t* command : tables) {
        MenuRow row = entryRow(1, u"Table"_s + QString::number(number), QString::fromUtf16(command));
        if (number == 4)
            row.caption = u"テーブル(全体のサイズ)"_s;
        else if (number == 5)
            row.caption = u"テーブル(外枠のサイズ)"_s;
        table.rows << row;
        ++number;
    }
    return table;
}

MenuTable imageMenu()
{
    return {u"IMAGEMenu"_s, true, {
        entryRow(0, u"ImageM1"_s, u"IMAGEAction"_s, 63),
        entryRow(0, u"ImageM2"_s, u"IMGnameAction"_s),
        entryRow(0, u"ImageLinkM3"_s, u"IMGlinkAction"_s),
        entryRow(0, u"SpeseM1"_s, u"IMGspaceAction"_s),
        separatorRow(),
        entryRow(0, u"ImageMRownd1"_s, u"RaundAction1"_s, 63),
        entryRow(0, u"ImageMRowndCut1"_s, u"BRclearAction"_s),
        separatorRow(),
        entryRow(0, u"ScrollM1"_s, u"ScroolAction"_s, 63, {}, u"文字などをスクロールさせる I.E のみ"_s),
        entryRow(0, u"TenmetsuM1"_s, u"BlinkAction"_s, 63),
        submenuRow(u"Style1"_s, u"スタイルシート"_s, u"スタイルシート"_s),
        entryRow(1, u"Style2"_s, u"STYLEcolorAction"_s, 63),
        entryRow(1, u"Style3"_s, u"STYLEimageAction"_s, 63),
        entryRow(1, u"Style4"_s, u"STYLErepeatAction"_s, 63),
        entryRow(1, u"Style5"_s, u"STYLEnorepeatAction"_s, 63),
    }};
}

MenuTable javaMenu()
{
    return {u"JavaMenu"_s, false, {
        entryRow(0, u"JAVA3"_s, u"JavaJavaAction"_s, -1, u"JavaListBox"_s, u"Javaソースのリストボックスを表示します"_s),
        separatorRow(),
        submenuRow(u"JavaSclipt2"_s, u"Java(スクリブト)"_s, u"Java　雛形 ( Date )"_s),
        entryRow(1, u"JavaSclipt8"_s, u"JavaSclipt8Click"_s),
        entryRow(1, u"JavaDate2"_s, u"JavaDate2Click"_s),
        entryRow(1, u"JavaTime2"_s, u"JavaTime2Click"_s),
        submenuRow(u"JavaAplet7"_s, u"Java(アプレット)"_s, QString()),
        entryRow(1, u"JavaApret9"_s, u"JavaApret9Click"_s),
        entryRow(1, u"JavaPARAM2"_s, u"JavaPARAM2Click"_s),
    }};
}

IconBarRow button(const QString& name, const QString& command, int icon, Opt hint = {})
{
    return entryRow(0, name, command, icon, {}, std::move(hint));
}

} // namespace

const QList<MenuTable>& htmlMenus()
{
    static const QList<MenuTable> menus = {htmlMenu(), linkMenu(), imageMenu(), javaMenu()};
    return menus;
}

const MenuTable* findHtmlMenu(const QString& name)
{
    for (const MenuTable& table : htmlMenus())
        if (table.name == name)
            return &table;
    return nullptr;
}

const QList<MenuButtonRow>& homePageBarButtons()
{
    static const QList<MenuButtonRow> buttons = {
        {u"HTMLButton"_s, u"HTML(&W)"_s, u"HTMLタグ ( Alt + W )|HTML作成用タグを入力します"_s, u"HtmlMenu"_s},
        {u"ImageButton"_s, u"イメージ(&I)"_s, u"イメージ ( Alt + I )|イメージGifの表示等を設定します"_s, u"IMAGEMenu"_s},
        {u"LinkButton"_s, u"リンク(&L)"_s, u"リンク ( Alt + L )|リンク用タグ入力支援"_s, u"LinkMenu"_s},
        {u"JavaButton"_s, u"JAVA(&J)"_s, u"Java  ( Alt + J )|Java関係"_s, u"JavaMenu"_s},
    };
    return buttons;
}

const QList<IconBarRow>& htmlIconBar()
{
    static const QList<IconBarRow> rows = [] {
        IconBarRow bold = button(u"hBButton"_s, u"BAction"_s, 28, u"太字書体|太字書体に設定する"_s);
        bold.caption = u"太字書体"_s;
        bold.byClick = true;
        return QList<IconBarRow>{
            gapRow(8),
            button(u"hURLButton"_s, u"URLAction"_s, 37),
            button(u"hEmileButton"_s, u"MailAction"_s, 73),
            gapRow(8),
            button(u"hImageButton"_s, u"IMAGEAction"_s, 39),
            button(u"hImageNameButton"_s, u"IMGnameAction"_s, 74),
            button(u"hImageTownButton"_s, u"RaundAction1"_s, 40),
            button(u"hImageLinkButton"_s, u"IMGlinkAction"_s, 75),
            button(u"hSpaseButton"_s, u"IMGspaceAction"_s, 76),
            button(u"hImage2Button"_s, u"IMAGEAction"_s, 16),
            gapRow(10),
            button(u"hPagelink1Button"_s, u"InPageLinkAction"_s, 78,
                   u"リンク元ボタン|ﾘﾝｸﾎﾞﾀﾝを設定するﾄﾞｷｭﾒﾝﾄ(リンク先)と(合記号)は削除して下さい"_s),
            button(u"hPageLink2Button"_s, u"PageLinkAction"_s, 35,
                   u"リンク先ボタン|リンク先のﾄﾞｷｭﾒﾝﾄ(合記号)は削除して下さい"_s),
            button(u"hSenterButton"_s, u"CenterAction"_s, 32),
            button(u"hBRButton"_s, u"BRAction"_s, 30),
            button(u"hPButton"_s, u"PAction"_s, 31),
            button(u"hHRButton"_s, u"HrAction"_s, 33),
            bold,
            button(u"hIButton"_s, u"IAction"_s, 29, u"斜体文字|文字を斜体に設定する"_s),
            button(u"hUnderButton"_s, u"UnderAction"_s, 44),
            button(u"hDelLineButton"_s, u"StrikeAction"_s, 45),
            button(u"hIcoolButton"_s, u"TeleAction"_s, 46),
            button(u"hScrollButton"_s, u"ScroolAction"_s, 77),
            gapRow(10),
            button(u"hBruserButton"_s, u"BrowserAction"_s, 50),
            gapRow(10),
            button(u"hLeftButton"_s, u"ALleftAction"_s, 47),
            button(u"hRightButton"_s, u"AlRightAction"_s, 48),
            button(u"hJavaApretButton"_s, u"JavaAppletAction"_s, 26),
            button(u"hJavaScliptButton"_s, u"hJavaScliptButtonClick"_s, 26, u"Javaスクリプト|Javaスクリプトソース"_s),
        };
    }();
    return rows;
}

} // namespace pel::html
