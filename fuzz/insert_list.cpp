// Insert lists: the first line is the list (position|text|...), the rest of
// the input is the row. The generator's inserts must match the plain rule,
// on a row of its own and on a row that follows others in a run's buffer;
// field splitting must match a plain split at the separators that are
// characters of their own.
#include "fuzz/fuzz_support.h"
#include "fuzz/insert_reference.h"
#include "gen/string_gen.h"

#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    fuzz::Core::get();
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::size_t nl = in.find('\n');
    StringSettings s;
    s.insertStr = std::string(in.substr(0, nl));
    const std::string row(nl == in.npos ? std::string_view() : in.substr(nl + 1));

    const std::string want = fuzz::referenceInserts(s.insertStr, row);
    fuzz::check(applyInserts(s, row) == want, "applyInserts differs from the insert rule", s.insertStr);

    const std::string before = "earlier rows\r\n";
    std::string buffer = before + row;
    StringRowMaker(s).insertInto(buffer, before.size());
    fuzz::check(buffer == before + want, "insertInto touched the rows before its own or differs", s.insertStr);

    // Fields: the first ones, the last ones and one past the end (each
    // look-up walks the text, so not every field of a long list).
    const std::vector<std::string> fields = fuzz::splitFields(s.insertStr, '|');
    const int count = int(fields.size());
    for (int k = 0; k <= count; ++k) {
        if (k == 32 && count > 35)
            k = count - 3;
        const std::string expect = k < count ? fields[std::size_t(k)] : std::string();
        fuzz::check(g_core->getFg(s.insertStr, '|', k) == expect, "getFg differs from a plain split", s.insertStr);
    }
    fuzz::check(g_core->getFg(s.insertStr, '|', -1).empty(), "getFg with a negative index is not empty");
    return 0;
}
