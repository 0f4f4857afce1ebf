// Number fields, their check and rows. Input lines: the kinds ('I' integers,
// 'F' floating-point numbers), then the texts of the minimum, maximum, count
// and decimals fields as typed.
//
// A failed check gives a GBK message. Settings that pass make rows that are
// numbers of the kinds asked for, inside the range, with the decimals asked
// for; the whole run, the streamed run and the row maker give the same bytes
// from the same draws.
#include "core/textutil.h"
#include "fuzz/fuzz_support.h"
#include "gen/number_gen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

struct Row {
    bool ok = false;
    bool hasPoint = false;
    std::size_t decimals = 0;
    double value = 0;
};

// "-?digits(.digits)?" and its value.
Row parse(const std::string& text)
{
    Row r;
    std::size_t i = text.starts_with('-') ? 1 : 0;
    const std::size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i == digits)
        return r;
    if (i < text.size() && text[i] == '.') {
        r.hasPoint = true;
        const std::size_t frac = ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        r.decimals = i - frac;
        if (r.decimals == 0)
            return r;
    }
    if (i != text.size())
        return r;
    r.ok = std::from_chars(text.data(), text.data() + text.size(), r.value).ec == std::errc();
    return r;
}

bool within(double v, double lo, double hi)
{
    // Room for the last bit of a decimal read back in binary, nothing more.
    const auto slack = [](double b) { return 1e-9 * std::max(1.0, std::fabs(b)); };
    return v >= lo - slack(lo) && v <= hi + slack(hi);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Core& core = fuzz::Core::get();
    const fuzz::Lines in(data, size);
    NumberSettings s{in.has(0, 'I'), in.has(0, 'F'), numberFieldBound(in[1]), numberFieldBound(in[2]),
                     textutil::toInt(in[3]), textutil::toInt(in[4])};
    if (const auto invalid = s.validate()) {
        fuzz::check(fuzz::isValidGbk(invalid->message), "message is not GBK");
        return 0;
    }
    s.count = std::min(s.count, 40);

    core.reseed();
    const std::string run = drawNumberRows(s, g_core->random());
    core.reseed();
    std::string streamed;
    streamNumberRows(s, g_core->random(), [&streamed](std::string_view chunk) { streamed += chunk; }, 48);
    core.reseed();
    std::string made;
    NumberRowMaker maker(s, g_core->random());
    for (int i = 0; i < s.count; ++i) {
        maker.appendRow(made);
        made += "\r\n";
    }
    fuzz::check(streamed == run && made == run, "streamed run or row maker differs from the whole run", run);

    const auto rows = fuzz::splitRows(run);
    fuzz::check(rows && rows->size() == std::size_t(s.count), "run has the wrong number of rows", run);
    const double intLo = std::trunc(double(s.rangeMin)), intHi = std::trunc(double(s.rangeMax));
    for (const std::string& text : *rows) {
        const Row r = parse(text);
        fuzz::check(r.ok, "row is not a number", text);
        // Integer rows: whole numbers between the truncated bounds.
        const bool asInt = s.isInt && !r.hasPoint && r.value >= intLo && r.value <= intHi;
        // Floating-point rows: the decimals asked for, within the range.
        const bool asFloat = s.isFloat && r.decimals == std::size_t(s.decimals) && r.hasPoint == (s.decimals > 0)
                             && within(r.value, s.rangeMin, s.rangeMax);
        if (!asInt && !asFloat) {
            const std::string detail = text + " from range " + in[1] + " .. " + in[2] + ", decimals " + in[4];
            fuzz::check(false, "row outside the range or of a kind not asked for", detail);
        }
    }
    return 0;
}
