#include "platform/dialog/presenter.h"

#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "platform/dialog/boxes.h"

#include <cstring>
#include <string>

namespace {
// A tagSoft field may be full to its last byte; never read past it.
QString field(const char* text, std::size_t size)
{
    return gbk::decode(std::string(text, strnlen(text, size)));
}
} // namespace

void DialogPresenter::warning(HWND owner, const CString& text)
{
    showBox(reinterpret_cast<QWidget*>(owner), BoxKind::Warning, QStringLiteral("警告"), gbk::decode(text));
}

void DialogPresenter::about(HWND owner, const tagSoft* soft)
{
    tagSoft empty{};
    showBox(reinterpret_cast<QWidget*>(owner), BoxKind::About, QStringLiteral("关于 Kelvane"), aboutText(soft ? *soft : empty));
}

QString DialogPresenter::aboutText(const tagSoft& soft)
{
    QStringList lines{QStringLiteral("Kelvane"), QStringLiteral("版本 %1").arg(QStringLiteral(KELVANE_VERSION)),
                      QString()};
    for (const QString& f : {field(soft.name, sizeof soft.name), field(soft.description, sizeof soft.description),
                             field(soft.maker, sizeof soft.maker), field(soft.copyright, sizeof soft.copyright)})
        if (!f.isEmpty())
            lines << f;
    return lines.join(QLatin1Char('\n'));
}

DialogPresenter& DialogPresenter::instance()
{
    static DialogPresenter presenter;
    return presenter;
}
