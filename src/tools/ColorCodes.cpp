#include "tools/ColorCodes.h"

namespace {

constexpr QRgb kRed = 0xFF0000, kGreen = 0x008000, kBlue = 0x0000FF, kMaroon = 0x800000,
               kOlive = 0x808000, kNavy = 0x000080, kPurple = 0x800080, kTeal = 0x008080,
               kGray = 0x808080, kSilver = 0xC0C0C0, kLime = 0x00FF00, kYellow = 0xFFFF00,
               kFuchsia = 0xFF00FF, kAqua = 0x00FFFF, kWhite = 0xFFFFFF;

const ColorCodeLabel kLabels[] = {
    {u"Label1", u"clRed", kRed, false, 21, u"赤|赤の基調色を16進の記号で表示します", u"FF0000"},
    {u"Label2", u"clGreen", kGreen, false, 21, u"緑|緑の基調色を16進の記号で表示します", u"008000"},
    {u"Label3", u"clBlue", kBlue, false, 21, u"青|青の基調色を16進の記号で表示します", u"0000FF"},
    {u"Label4", u"clMaroon", kMaroon, false, 19, u"栗毛色|栗毛色を16進の色記号で表示します", u"880000"},
    {u"Label5", u"clOlive", kOlive, false, 19, u"オリーブ色|オリーブ色を16進の色記号で表示します", u"808000"},
    {u"Label6", u"clNavy", kNavy, false, 19, u"濃紺色|濃紺色を16進の色記号で表示します", u"000080"},
    {u"Label7", u"clPurple", kPurple, false, 19, u"紫色|紫色を16進の色記号で表示します", u"80008A"},
    {u"Label8", u"clTeal", kTeal, false, 19, u"暗青緑色|暗青緑色を16進の色記号で表示します", u"008080"},
    {u"Label9", u"Purple", kPurple, false, 19, u"濃紫色|濃紫色を16進の色記号で表示します", u"800080"},
    {u"Label10", u"clLime", kTeal, false, 19, u"濃緑色|濃緑色を16進の色記号で表示します", u"108080"},
    {u"Label11", u"clLtGray", kGray, false, 19, u"灰色|灰色を16進の色記号で表示します", u"808080"},
    {u"Label12", u"clSilver", kSilver, false, 19, u"銀色|銀色を16進の色記号で表示します", u"C0C0C0"},
    {u"Label13", u"ciLtGreen", kLime, false, 19, u"黄緑色|黄緑色を16進の色記号で表示します", u"00FF00"},
    {u"Label14", u"clYellow", kYellow, false, 19, u"黄色|黄色を16進の色記号で表示します", u"FFFF00"},
    {u"Label15", u"clFuchsia", kFuchsia, false, 19, u"赤紫色|赤紫色を16進の色記号で表示します", u"FF00FF"},
    {u"Label16", u"clAqua", kAqua, false, 19, u"空色|空色を16進の色記号で表示します", u"00FFFF"},
    {u"Label17", u"clWhite", kWhite, false, 19, u"白色|白色を16進の色記号で表示します", u"FFFFFF"},
    {u"Label18", u"clBlack", 0, true, 19, u"黒色|黒色を16進の色記号で表示します", u"000000"},
    {u"Label20", u"Windows2000", kBlue, false, 19,
     u"Windows2000のテーマーカラー|Windows2000のテーマーカラーを16進表示します　R=47,　G=110,　B=165,", u"306EA5"},
};

} // namespace

std::span<const ColorCodeLabel> colorCodeLabels()
{
    return kLabels;
}

QString channelHex(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QColor mixedColor(int red, int green, int blue)
{
    return QColor(red, green, blue);
}
