#include "core/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdio>
#include <cstdlib>

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

std::string lit(const char* utf8)
{
    auto bytes = encode(QString::fromUtf8(utf8));
    if (!bytes) {
        std::fprintf(stderr, "kelvane: interface text not representable in GBK: %s\n", utf8);
        std::abort();
    }
    return *bytes;
}

QString firstUnencodable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString ch = text.mid(i, len);
        if (!encode(ch))
            return ch;
        i += len - 1;
    }
    return {};
}

} // namespace gbk
