// String settings and rows. Input lines: kinds and switches ('U' upper, 'L'
// lower, 'D' digits, 'H' Chinese, 'S' special characters on, 'E' exclusions
// on), then the length minimum, length maximum and count as the fields'
// texts, then head, tail, insert list, special characters and excluded
// characters.
//
// Settings that pass the check make rows that hold what was asked for; those
// that fail leave the settings as they were; either way a row never crashes
// or runs away. Inserts draw nothing, so the same rows without the list,
// with the plain insert rule applied, must give the rows with it.
#include "fuzz/fuzz_support.h"
#include "fuzz/insert_reference.h"
#include "core/textutil.h"
#include "gen/string_gen.h"

#include <algorithm>
#include <set>
#include <string>

namespace {

bool oneByteOfKind(const StringSettings& s, unsigned char b)
{
    return (s.isUCase && b >= 'A' && b <= 'Z') || (s.isLCase && b >= 'a' && b <= 'z')
           || (s.isNum && b >= '0' && b <= '9');
}

bool levelOneHz(const std::string& c)
{
    if (c.size() != 2)
        return false;
    const auto a = static_cast<unsigned char>(c[0]), b = static_cast<unsigned char>(c[1]);
    return a >= 0xB0 && a <= 0xD7 && b >= 0xA1 && b <= (a == 0xD7 ? 0xF9 : 0xFE);
}

// One row made without inserts: head, drawn part, tail.
void checkRow(const StringSettings& s, bool validated, const std::string& row)
{
    fuzz::check(row.size() >= s.head.size() + s.tail.size() && row.starts_with(s.head) && row.ends_with(s.tail),
                "row is not head + drawn part + tail", row);
    const std::string drawn = row.substr(s.head.size(), row.size() - s.head.size() - s.tail.size());
    if (!fuzz::isValidGbk(s.charSpec)) {
        // Special characters that are not whole GBK characters blur where
        // characters begin; only the length can be held to.
        fuzz::check(drawn.size() <= 2 * std::size_t(kStringLenLimit), "drawn part longer than the limit", row);
        return;
    }
    const bool specialsOn = s.isCharSpec && !s.charSpec.empty();
    const bool exclOn = s.isCharEx && !s.charExclude.empty();
    std::set<std::string> specials, excluded;
    if (specialsOn)
        for (auto& c : fuzz::gbkChars(s.charSpec))
            specials.insert(c);
    if (exclOn)
        for (auto& c : fuzz::gbkChars(s.charExclude))
            excluded.insert(c);

    const auto chars = fuzz::gbkChars(drawn);
    const long long n = (long long)chars.size();
    long long onlySpecial = 0;
    for (const auto& c : chars) {
        const bool ofKind = c.size() == 1 ? oneByteOfKind(s, static_cast<unsigned char>(c[0]))
                                          : s.isHz && levelOneHz(c);
        if (ofKind && !excluded.count(c))
            continue;
        fuzz::check(specials.count(c) == 1, "drawn character of no kind asked for, or excluded", c);
        ++onlySpecial;
    }
    fuzz::check(onlySpecial <= n / 3, "more than a third of the drawn part is special characters", row);
    const long long lo = std::min(s.lenMin, s.lenMax), hi = std::max(s.lenMin, s.lenMax);
    fuzz::check(n <= std::min<long long>(std::max<long long>(hi, 0), kStringLenLimit), "drawn part too long", row);
    if (validated)
        fuzz::check(n >= lo, "drawn part shorter than the minimum", row);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Core& core = fuzz::Core::get();
    const fuzz::Lines in(data, size);
    StringSettings s;
    s.isUCase = in.has(0, 'U');
    s.isLCase = in.has(0, 'L');
    s.isNum = in.has(0, 'D');
    s.isHz = in.has(0, 'H');
    s.isCharSpec = in.has(0, 'S');
    s.isCharEx = in.has(0, 'E');
    s.lenMin = textutil::toInt(in[1]);
    s.lenMax = textutil::toInt(in[2]);
    s.count = textutil::toInt(in[3]);
    s.head = in[4];
    s.tail = in[5];
    s.insertStr = in[6];
    s.charSpec = in[7];
    s.charExclude = in[8];

    const auto invalid = s.validate();
    const bool validated = !invalid;
    StringSettings v = validated ? s.forRun() : s;
    if (validated) {
        fuzz::check(v.charSpec.find(' ') == std::string::npos && v.charExclude.find(' ') == std::string::npos,
                    "spaces left in the lists after the check");
        // Bounded work per input: a few thousand drawn characters.
        v.count = std::min(v.count, std::max(1, 4000 / std::max(1, v.lenMax)));
    } else {
        fuzz::check(!invalid->message.empty() && fuzz::isValidGbk(invalid->message), "failed check without a GBK message");
        // Unchecked settings must still be safe for a row or two.
        v.count = std::clamp(v.count, 0, 2);
    }

    StringSettings plain = v;
    plain.insertStr.clear();
    core.reseed();
    const std::string run = makeRun(plain, g_core->random());
    core.reseed();
    const std::string withInserts = makeRun(v, g_core->random());

    const auto rows = fuzz::splitRows(run);
    const auto insertedRows = fuzz::splitRows(withInserts);
    fuzz::check(rows && insertedRows, "a row does not end with CR LF");
    fuzz::check(rows->size() == std::size_t(std::max(v.count, 0)) && insertedRows->size() == rows->size(),
                "run has the wrong number of rows");
    const bool textsValid = fuzz::isValidGbk(v.head) && fuzz::isValidGbk(v.tail) && fuzz::isValidGbk(v.charSpec)
                            && fuzz::isValidGbk(v.insertStr);
    for (std::size_t i = 0; i < rows->size(); ++i) {
        checkRow(v, validated, (*rows)[i]);
        fuzz::check((*insertedRows)[i] == fuzz::referenceInserts(v.insertStr, (*rows)[i]),
                    "inserts differ from the insert rule", v.insertStr);
        if (textsValid)
            fuzz::check(fuzz::isValidGbk((*insertedRows)[i]), "row from whole GBK texts is not whole GBK",
                        (*insertedRows)[i]);
    }
    return 0;
}
