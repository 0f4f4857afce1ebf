#pragma once
// Dialog units to pixels, the way dialog templates are laid out: a
// horizontal base unit baseX and a vertical one baseY taken from the dialog
// font; x px = x * baseX / 4 and y px = y * baseY / 8, each rounded to the
// nearest pixel.
//
// The base units are those of the templates' own face, a Song face whose
// letters are half an em wide and whose line height is one em (9 points at
// 96 dpi: 6 x 12 pixels): baseX = em / 2, baseY = em. They are not measured
// on a fallback font: the CJK faces available elsewhere have wider Latin
// letters (baseX 7) and a line height near 1.45 em, which would stretch
// every window by a sixth across and by half down and change its
// proportions. Chinese characters are one em wide in every CJK face, so they
// fit the widths the templates give them.
#include <QFont>
#include <QRect>

struct DialogUnits {
    int baseX = 6;
    int baseY = 12;

    static DialogUnits forFont(const QFont& font);

    int x(int du) const { return mulDiv(du, baseX, 4); }
    int y(int du) const { return mulDiv(du, baseY, 8); }
    // Each of x, y, w and h is converted on its own, as templates are.
    QRect rect(int x, int y, int w, int h) const { return QRect(this->x(x), this->y(y), this->x(w), this->y(h)); }

    // a * b / c rounded to the nearest integer, halves away from zero.
    static int mulDiv(int a, int b, int c);
};

// The font of a template: the named face at the given size in points, taken
// at 96 dpi logical pixels (Qt scales logical pixels on high-density
// screens). When the face is not installed, the first installed face of a
// list of Simplified Chinese fonts stands in for it.
QFont dialogFont(const char* faceUtf8, int points);
