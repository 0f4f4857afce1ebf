// GBK conversion, both ways. The input is read as GBK bytes and as UTF-8
// text: valid GBK must come back from its text unchanged in meaning, text
// that converts must decode to itself, and "cannot convert" must agree with
// the first character named as the reason.
#include "fuzz/fuzz_support.h"

#include <QString>

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    bool ok = false;
    const QString text = gbk::decode(bytes, &ok);
    if (ok) {
        const auto again = gbk::encode(text);
        fuzz::check(again.has_value(), "valid GBK decodes to text that does not encode", bytes);
        bool ok2 = false;
        fuzz::check(gbk::decode(*again, &ok2) == text && ok2, "valid GBK does not survive a round trip", bytes);
    }

    const QString typed = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    const auto encoded = gbk::encode(typed);
    const QString first = gbk::firstUnencodable(typed);
    fuzz::check(encoded.has_value() == first.isEmpty(), "encode and firstUnencodable disagree", bytes);
    if (encoded) {
        bool ok3 = false;
        fuzz::check(gbk::decode(*encoded, &ok3) == typed && ok3, "encoded text does not decode to itself", bytes);
        fuzz::check(encoded->size() <= 2 * std::size_t(typed.size()), "more than two bytes per character", bytes);
    } else {
        fuzz::check(typed.contains(first), "the character named is not in the text", bytes);
    }
    return 0;
}
