#pragma once
// The widget style dialogs are laid out for: Fusion, with the gap between a
// check box and its text narrowed to that of dialog check boxes (4 pixels
// instead of 6), so labels fill the widths the templates give them.
#include <QProxyStyle>

class DialogStyle : public QProxyStyle {
public:
    DialogStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
