/* Writes libuemf-sample.emf with libUEMF: a filled path built from
 * bezier segments, both polygon fill modes, a rotated world transform,
 * a clip path and text in a chosen font.
 * Build: cc make_libuemf_sample.c -luemf -lm -o make_libuemf_sample */
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <uemf.h>
#include <uemf_utf.h>

static EMFTRACK* et;
static EMFHANDLES* eht;
static void add(char* rec) { if (!rec || emf_append((U_ENHMETARECORD*)rec, et, 1)) { fprintf(stderr, "append failed\n"); } }
static U_RECTL box(int l, int t, int r, int b) { return rectl_set(point32_set(l, t), point32_set(r, b)); }

static void brush(unsigned char r, unsigned char g, unsigned char b)
{
    uint32_t ih;
    add(createbrushindirect_set(&ih, eht, logbrush_set(U_BS_SOLID, colorref_set(r, g, b), 0)));
    add(selectobject_set(ih, eht));
}

/* A circle as one MOVETO and four bezier segments from the current point. */
static void circlePath(int cx, int cy, int r)
{
    const double k = 0.5523 * r;
    U_POINT16 p[12] = {
        {cx + r, cy + (int)k}, {cx + (int)k, cy + r}, {cx, cy + r},
        {cx - (int)k, cy + r}, {cx - r, cy + (int)k}, {cx - r, cy},
        {cx - r, cy - (int)k}, {cx - (int)k, cy - r}, {cx, cy - r},
        {cx + (int)k, cy - r}, {cx + r, cy - (int)k}, {cx + r, cy},
    };
    add(U_EMRMOVETOEX_set(point32_set(cx + r, cy)));
    add(U_EMRPOLYBEZIERTO16_set(box(cx - r, cy - r, cx + r, cy + r), 12, p));
    add(U_EMRCLOSEFIGURE_set());
}

int main(void)
{
    const int w = 160, h = 120;
    emf_start("libuemf-sample.emf", 100000, 25000, &et);
    emf_htable_create(128, 128, &eht);
    add(U_EMRHEADER_set(box(0, 0, w - 1, h - 1), box(0, 0, w * 2540 / 96, h * 2540 / 96), NULL, 0, NULL,
                        sizel_set(1024, 768), sizel_set(271, 203), 0));
    add(U_EMRSETMAPMODE_set(U_MM_TEXT));
    add(selectobject_set(U_NULL_PEN, eht));

    /* A circle made of bezier segments inside a path, filled red. */
    brush(220, 30, 30);
    add(U_EMRBEGINPATH_set());
    circlePath(30, 30, 24);
    add(U_EMRENDPATH_set());
    add(U_EMRFILLPATH_set(box(6, 6, 54, 54)));

    /* The same pentagram in both fill modes: hollow centre, then full. */
    U_POINT16 star[5];
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 4 * M_PI / 5;
        star[i] = point16_set((int16_t)lround(22 * cos(a)), (int16_t)lround(22 * sin(a)));
    }
    for (int mode = 0; mode < 2; ++mode) {
        U_POINT16 p[5];
        const int cx = 85 + mode * 50, cy = 30;
        for (int i = 0; i < 5; ++i)
            p[i] = point16_set(star[i].x + cx, star[i].y + cy);
        add(U_EMRSETPOLYFILLMODE_set(mode == 0 ? U_ALTERNATE : U_WINDING));
        brush(mode == 0 ? 30 : 20, mode == 0 ? 60 : 150, mode == 0 ? 200 : 40);
        add(U_EMRPOLYGON16_set(box(cx - 22, cy - 22, cx + 22, cy + 22), 5, p));
    }

    /* A square turned by 30 degrees through the world transform. */
    add(U_EMRSAVEDC_set());
    const float c = cosf((float)(M_PI / 6)), s = sinf((float)(M_PI / 6));
    add(U_EMRSETWORLDTRANSFORM_set(xform_set(c, s, -s, c, 30, 65)));
    brush(240, 150, 20);
    U_POINT16 square[4] = {{0, 0}, {22, 0}, {22, 22}, {0, 22}};
    add(U_EMRPOLYGON16_set(box(0, 0, 22, 22), 4, square));
    add(U_EMRRESTOREDC_set(-1));

    /* A clip path: only the circle's part of the square is painted. */
    add(U_EMRSAVEDC_set());
    add(U_EMRBEGINPATH_set());
    circlePath(110, 80, 18);
    add(U_EMRENDPATH_set());
    add(U_EMRSELECTCLIPPATH_set(U_RGN_AND));
    brush(130, 40, 160);
    U_POINT16 big[4] = {{90, 62}, {150, 62}, {150, 118}, {90, 118}};
    add(U_EMRPOLYGON16_set(box(90, 62, 150, 118), 4, big));
    add(U_EMRRESTOREDC_set(-1));

    /* Text in a bold font on its baseline. */
    uint16_t* face = U_Utf8ToUtf16le("DejaVu Sans Mono", 0, NULL);
    U_LOGFONT lf = logfont_set(-22, 0, 0, 0, U_FW_BOLD, 0, 0, 0, U_DEFAULT_CHARSET, 0, 0, 0, 0, face);
    uint32_t font;
    add(extcreatefontindirectw_set(&font, eht, (char*)&lf, NULL));
    add(selectobject_set(font, eht));
    add(U_EMRSETTEXTCOLOR_set(colorref_set(20, 20, 120)));
    add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    add(U_EMRSETTEXTALIGN_set(U_TA_BASELINE));
    size_t chars = 0;
    uint16_t* text = U_Utf8ToUtf16le("Pelmora", 0, &chars);
    uint32_t dx[16];
    for (int i = 0; i < 16; ++i)
        dx[i] = 13; /* the monospace advance at this size */
    char* emrtext = emrtext_set(point32_set(8, 112), (U_NUM_STR)chars, 2, text, U_ETO_NONE, box(0, 0, -1, -1), dx);
    add(U_EMREXTTEXTOUTW_set(box(8, 92, 90, 116), U_GM_ADVANCED, 1.0f, 1.0f, (PU_EMRTEXT)emrtext));

    add(U_EMREOF_set(0, NULL, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
    return 0;
}
