/* Writes the mapping-mode and EMF+ samples with libUEMF: the same picture
 * (a red rectangle, a blue ellipse and a green triangle on a 40 x 30 mm
 * frame) drawn under each GDI mapping mode, on a reference
 * device of 1024 x 768 pixels over 320 x 240 mm (not 96 dots an inch), and
 * once as an EMF+ dual file (EMF+ records in comments, then the same in
 * plain records).
 * Build: cc make_libuemf_mapmodes.c -luemf -lm -o make_libuemf_mapmodes */
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <uemf.h>
#include <upmf.h>

static EMFTRACK* et;
static EMFHANDLES* eht;
static void add(char* rec) { if (!rec || emf_append((U_ENHMETARECORD*)rec, et, 1)) { fprintf(stderr, "append failed\n"); } }
static U_RECTL box(int l, int t, int r, int b) { return rectl_set(point32_set(l, t), point32_set(r, b)); }

/* Millimetres on the picture (x right, y down) to the logical units of the
 * file being written. */
static double unitsPerMm = 1, originYmm = 0;
static int flipY = 0; /* 0: y down; 1: y up from originYmm; 2: y up from the top */
static int lx(double mm) { return (int)lround(mm * unitsPerMm); }
static int ly(double mm)
{
    const double y = flipY == 0 ? mm : flipY == 1 ? originYmm - mm : -mm;
    return (int)lround(y * unitsPerMm);
}

static void brush(unsigned char r, unsigned char g, unsigned char b)
{
    uint32_t ih;
    add(createbrushindirect_set(&ih, eht, logbrush_set(U_BS_SOLID, colorref_set(r, g, b), 0)));
    add(selectobject_set(ih, eht));
}

static void picture(void)
{
    add(selectobject_set(U_NULL_PEN, eht));
    brush(220, 30, 30);
    add(U_EMRRECTANGLE_set(box(lx(4), ly(4), lx(18), ly(14))));
    brush(30, 60, 200);
    add(U_EMRELLIPSE_set(box(lx(20), ly(4), lx(36), ly(16))));
    brush(20, 150, 40);
    U_POINTL tri[3] = {{lx(4), ly(26)}, {lx(20), ly(18)}, {lx(36), ly(26)}};
    add(U_EMRPOLYGON_set(box(lx(4), ly(18), lx(36), ly(26)), 3, tri));
}

static void start(const char* name)
{
    emf_start(name, 100000, 25000, &et);
    emf_htable_create(128, 128, &eht);
    /* 40 x 30 mm is 128 x 96 pixels of the reference device. */
    add(U_EMRHEADER_set(box(0, 0, 127, 95), box(0, 0, 4000, 3000), NULL, 0, NULL, sizel_set(1024, 768),
                        sizel_set(320, 240), 0));
}

static void finish(void)
{
    add(U_EMREOF_set(0, NULL, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
}

static void fixedMode(const char* name, uint32_t mode, double perMm)
{
    start(name);
    add(U_EMRSETMAPMODE_set(mode));
    /* Logical (0, 0) stays at the top left; y grows upwards. */
    unitsPerMm = perMm;
    flipY = 2;
    picture();
    finish();
}

int main(void)
{
    fixedMode("libuemf-lometric.emf", U_MM_LOMETRIC, 10);
    fixedMode("libuemf-himetric.emf", U_MM_HIMETRIC, 100);
    fixedMode("libuemf-loenglish.emf", U_MM_LOENGLISH, 100 / 25.4);
    fixedMode("libuemf-hienglish.emf", U_MM_HIENGLISH, 1000 / 25.4);
    fixedMode("libuemf-twips.emf", U_MM_TWIPS, 1440 / 25.4);

    /* MM_LOMETRIC with the origin moved to the bottom left: y up from there. */
    start("libuemf-lometric-origin.emf");
    add(U_EMRSETMAPMODE_set(U_MM_LOMETRIC));
    add(U_EMRSETVIEWPORTORGEX_set(point32_set(0, 96)));
    unitsPerMm = 10;
    flipY = 1;
    originYmm = 30;
    picture();
    finish();

    /* MM_ISOTROPIC: the viewport asked for is twice as tall as the window's
     * aspect allows; GDI shrinks it, so the picture keeps its shape. */
    start("libuemf-isotropic.emf");
    add(U_EMRSETMAPMODE_set(U_MM_ISOTROPIC));
    add(U_EMRSETWINDOWEXTEX_set(sizel_set(400, 300)));
    add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(128, 192)));
    unitsPerMm = 10;
    flipY = 0;
    picture();
    finish();

    /* MM_ANISOTROPIC set after MM_LOMETRIC keeps its extents, y up. */
    start("libuemf-anisotropic-kept.emf");
    add(U_EMRSETMAPMODE_set(U_MM_LOMETRIC));
    add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    unitsPerMm = 10;
    flipY = 2;
    picture();
    finish();

    /* Extents set in MM_TEXT are ignored: the drawing is in device pixels. */
    start("libuemf-text-extents.emf");
    add(U_EMRSETWINDOWEXTEX_set(sizel_set(1000, 1000)));
    add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(10, 10)));
    unitsPerMm = 3.2;
    flipY = 0;
    picture();
    finish();

    /* An EMF+ dual file: an EMF+ header, the rectangle as EMF+ records, then
     * the whole picture in plain records. */
    start("libuemf-emfplus-dual.emf");
    /* U_PMR_write frees each record it writes; `scratch` is its work space. */
    U_PSEUDO_OBJ* scratch = U_PO_create(NULL, 1024, 0, 0);
    U_PSEUDO_OBJ* version = U_PMF_GRAPHICSVERSION_set(U_GV_1_1);
    U_PMR_write(U_PMR_HEADER_set(1, 0, version, 96, 96), scratch, et);
    U_PMF_RECTF rect = {15.1f, 15.1f, 52.9f, 37.8f};
    U_PSEUDO_OBJ* rects = U_PMF_RECTFN_set(1, &rect);
    U_PSEUDO_OBJ* colour = U_PMF_ARGB_set(255, 220, 30, 30);
    U_PMR_write(U_PMR_FILLRECTS_set(colour, rects), scratch, et);
    U_PMR_write(U_PMR_GETDC_set(), scratch, et);
    unitsPerMm = 3.2;
    flipY = 0;
    picture();
    U_PMR_write(U_PMR_ENDOFFILE_set(), scratch, et);
    U_PO_free(&version);
    U_PO_free(&rects);
    U_PO_free(&colour);
    U_PO_free(&scratch);
    finish();
    return 0;
}
