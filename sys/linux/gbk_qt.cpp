// GBK conversion with Qt's converters (QStringEncoder/QStringDecoder).
#include "sys/gbk.h"
#include "sys/linux/qgbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace gbk {

std::optional<std::string> encode(const QString& text)
{
    if (text.isEmpty())
        return std::string();
    QStringEncoder enc("GBK");
    if (!enc.isValid())
        return std::nullopt;
    const QByteArray bytes = enc(text);
    if (enc.hasError())
        return std::nullopt;
    // The converter may substitute instead of failing: check the round trip.
    QStringDecoder dec("GBK");
    if (dec(bytes) != text || dec.hasError())
        return std::nullopt;
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString decode(std::string_view bytes, bool* ok)
{
    // Stateless: a lead byte cut off at the end counts as an error.
    QStringDecoder dec("GBK", QStringConverter::Flag::Stateless);
    const QString text = dec(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (ok)
        *ok = dec.isValid() && !dec.hasError();
    return text;
}

std::optional<std::string> fromUtf8(std::string_view utf8)
{
    QStringDecoder dec(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = dec(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
    if (dec.hasError())
        return std::nullopt;
    return encode(text);
}

std::string toUtf8(std::string_view bytes, bool* ok)
{
    return decode(bytes, ok).toStdString();
}

} // namespace gbk
