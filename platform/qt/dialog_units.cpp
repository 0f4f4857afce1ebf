#include "platform/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

int DialogUnits::mulDiv(int a, int b, int c)
{
    const std::int64_t p = std::int64_t(a) * b;
    const std::int64_t q = (std::llabs(p) + c / 2) / c;
    return int(p < 0 ? -q : q);
}

DialogUnits DialogUnits::forFont(const QFont& font)
{
    DialogUnits u;
    const int em = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    u.baseY = em;
    u.baseX = (em + 1) / 2;
    return u;
}

QFont dialogFont(const char* faceUtf8, int points)
{
    const QString face = QString::fromUtf8(faceUtf8);
    QStringList families{face};
    if (face == QStringLiteral("宋体"))
        families << QStringLiteral("SimSun") << QStringLiteral("NSimSun");
    families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Source Han Sans SC")
             << QStringLiteral("WenQuanYi Micro Hei") << QStringLiteral("WenQuanYi Zen Hei")
             << QStringLiteral("Droid Sans Fallback");
    QFont font;
    for (const QString& f : families) {
        if (QFontDatabase::hasFamily(f)) {
            font.setFamily(f);
            break;
        }
    }
    font.setPixelSize(DialogUnits::mulDiv(points, 96, 72));
    return font;
}
