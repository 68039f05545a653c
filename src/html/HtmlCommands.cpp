#include "html/HtmlCommands.h"

#include "platform/EditorPort.h"
#include "platform/LineBreaks.h"

#include <QHash>

using namespace Qt::Literals::StringLiterals;

namespace pel::html {

QString HtmlCommand::result(const QString& selection) const
{
    if (shape == Shape::Fixed)
        return openingText();
    return openingText() + selection + closingText();
}

void runHtmlCommand(const HtmlCommand& command, EditorPort& editor)
{
    // The editor port reads breaks as CR LF; the editor takes '\n' alone.
    const QString selection = command.shape == Shape::Wrap ? lineBreaks::toEditor(editor.selectedText()) : QString();
    editor.ReplaceEditorSelection(command.result(selection));
}

const QStringList& prefectureNames()
{
    static const QStringList names = {
        u"北海道"_s, u"青森県"_s, u"岩手県"_s, u"宮城県"_s, u"秋田県"_s, u"山形県"_s, u"福島県"_s,
        u"茨城県"_s, u"栃木県"_s, u"群馬県"_s, u"埼玉県"_s, u"千葉県"_s, u"東京都"_s, u"神奈川県"_s,
        u"山梨県"_s, u"長野県"_s, u"新潟県"_s, u"富山県"_s, u"石川県"_s, u"福井県"_s, u"岐阜県"_s,
        u"静岡県"_s, u"愛知県"_s, u"三重県"_s, u"滋賀県"_s, u"京都府"_s, u"大阪府"_s, u"兵庫県"_s,
        u"奈良県"_s, u"和歌山県"_s, u"鳥取県"_s, u"島根県"_s, u"岡山県"_s, u"広島県"_s, u"山口県"_s,
        u"徳島県"_s, u"香川県"_s, u"愛媛県"_s, u"高知県"_s, u"福岡県"_s, u"佐賀県"_s, u"長崎県"_s,
        u"熊本県"_s, u"大分県"_s, u"宮崎県"_s, u"鹿児島県"_s, u"沖縄県"_s, u"海外"_s,
    };
    return names;
}

namespace {

const QString kHtml = u"HtmlMenu"_s;
const QString kLink = u"LinkMenu"_s;
const QString kImage = u"IMAGEMenu"_s;

HtmlCommand wrap(const QString& name, const QString& caption, const QString& hint, const QString& category,
                 const QStringList& opening, const QStringList& closing)
{
    return {name, true, caption, hint, -1, category, Shape::Wrap, opening, closing};
}

HtmlCommand fixed(const QString& name, const QString& caption, const QString& hint, const QString& category,
                  const QStringList& lines)
{
    return {name, true, caption, hint, -1, category, Shape::Fixed, lines, {}};
}

// Run by click handlers of menu entries and buttons rather than actions.
HtmlCommand handler(const QString& name, const QString& caption, const QString& hint, int icon,
                    const QStringList& lines)
{
    return {name, false, caption, hint, icon, QString(), Shape::Fixed, lines, {}};
}

// Sample rows shared by the table templates.
const QString kRow1 = u"<TR><TD>赤色</TD><TD>青色</TD><TD>黄色</TD></TR>"_s;
const QString kRow2 = u"<TR><TD>緑色</TD><TD>白色</TD><TD>黒色</TD></TR>"_s;
const QString kRow3 = u"<TR><TD>紫色</TD><TD>朱色</TD><TD>空色</TD></TR>"_s;

QStringList oneTable(const QString& openingLine)
{
    return {openingLine, kRow1, kRow2, kRow3, u"</TABLE>"_s};
}

QStringList listLines(const QString& bullet)
{
    return {u"<UL>"_s, u"<LITYPE=\""_s + bullet + u"\">リストの見出し文"_s, u"</UL>"_s};
}

QStringList prefectureForm()
{
    QStringList lines = {u"<FORM>"_s, u"<TD>都道府県</TD>"_s, u"<TD>    <SELECT NAME=\"prefecture\">"_s};
    bool first = true;
    for (const QString& name : prefectureNames()) {
        lines << u"<OPTION VALUE=\""_s + name + u"\""_s + (first ? u" SELECTED"_s : QString()) + u">"_s + name
                     + u" </OPTION>"_s;
        first = false;
    }
    lines << u"</SELECT>"_s << u"</TD>"_s << u"</TR>"_s << u"</FORM>"_s;
    return lines;
}

const QStringList kScriptBlock = {
    u"<SCRIPT LANGUAGE=\"JavaScript\">"_s,
    u"<!-- Hide script from old browser"_s,
    u""_s,
    u"// end Hiding -->"_s,
    u"</SCRIPT>"_s,
};

const QStringList kAppletBlock = {
    u"<APPLET CODE=\"クラスファイル.class\"NAME=\"クラスﾌｧｲﾙ名\" WIDTH=\"0\" HEIGHT=\"0\">"_s,
    u""_s,
    u"</APPLET>"_s,
};

const QStringList kDatePage = {
    u"<HTML>"_s,
    u"<HEAD>"_s,
    u"<TITLE>今日の日付</TITLE>"_s,
    u"<SCRIPT LANGUAGE=\"JavaScript\">"_s,
    u"<!-- Hide script from old browser"_s,
    u"var SysDate=new Date();"_s,
    u"mySysDate=new Date();"_s,
    u"myYear=mySysDate.getYear();"_s,
    u"if(myYear<2000)(myYear=myYear+1900);"_s,
    u"myMonth=mySysDate.getMonth();"_s,
    u"myDate=mySysDate.getDate();"_s,
    u"day=new Array(\"日\",\"月\",\"火\",\"水\",\"木\",\"金\",\"土\");"_s,
    u"myDay=day[mySysDate.getDay()];"_s,
    u"// end Hiding -->"_s,
    u"</SCRIPT>"_s,
    u"</HEAD>"_s,
    u"<BODY  onLoad=\"getClock()\"BGCOLOR=\"#FFFFFF\">"_s,
    u"<H1>今日の日付</H1>"_s,
    u"<HR>"_s,
    u"<SCRIPT LANGUAGE=\"JavaScript\">"_s,
    u"<!-- Hide script from old browser"_s,
    u"document.write(\"- 今日は\",myYear,\"年\",myMonth+1,\"月\",myDate,\"日\",myDay,\"曜日です -\");"_s,
    u"// end Hiding -->"_s,
    u"</SCRIPT>"_s,
    u"</BODY>"_s,
    u"</HTML>"_s,
};

const QStringList kClockPage = {
    u"<HTML>"_s,
    u"<HEAD>"_s,
    u"<TITLE>現在の時刻</TITLE>"_s,
    u"<SCRIPT LANGUAGE=\"JavaScript\">"_s,
    u"<!-- Hide script from old browser"_s,
    u"function getClock() {"_s,
    u"now=new Date();"_s,
    u"hou=now.getHours();"_s,
    u"min=now.getMinutes();"_s,
    u"sec=now.getSeconds();"_s,
    u"document.form1.clock.value=hou+\"時\"+min+\"分\""_s,
    u"+sec+\"秒です。\";"_s,
    u"    setTimeout(\"getClock()\",500);"_s,
    u"}"_s,
    u"// end Hiding -->"_s,
    u"</SCRIPT>"_s,
    u"</HEAD>"_s,
    u"<BODY  onLoad=\"getClock()\"BGCOLOR=\"#FFFFFF\">"_s,
    u"<H1>現在の時刻</H1>"_s,
    u"<HR>"_s,
    u"-  ただいまの時間は  -<BR>"_s,
    u"<FORM name=\"form1\">"_s,
    u"<INPUT type=\"text\"name=\"clock\"size=18>"_s,
    u"</FORM>"_s,
    u"</BODY>"_s,
    u"</HTML>"_s,
};

QList<HtmlCommand> buildTable()
{
    const QString appletCaption = u"Java (アプレット)"_s;
    const QString appletHint = u"Javaアプレットの標準タグです｡"_s;
    const QString framedNote = u"上が、枠なしで、下が枠ありです｡"_s;

    QList<HtmlCommand> t = {
        // ---- Inline tags ---------------------------------------------------
        wrap(u"BAction"_s, u"太字"_s, u"太字"_s, kHtml, {u"<B>"_s}, {u"</B>"_s}),
        wrap(u"IAction"_s, u"斜字"_s, QString(), kHtml, {u"<I>"_s}, {u"</I>"_s}),
        wrap(u"UnderAction"_s, u"下線"_s, u"下線"_s, kHtml, {u"<U>"_s}, {u"</U>"_s}),
        wrap(u"StrikeAction"_s, u"抹消線"_s, u"抹消線"_s, kHtml, {u"<S>"_s}, {u"</S>"_s}),
        wrap(u"TeleAction"_s, u"等巾"_s, u"等巾"_s, kHtml, {u"<TT>"_s}, {u"</TT>"_s}),
        wrap(u"FntSizeAction"_s, u"フォントサイズ"_s, u"フォントサイズ"_s, kHtml,
             {u"<FONT SIZE=\"1から7までの数字\">"_s}, {u"</FONT>"_s}),
        wrap(u"FntColorAction"_s, u"フォント色"_s, u"フォント色"_s, kHtml, {u"<FONT COLOR=\"#色記号\">"_s},
             {u"</FONT>"_s}),
        wrap(u"FntSizColAction"_s, u"フォントサイズと色"_s, u"フォントサイズと色"_s, kHtml,
             {u"<FONT SIZE=\"1から7までの数字\" COLOR=\"#色記号\">"_s}, {u"</FONT>"_s}),
        wrap(u"CenterAction"_s, u"センター"_s, u"センタリング"_s, kHtml, {u"<CENTER>"_s}, {u"</CENTER>"_s}),
        wrap(u"ALleftAction"_s, u"左"_s, u"左にそろえる"_s, kHtml, {u"<P ALIGN=\"LEFT\">"_s}, {u"</P>"_s}),
        wrap(u"AlRightAction"_s, u"右"_s, u"右にそろえる"_s, kHtml, {u"<P ALIGN=\"Right\">"_s}, {u"</P>"_s}),
        wrap(u"NoBrAction"_s, u"無改行"_s, u"無改行"_s, kHtml, {u"<NOBR>"_s}, {u"</NOBR>"_s}),
        wrap(u"BlockAction"_s, u"引用"_s, u"文を引用する"_s, kHtml, {u"<BLOCKQUOTE>"_s}, {u"</BLOCKQUOTE>"_s}),
        wrap(u"PREAction"_s, u"原稿のまま"_s, u"原稿のまま表示します｡"_s, kHtml, {u"<PRE>"_s}, {u"</PRE>"_s}),
        wrap(u"TitleAction"_s, u"タイトル"_s, u"タイトル"_s, kHtml, {u"<TITLE>"_s}, {u"</TITLE>"_s}),
        wrap(u"H1Action"_s, u"見出し"_s, u"見出し"_s, kHtml, {u"<H1>"_s}, {u"</H1>"_s}),
        wrap(u"NoShowAction"_s, u"非表示"_s, u"非表示(, ここに書く文字は､表示されません。 )"_s, kHtml,
             {u"<!･･"_s}, {u"･･>"_s}),
        wrap(u"BlinkAction"_s, u"点滅"_s, u"選択した文字が点滅します。N.Nのみ"_s, kImage, {u"<BLINK>"_s},
             {u"</BLINK>"_s}),
        wrap(u"ScroolAction"_s, u"スクロール"_s, u"文字などをスクロールさせる"_s, kImage,
             {u"<MARQUEE BEHAVIOR=\"SCROLL\" DIRECTION=\"LEFT\" ALIGN=\"MIDDLE\">"_s}, {u"</MARQUEE>"_s}),
        wrap(u"URLAction"_s, u"URLアドレス"_s, u"URL"_s, kLink, {u"<A HREF=\""_s}, {u"\"></A>"_s}),
        wrap(u"MailAction"_s, u"E-mailアドレス"_s, u"E-mail先へリンク"_s, kLink, {u"<A HREF=\"mailto:"_s},
             {u"\"></A>"_s}),
        wrap(u"InPageLinkAction"_s, u"page内のLink元"_s,
             u"ﾘﾝｸﾎﾞﾀﾝを設定するﾄﾞｷｭﾒﾝﾄ(リンク先)と(合記号)は削除して下さい"_s, kLink,
             {u"<A HREF=\"(リンク先).HTML#(合記号)\">"_s}, {u"</A>"_s}),
        wrap(u"PageLinkAction"_s, u"Page内のLink先"_s, u"リンク先のﾄﾞｷｭﾒﾝﾄ(合記号)は削除して下さい"_s, kLink,
             {u"<A NAME=\"(合記号)\">"_s}, {u"</A>"_s}),
        fixed(u"BRAction"_s, u"改行"_s, u"改行"_s, kHtml, {u"<BR>"_s}),
        fixed(u"PAction"_s, u"段改行"_s, u"一段開けて改行"_s, kHtml, {u"<P>"_s}),

        // ---- Page skeletons, body and background -------------------------
        fixed(u"TenPlertAction"_s, u"標準テンプレート"_s, u"標準HTML作成テンプレート"_s, kHtml,
              {u"<HTML>"_s, u"<HEAD>"_s, u"<TITLE></TITLE>"_s, u"</HEAD>"_s, u"<BODY BGCOLOR=\"#FFFFFF\">"_s,
               u"<H1></H1>"_s, u"<HR>"_s, u"</BODY>"_s, u"</HTML>"_s}),
        fixed(u"EasiPlartAction"_s, u"簡易テンプレート"_s, u"簡易テンプレート"_s, kHtml, {u"<HTML>"_s, u"</HTML>"_s}),
        wrap(u"FormAction"_s, u"背景色"_s, u"背景色"_s, kHtml, {u"<BODY BGCOLOR=\"#"_s}, {u"\"></BODY>"_s}),
        fixed(u"FormImageAction"_s, u"背景画像"_s, u"背景画像"_s, kHtml,
              {u"<BODY BACKGROUND=\"背景に使う画像.gif></BODY>"_s}),
        wrap(u"FColorAction"_s, u"背景色と画像"_s, u"背景色と画像"_s, kHtml,
             {u"<BODY BACKGROUND=\"背景に使う画像.gif\" BGCOLOR=\"#"_s}, {u"\"></BODY>"_s}),
        fixed(u"MarginAction"_s, u"マージン"_s, u"このマージンは、左60ピクセス,上40ピクセスです｡"_s, kHtml,
              {u"<BODY LEFTMAGIN=\"60\"TOPMAGIN=\"40\"></BODY>"_s}),
        fixed(u"BGfixedAction"_s, u"背景画(固定)"_s, u"背景画を固定して文字その他をスクロールします｡ I.Eのみ"_s, kHtml,
              {u"<BGPROPERTIES=FIXED>"_s, u"例=<BODY BACKGROUND=\"背景.gif\"BGPROPERTIES=FIXED>"_s, u"<NOBR>"_s,
               u"背景は、ページをスクロールしても動きません｡( I.E のみです)"_s,
               u"この文章と,例=を削除,又､背景.gifは、表示したい背景画ファイルに書き換えて下さい｡"_s, u"</NOBR>"_s,
               u"</BODY>"_s}),

        // ---- Style-sheet backgrounds -------------------------------------
        wrap(u"STYLEcolorAction"_s, u"イメージ(背景色)"_s, u"背景色が空色の段落です｡"_s, kImage,
             {u"<P STYLE=\"background-color:aqua;\">"_s}, {u"</P>"_s}),
        wrap(u"STYLEimageAction"_s, u"イメージ(背景画)"_s,
             u"背景が段落部分のみ図画になり、他のところには表示されません"_s, kImage,
             {u"<P STYLE=\"background-image:url(背景画像.gif);\">"_s}, {u"</P>"_s}),
        wrap(u"STYLErepeatAction"_s, u"イメージ(背景の繰り返し)"_s, u"背景が縦に繰り返し連なります｡"_s, kImage,
             {u"<BODY STYLE=\"background-repeat:repeat-y;background-image:url(背景画像.gif);\">"_s},
             {u"</BODY>"_s}),
        wrap(u"STYLEnorepeatAction"_s, u"イメージ(位置と固定)"_s, u"背景イメージを固定します｡"_s, kImage,
             {u"<BODY STYLE=\"background:white url(背景画像.gif) no-repeat fixed 10% 20%;\">"_s}, {u"</BODY>"_s}),

        // ---- Horizontal rules --------------------------------------------
        fixed(u"HrAction"_s, u"罫線"_s, u"罫線を引く"_s, kHtml, {u"<HR>"_s}),
        fixed(u"HRsizeAction"_s, u"線の太さ"_s, u"線の太さを8ピクセルに指定しました"_s, kHtml, {u"<HR SIZE=\"8\">"_s}),
        fixed(u"HRwidthAction"_s, u"線の長さ"_s, u"線の長さを50ピクセルに指定しました"_s, kHtml,
              {u"<HR WIDTH=\"50\">"_s}),
        fixed(u"HRalignAction"_s, u"線の位置"_s, u"線の位置"_s, kHtml, {u"<HR ALIGN=\"leftかrightを選択\">"_s}),
        fixed(u"HRnoshadeAction"_s, u"影の無い線"_s, u"影の無い線"_s, kHtml, {u"<HR NOSHADE>"_s}),
        wrap(u"HRcolorAction"_s, u"色つき線"_s, u"色つき線"_s, kHtml, {u"<HR COLOR=\""_s}, {u"\">"_s}),

        // ---- Lists -------------------------------------------------------
        fixed(u"DLDTAction"_s, u"リスト表示"_s, u"文章の説明をリスト表示する"_s, kHtml,
              {u"<DL>"_s, u"<DT>見出し文"_s, u"<DD>説明文"_s, u"</DL>"_s}),
        fixed(u"LIdiskAction"_s, u"リスト黒丸"_s, u"リストに黒丸を付ける"_s, kHtml, listLines(u"disk"_s)),
        fixed(u"LIcircleAction"_s, u"リスト白丸"_s, u"リストに白丸を付ける"_s, kHtml, listLines(u"circle"_s)),
        fixed(u"LIsquareAction"_s, u"リスト黒四角"_s, u"リストに黒四角を付ける"_s, kHtml, listLines(u"square"_s)),
        fixed(u"LIOLAction"_s, u"リスト番号"_s, u"リストに番号を付ける"_s, kHtml,
              {u"<OL>"_s, u"<LI>リストの見出し文"_s, u"<LI>リストの見出し文"_s, u"<LI>リストの見出し文"_s, u"</OL>"_s}),
        fixed(u"LIOL2Action"_s, u"リスト大文字"_s, u"リストに英大文字を付ける"_s, kHtml,
              {u"<OL>"_s, u"どれか1つを選択して下さい｡この文を含め不要なものは削除のこと。"_s,
               u"<LI TYPE=A>リストの見出し文(英大文字)"_s, u"<LI TYPE=a>リストの見出し文(英子文字)"_s,
               u"<LI TYPE=I>リストの見出し文(ローマ数字大文字)"_s, u"<LI TYPE=i>リストの見出し文(ローマ数字小文字)"_s,
               u"<LI TYPE=1>リストの見出し文(算用数字,番号と同じ)"_s, u"</OL>"_s}),

        // ---- Timed redirect and clearing break ---------------------------
        fixed(u"METAAction"_s, u"情報提供"_s,
              u"情報を提供する等に使います｡一定の時間がたつと指定のページへリンクします｡"_s, kLink,
              {u"<META HTTP-EQUIV = \"Refresh\" CONTENT=\"5;URL=リンク先アドレス\">"_s,
               u"数字は､表示している時間です｡5は、約5秒を意味します｡"_s}),
        fixed(u"BRclearAction"_s, u"回り込みカット"_s, u"回り込みを途中で止めて画像の次の行へ改行します｡"_s, kImage,
              {u"<BR CLEAR=\"allかleftかrightを選んで下さい｡\">"_s, u"この文を含め、不要な文字は削除して下さい｡"_s}),

        // ---- Images --------------------------------------------------------
        wrap(u"IMAGEAction"_s, u"イメージ"_s, u"イメージGIFを貼り付け設定"_s, kImage, {u"<IMG SRC=\"イメージ.gif"_s},
             {u"\" ALT=\"イメージの説明\" BORDER=\"0\" WIDTH=\"巾サイズ\" HEIGT=\"高さサイズ\" ></A>"_s}),
        wrap(u"RaundAction1"_s, u"回り込み"_s, u"イメージの左か右に文章などを書く"_s, kImage,
             {u"<IMG SRC=\"イメージ.gif"_s},
             {u"\" ALIGN=\"left\"BORDER=\"0\" WIDTH=\"巾サイズ\" HEIGHT=\"高さサイズ\">"_s}),
        fixed(u"IMGnameAction"_s, u"イメージ名の位置"_s, u"イメージの名前その他を入れる位置を決めます｡"_s, kImage,
              {u"<IMG SRC=\"イメージファイル名.gif\"ALIGN=\"top\">topを選択<BR>"_s,
               u"<IMG SRC=\"イメージファイル名.gif\"ALIGN=\"middle\">middleを選択<BR>"_s,
               u"<IMG SRC=\"イメージファイル名.gif\"ALIGN=\"bottom\">bottomを選択<BR>"_s,
               u"bottomは、ALIGNを使わなくてもテキストを並べるだけで同じ結果になります｡"_s,
               u"この文を含めて不要な文字は､削除して下さい｡"_s}),
        fixed(u"IMGspaceAction"_s, u"スペース設定"_s,
              u"画面とイメージの間のスペース、イメージとテキストの間のスペースを決めます｡"_s, kImage,
              {u"<IMG SRC=\"イメージファイル名.gif\"ALIGN=\"left\"HSPACE=\"40\">HSPACEを選択(イメージの両横にスペースが入る)"_s,
               u"<IMG SRC=\"イメージファイル名.gif\"ALIGN=\"left\"VSPACE=\"25\">VSPACEを選択(イメージの上下縦方向にスペースが入る)"_s,
               u"<IMG SRC=\"イメージファイル名.gif\"ALIGN=\"left\"VSPACE=\"25\"HSPACE\"5\">両方を選択することも可能です"_s,
               u"数字は､ピクセル数です｡この文を含めて不要な文字は､削除して下さい｡"_s}),
        fixed(u"IMGlinkAction"_s, u"イメージ(リンク)"_s, u"イメージをクリックするとリンクする使い方です｡"_s, kImage,
              {u"<A HREF=\"URLアドレス\"><IMG SRC=\"イメージファイル名.gif\"ALT=\"説明\"></A>"_s}),

        // ---- Frame sets ----------------------------------------------------
        fixed(u"Flerm1Action"_s, u"フレーム"_s, u"フレームT字型"_s, kLink,
              {u"<HTML>"_s, u"<HEAD>"_s, u"<TITLE></TITLE>"_s, u"</HEAD>"_s, u"<FRAMESET ROWS=\"18%,82%\">"_s,
               u"<FRAME SRC=\"f1.html\" NAME=\"Top\">"_s, u"<FRAMESET COLS=\"13%,87%\">"_s,
               u"<FRAME SRC=\"f2.html\" NAME=\"Left\">"_s, u"<FRAME SRC=\"f3.html\" NAME=\"Main\">"_s,
               u"</FRAMESET>"_s, u"</FRAMESET>"_s, u"</HTML>"_s}),
        fixed(u"Flerm2Action"_s, u"フレーム2"_s, u"縦割りフレーム"_s, kLink,
              {u"<HTML>"_s, u"<HEAD>"_s, u"<TITLE></TITLE>"_s, u"</HEAD>"_s, u"<FRAMESET COLS=\"13%,87%\">"_s,
               u"<FRAME SRC=\"f1.html\" NAME=\"Left\">"_s, u"<FRAME SRC=\"f2.html\" NAME=\"Main\">"_s,
               u"</FRAMESET>"_s, u"</HTML>"_s}),
        fixed(u"Flern3Action"_s, u"ﾌﾚｰﾑ横2分割"_s, u"フレームを横に2分割します｡"_s, kLink,
              {u"<HTML>"_s, u"<HEAD>"_s, u"<TITLE></TITLE>"_s, u"</HEAD>"_s, u"<FRAMESET ROWS=\"40%,60%\">"_s,
               u"<FRAME SRC=\"f1.html\" NAME=\"Top\">"_s, u"<FRAME SRC=\"f2.html\" NAME=\"Bottom\">"_s,
               u"</FRAMESET>"_s, u"</HTML>"_s}),

        // ---- Table samples -------------------------------------------------
        fixed(u"Table1Action"_s, u"テーブル(基本)"_s, u"テーブルの基本形(枠なしと枠有り)"_s, kLink,
              {u"<TABLE> 作りたい表の内容 </TABLE>"_s, u""_s, framedNote, u""_s,
               u"<TABLE BORDER> 表の内容に枠を付ける </TABLE>"_s}),
        fixed(u"TableTdTrAction"_s, u"テーブル(セルと列)"_s, u"横方向のセルの数を決めて改行を繰り返して表を作る"_s, kLink,
              oneTable(u"<TABLE>"_s) + QStringList{u""_s, framedNote, u""_s} + oneTable(u"<TABLE BORDER>"_s)),
        fixed(u"TableSizeAction"_s, u"テーブル(サイズ)"_s, u"テーブルの大きさを決める｡"_s, kLink,
              oneTable(u"<TABLE BORDER WIDTH=\"50%\"HEGHT=\"25%\">"_s) + QStringList{u""_s, u""_s}
                  + oneTable(u"<TABLE BORDER WIDTH=\"300\"HEIGHT=\"150\">"_s)),
        fixed(u"TableBorderAction"_s, u"テーブル(外枠サイズ)"_s, u"外枠の線の太さを決める"_s, kLink,
              oneTable(u"<TABLE BORDER=\"8\">"_s)),
        fixed(u"TableSpacingAction"_s, u"テーブル(セル枠サイズ)"_s, u"テーブルのセル枠のサイズを設定する"_s, kLink,
              oneTable(u"<TABLE BORDER CELLSPACING=\"8\">"_s)),
        fixed(u"TablecellpaddingAction"_s, u"テーブル(枠内の間隔)"_s, u"枠線と枠内のテキストとの間隔設定"_s, kLink,
              oneTable(u"<TABLE BORDER cellpadding=\"8\">"_s)),
        fixed(u"TableAllAction"_s, u"テーブル(全体の設定)"_s, u"すべての枠の設定"_s, kLink,
              oneTable(u"<TABLE BORDER=\"10\" cellpadding=\"8\"CELLSPACING=\"8\">"_s)),
        fixed(u"TableBorColorAction"_s, u"テーブル(枠の色)"_s, u"テーブルの枠に色を付ける"_s, kLink,
              oneTable(u"<TABLE BORDER=\"10\" cellpadding=\"8\"CELLSPACING=\"8\"BORDERCOLOR=#FF5500>"_s)
                  + QStringList{u""_s, u""_s}
                  + oneTable(u"<TABLE BORDER=\"10\" cellpadding=\"8\"CELLSPACING=\"8\"BORDERCOLORLIGHT=#FF5500 BORDERCOLORDARK=Purple>"_s)),
        fixed(u"TableSeiiColorAction"_s, u"テーブル(セル背景色)"_s, u"セル内の背景に色を付ける｡"_s, kLink,
              {u"<TABLE BORDER=\"8\">"_s, u"<TR><TD BGCOLOR=#FF0000>赤色</TD><TD>青色</TD><TD>黄色</TD></TR>"_s, kRow2,
               kRow3, u"</TABLE>"_s}),
        fixed(u"TableSellImageAction"_s, u"テーブル(セル背景画像)"_s, u"セルの背景に画像を貼りたい｡"_s, kLink,
              {u"<TABLE BORDER WIDTH=\"400\"HEIGHT=\"200\">"_s, u"<TR><TD BACKGROUND=\"0004.GIF\">赤色</TD><BR>"_s,
               u"<TD BGCOLOR=#0000FF>青色</TD></TR>"_s, u"</TABLE>"_s}),
        fixed(u"TableTitleAction"_s, u"テーブル(タイトル名)"_s, u"タイトルを付ける。表の上か下かを選択して下さい｡"_s, kLink,
              {u"<TABLE BORDER>"_s, u"<CAPTION>色の種類</CAPTION>"_s, kRow1, kRow2, kRow3, u"</TABLE>"_s, u""_s,
               u"<TABLE BORDER>"_s, u"<CAPTION ALGIN=\"BOTTOM\">色の種類</CAPTION>"_s, kRow1, kRow2, kRow3,
               u"</TABLE>"_s}),
        fixed(u"TableAlignAction"_s, u"テープル(表の位置)"_s, u"表を表示させる位置を設定する"_s, kLink,
              {u"<TABLE BORDER ALIGN=\"left\">"_s, u"<CAPTION>色の種類</CAPTION>"_s, kRow1, kRow2, kRow3,
               u"</TABLE>"_s, u""_s, u"表の側面に文章などを回り込ませることが出来ます｡"_s, u""_s,
               u"<TABLE BORDER ALIGN=\"right\">"_s, u"<CAPTION ALGIN=\"BOTTOM\">色の種類</CAPTION>"_s, kRow1, kRow2,
               kRow3, u"</TABLE>"_s}),

        // ---- Form pieces ---------------------------------------------------
        fixed(u"FormDfAction"_s, u"フォーム基本"_s, u"フォームの基本形です"_s, kLink, {u"<FORM></FORM>"_s}),
        fixed(u"FormTextAction"_s, u"フォーム(テキスト)"_s, u"フォームにテキストを入力する形式"_s, kLink,
              {u"<FORM>"_s, u"名前 : <INPUT TYPE=\"text\"NAME=\"name\"><BR>"_s,
               u"住所 : <INPUT TYPE=\"text\"NAME=\"name\"><BR>"_s, u"</FORM>"_s, u"説明"_s,
               u"NAME=\"name\"フィールド名"_s, u"VALUE=\"入力部分\"に最初から文字を入れておきたいときに使う"_s,
               u"SIZE=\"20\"フィールドの長さ(文字の数)"_s, u"MAXLENGTH=\"\"入力出来る最大文字数"_s, u"使用例"_s,
               u"名前 : <INPUT TYPE=\"text\"NAME=\"name\"VALUE=\"\"SIZE=\"\"><BR>"_s}),
        fixed(u"FormPassAction"_s, u"フォーム(パスワード)"_s,
              u"パスワードの入力フォームです文字は表示されずすべて*****になります｡"_s, kLink,
              {u"<FORM>"_s, u"パスワード : <INPUT TYPE=\"password\"NAME=\"pass\"SIZE=\"20\">"_s, u"</FORM>"_s}),
        fixed(u"FormTextAreaAction"_s, u"フォーム(メッセージ)"_s, u"メッセージを書き込む入力欄を作る"_s, kLink,
              {u"<FORM>"_s, u"<TEXTAREA ROWS=8 COLS=40 NAME=\"メッセージ\">"_s, u"メッセージをどうぞ"_s,
               u"</TEXTAREA>"_s, u"</FORM>"_s, u"説明(改行について)"_s,
               u"改行は､WRAP=\"hardかsoftかoffを選択\" を使います｡"_s,
               u"hardもsoftも自動的に改行します｡offは、自動的改行をしません｡"_s,
               u"<TEXTAREA ROWS=8 COLS=40WRAP=\"hard\"NAME=\"メッセージ\">"_s}),
        fixed(u"FormRadioAction"_s, u"フォーム(ラジオボタン)"_s, u"ラジオボタンを設定"_s, kLink,
              {u"<FORM>"_s, u"性　別 :<BR>"_s,
               u"<INPUT TYPE=\"radio\" value=\"man\"name=\"SEX\"CHECKED><strong>男</strong>"_s,
               u"<INPUT TYPE=\"radio\" name=\"SEX\" value=\"woman\"><strong>女<P>"_s, u"寝台のご希望　?<BR>"_s,
               u"<INPUT TYPE=\"radio\"NAME=\"sleep\"VALUE=\"top\"CHECKED><strong>上段</strong>"_s,
               u"<INPUT TYPE=\"radio\"NAME=\"sleep\"VALUE=\"center\"><strong>中段"_s,
               u"<INPUT TYPE=\"radio\"NAME=\"sleep\"VALUE=\"bottom\"><strong>下段<P>"_s, u"</FORM>"_s}),
        fixed(u"FormCheckAction"_s, u"フォーム(チェックBOX)"_s, u"選択ボタン、チェックボックスの作成"_s, kLink,
              {u"<FORM>"_s, u"宿泊予定<BR>"_s,
               u"<INPUT TYPE=\"checkbox\"CHECKED NAME=\"term\"VALUE=\"1\"CHECKED><strong>一泊二日</strong>"_s,
               u"<INPUT TYPE=\"checkbox\"NAME=\"term\"VALUE=\"2\"><strong>二泊三日"_s,
               u"<INPUT TYPE=\"checkbox\"NAME=\"term\"VALUE=\"3\"><strong>三泊四日<P>"_s, u"</FORM>"_s}),
        fixed(u"FormResetAction"_s, u"フォーム(リセットボタン)"_s, u"入力した文字をリセットしてやり直す"_s, kLink,
              {u"<INPUT TYPE=\"reset\"VALUE=\"取り消し\"NAME=\"BUTTON_RESET\">"_s}),
        fixed(u"FormAddAction"_s, u"フォーム(転送/投稿)"_s, u"転送/投稿/登録などのボタンです"_s, kLink,
              {u"<INPUT TYPE=\"submit\"VALUE=\"投稿/登録\"NAME=\"BUTTON_SEND\">"_s}),
        wrap(u"FormMailtoAction"_s, u"フォーム(転送/受信)"_s, u"フォームの内容を送信してもらって、それを受け取る"_s, kLink,
             {u"<FORM ACTION=\"mailto:メール@アドレス\"METHOO=\"POST\">"_s},
             {u"</FORM>"_s, u""_s, u"注意!!"_s, u"mailtoの後に自分のメールアドレスか､CGIスクリプトのパスとスクリプト名を記入など"_s,
              u"加入しているプロバイダに尋ねてみて下さい｡"_s}),
        fixed(u"FormOptionAction"_s, u"フォーム(都道府県名)"_s, u"都道府県を選択する雛形フォームです｡"_s, kLink,
              prefectureForm()),

        // ---- Script and applet templates -----------------------------------
        fixed(u"JavaAppletAction"_s, appletCaption, appletHint, kHtml, kAppletBlock),
        handler(u"JavaSclipt8Click"_s, u"Java(スクリプト)"_s, u"Java関連"_s, -1, kScriptBlock),
        handler(u"hJavaScliptButtonClick"_s, QString(), u"Javaスクリプト|Javaスクリプトソース"_s, 26, kScriptBlock),
        handler(u"JavaDate2Click"_s, u"Java　雛形 ( Date )"_s, u"Javaの日付表示用サンプルタグ"_s, -1, kDatePage),
        handler(u"JavaTime2Click"_s, u"Java  雛形 ( Time )"_s, u"Java時刻表示用サンプルタグ"_s, -1, kClockPage),
        handler(u"JavaApret9Click"_s, appletCaption, appletHint, -1, kAppletBlock),
        handler(u"JavaPARAM2Click"_s, u"Java ( PARAM )"_s, u"パラメータの指定"_s, -1,
                {u"<PARAM NAME=\"\" VALUE=\"\">"_s}),
    };
    return t;
}

} // namespace

const QList<HtmlCommand>& htmlCommands()
{
    static const QList<HtmlCommand> table = buildTable();
    return table;
}

const HtmlCommand* findHtmlCommand(QStringView name)
{
    static const QHash<QString, const HtmlCommand*> index = [] {
        QHash<QString, const HtmlCommand*> byName;
        for (const HtmlCommand& command : htmlCommands())
            byName.insert(command.name, &command);
        return byName;
    }();
    return index.value(name.toString(), nullptr);
}

} // namespace pel::html
