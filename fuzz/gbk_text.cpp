// GBK conversion, both ways. The input is read as GBK bytes and as UTF-8
// text: valid GBK must come back from its text unchanged in meaning, text
// that converts must decode to itself, and "cannot convert" must agree with
// the character named as the reason.
#include "fuzz/fuzz_support.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    bool ok = false;
    const std::string text = fuzz::gbkToUtf8(bytes, &ok);
    if (ok) {
        const auto again = fuzz::utf8ToGbk(text);
        fuzz::check(again.has_value(), "valid GBK decodes to text that does not encode", bytes);
        bool ok2 = false;
        fuzz::check(fuzz::gbkToUtf8(*again, &ok2) == text && ok2, "valid GBK does not survive a round trip", bytes);
    }

    const auto encoded = fuzz::utf8ToGbk(bytes);
    const std::string first = fuzz::firstUnencodable(bytes);
    fuzz::check(encoded.has_value() == first.empty(), "encode and firstUnencodable disagree", bytes);
    if (encoded) {
        bool ok3 = false;
        fuzz::check(fuzz::gbkToUtf8(*encoded, &ok3) == bytes && ok3, "encoded text does not decode to itself", bytes);
        // GBK takes at most two bytes for what UTF-8 writes in two or more.
        fuzz::check(encoded->size() <= bytes.size(), "GBK longer than its UTF-8", bytes);
    } else if (fuzz::isValidUtf8(bytes)) {
        fuzz::check(bytes.find(first) != std::string_view::npos, "the character named is not in the text", bytes);
    }
    return 0;
}
