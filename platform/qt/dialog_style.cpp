#include "platform/qt/dialog_style.h"

#include <QStyleFactory>

DialogStyle::DialogStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int DialogStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    if (metric == PM_CheckBoxLabelSpacing)
        return 4;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
