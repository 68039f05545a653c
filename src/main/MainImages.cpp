#include "main/MainImages.h"

#include "main/About.h"
#include "platform/GlyphIcons.h"

#include <QColor>
#include <QList>

namespace MainImages {
namespace {

struct Picture {
    const char* theme;   // freedesktop icon names, the preferred first, or nullptr
    const char* label;   // glyph text when the theme has no such icon
    QRgb tile;
};

// Pictures without a fitting theme icon are drawn as labelled tiles.
constexpr Picture kPictures[Count] = {
    /* 0 */ {"document-new", "新", 0xFFFFFF}, /* 1 */ {"document-open", "開", 0xF0D060},
    /* 2 */ {"document-save", "保", 0x6090E0}, /* 3 */ {"document-print", "印", 0xC0C0C0},
    /* 4 */ {"printer", "P", 0xA0A0A0}, /* 5 */ {"help-about,dialog-information", "i", 0x4080FF},
    /* 6 */ {"edit-copy", "写", 0xE0E0FF}, /* 7 */ {"edit-cut", "切", 0xFFE0E0},
    /* 8 */ {"edit-paste", "貼", 0xE0FFE0}, /* 9 */ {"edit-find", "検", 0xFFFFC0},
    /* 10 */ {"edit-find-replace", "置", 0xFFE0A0}, /* 11 */ {"preferences-desktop-font", "F", 0xD0D0FF},
    /* 12 */ {"color-fill,preferences-desktop-theme", "色", 0xFF80C0}, /* 13 */ {nullptr, "13", 0xC0C0C0},
    /* 14 */ {"format-text-wrap", "折", 0xC0FFC0}, /* 15 */ {"document-save-as", "名", 0x80A0F0},
    /* 16 */ {"image-x-generic", "画", 0xA0D8A0}, /* 17 */ {"help-contents,help-browser", "?", 0x40A0FF},
    /* 18 */ {nullptr, "18", 0xC0C0C0}, /* 19 */ {"application-exit,system-log-out", "終", 0xFF6060},
    /* 20 */ {"document-open", "開", 0x404040}, /* 21 */ {"media-optical-audio,media-optical", "CD", 0x404040},
    /* 22 */ {"application-exit,system-log-out", "終", 0x404040}, /* 23 */ {"x-office-calendar,office-calendar", "暦", 0xFFC080},
    /* 24 */ {"multimedia-player", "▶", 0x60C060}, /* 25 */ {nullptr, "LB", 0x60C0C0},
    /* 26 */ {nullptr, "J", 0xE08040}, /* 27 */ {nullptr, "CB", 0xFF80FF},
    /* 28 */ {"format-text-bold", "B", 0xFFFFFF}, /* 29 */ {"format-text-italic", "I", 0xFFFFFF},
    /* 30 */ {nullptr, "BR", 0xE0F0FF}, /* 31 */ {nullptr, "P", 0xE0F0FF},
    /* 32 */ {"format-justify-center", "中", 0xFFFFFF}, /* 33 */ {nullptr, "HR", 0xE0F0FF},
    /* 34 */ {nullptr, "34", 0xC0C0C0}, /* 35 */ {nullptr, "先", 0xC0E0FF},
    /* 36 */ {nullptr, "36", 0xC0C0C0}, /* 37 */ {"insert-link", "URL", 0xC0E0FF},
    /* 38 */ {nullptr, "T", 0xD0C0F0}, /* 39 */ {"insert-image,image-x-generic", "IMG", 0x80C080},
    /* 40 */ {nullptr, "回", 0x80C080}, /* 41 */ {nullptr, "41", 0xC0C0C0},
    /* 42 */ {nullptr, "縦", 0xD0C0F0}, /* 43 */ {nullptr, "横", 0xD0C0F0},
    /* 44 */ {"format-text-underline", "U", 0xFFFFFF}, /* 45 */ {"format-text-strikethrough", "S", 0xFFFFFF},
    /* 46 */ {nullptr, "TT", 0xFFFFFF}, /* 47 */ {"format-justify-left", "左", 0xFFFFFF},
    /* 48 */ {"format-justify-right", "右", 0xFFFFFF}, /* 49 */ {nullptr, "NB", 0xE0F0FF},
    /* 50 */ {"web-browser,internet-web-browser", "覧", 0x60A0FF}, /* 51 */ {nullptr, "51", 0xC0C0C0},
    /* 52 */ {nullptr, "52", 0xC0C0C0}, /* 53 */ {nullptr, "53", 0xC0C0C0},
    /* 54 */ {nullptr, "54", 0xC0C0C0}, /* 55 */ {nullptr, "55", 0xC0C0C0},
    /* 56 */ {nullptr, "56", 0xC0C0C0}, /* 57 */ {nullptr, "57", 0xC0C0C0},
    /* 58 */ {nullptr, "58", 0xC0C0C0}, /* 59 */ {nullptr, "59", 0xC0C0C0},
    /* 60 */ {nullptr, "60", 0xC0C0C0}, /* 61 */ {"applications-graphics", "絵", 0xFFC0E0},
    /* 62 */ {"edit-clear", "ク", 0xFFFFFF}, /* 63 */ {"text-html", "<>", 0xE0E0E0},
    /* 64 */ {"printer", "設", 0xA0A0A0}, /* 65 */ {"document-print", "印", 0xC0C0C0},
    /* 66 */ {"mail-send,mail-forward", "@", 0xFFE080}, /* 67 */ {nullptr, "67", 0xC0C0C0},
    /* 68 */ {"system-software-update", "UP", 0x80FF80}, /* 69 */ {"edit-undo", "戻", 0xFFFFFF},
    /* 70 */ {"edit-delete", "削", 0xFFC0C0}, /* 71 */ {"edit-select-all", "全", 0xFFFFFF},
    /* 72 */ {nullptr, "解", 0xFFFFFF}, /* 73 */ {"mail-message-new", "@", 0xC0E0FF},
    /* 74 */ {nullptr, "名", 0x80C080}, /* 75 */ {nullptr, "IL", 0x80C080},
    /* 76 */ {nullptr, "空", 0x80C080}, /* 77 */ {nullptr, "流", 0xE0F0FF},
    /* 78 */ {nullptr, "元", 0xC0E0FF}, /* 79 */ {"system-shutdown", "W", 0x8080FF},
};

} // namespace

QIcon programIcon()
{
    static const QIcon picture = [] {
        QIcon icon;
        for (int size : {16, 24, 32, 48, 64, 128})
            icon.addPixmap(TAboutBox::programPicture(size));
        return icon;
    }();
    return picture;
}

QIcon icon(int index)
{
    static QList<QIcon> cache(Count);
    if (index < 0 || index >= Count)
        return {};
    if (cache[index].isNull()) {
        const Picture& p = kPictures[index];
        cache[index] = pel::themeOrGlyph(p.theme, QString::fromUtf8(p.label), QColor(p.tile));
    }
    return cache[index];
}

} // namespace MainImages
