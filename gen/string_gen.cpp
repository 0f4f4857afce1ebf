#include "gen/string_gen.h"

#include "core/ccore.h"
#include "core/gbk_chars.h"
#include "core/texts.h"
#include "core/textutil.h"
#include "gen/gen_common.h"

#include <algorithm>
#include <cstring>

namespace {

using Code = uint16_t;

// Byte ranges of the one-byte kinds 1 (upper case), 2 (lower case), 3 (digits).
constexpr int kLo[4] = {0, 'A', 'a', '0'};
constexpr int kHi[4] = {0, 'Z', 'z', '9'};

using gbk::charLen;
using gbk::codeAt;
constexpr int kHzRowFirst = gbk::kLevel1RowFirst, kHzRowLast = gbk::kLevel1RowLast;
constexpr int kHzLastRowCols = gbk::kLevel1LastRowCols;

int rnd(int lo, int hi)
{
    return g_core->getRandInt(lo, hi);
}

Code drawHz()
{
    const int row = rnd(kHzRowFirst, kHzRowLast);
    const int col = rnd(1, row == kHzRowLast ? kHzLastRowCols : 94);
    return Code(((0xA0 + row) << 8) | (0xA0 + col));
}

std::vector<Code> toCodes(std::string_view s)
{
    std::vector<Code> codes;
    codes.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = charLen(s, i);
        codes.push_back(codeAt(s, i, n));
        i += n;
    }
    return codes;
}

// Writes c at p; returns the bytes written.
std::size_t putCode(char* p, Code c)
{
    if (c < 0x100) {
        p[0] = char(c);
        return 1;
    }
    p[0] = char(c >> 8);
    p[1] = char(c & 0xFF);
    return 2;
}

CString codeText(Code c)
{
    char buf[2];
    return CString(buf, putCode(buf, c));
}

// Offset of the character that holds byte `off` of s.
std::size_t charStart(std::string_view s, std::size_t off)
{
    std::size_t i = 0;
    while (i < off) {
        const std::size_t n = charLen(s, i);
        if (i + n > off)
            break;
        i += n;
    }
    return i;
}

CString withoutSpaces(CString s)
{
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

struct Exclusions {
    uint8_t bytes[256] = {}; // 1: the one-byte character is excluded
    std::vector<Code> wide;  // two-byte characters, sorted, no repeats

    explicit Exclusions(std::string_view list)
    {
        for (std::size_t i = 0; i < list.size();) {
            const std::size_t n = charLen(list, i);
            if (n == 1)
                bytes[static_cast<unsigned char>(list[i])] = 1;
            else
                wide.push_back(codeAt(list, i, n));
            i += n;
        }
        std::sort(wide.begin(), wide.end());
        wide.erase(std::unique(wide.begin(), wide.end()), wide.end());
    }
    bool hasByte(int b) const { return bytes[b]; }
};

// Whether some kind that is on (bit k of kinds) still has a character that
// the exclusions let through, so that drawing a character always ends.
bool anyDrawable(unsigned kinds, const Exclusions& ex)
{
    for (int k = 1; k <= 3; ++k) {
        if (!(kinds >> k & 1u))
            continue;
        for (int b = kLo[k]; b <= kHi[k]; ++b)
            if (!ex.hasByte(b))
                return true;
    }
    if (kinds >> 4 & 1u)
        return std::count_if(ex.wide.begin(), ex.wide.end(), gbk::isLevel1) < gbk::kLevel1Count;
    return false;
}

unsigned kindBits(const StringSettings& s)
{
    return (s.isUCase ? 1u << 1 : 0u) | (s.isLCase ? 1u << 2 : 0u) | (s.isNum ? 1u << 3 : 0u)
           | (s.isHz ? 1u << 4 : 0u);
}

} // namespace

bool StringSettings::validate(CString* message)
{
    auto fail = [message](Text t) {
        if (message)
            *message = text(t);
        return false;
    };
    if (!isUCase && !isLCase && !isNum && !isHz)
        return fail(Text::NoStringKind);
    if (lenMin > lenMax)
        return fail(Text::LengthInvalid);
    if (count < 1)
        return fail(Text::CountInvalid);
    if (lenMax > kStringLenLimit)
        return fail(Text::LengthTooLong);
    CString specials = withoutSpaces(charSpec);
    CString excl = withoutSpaces(charExclude);
    if (isCharEx && !excl.empty() && !anyDrawable(kindBits(*this), Exclusions(excl)))
        return fail(Text::AllExcluded);
    charSpec = std::move(specials);
    charExclude = std::move(excl);
    seedCRuntime();
    return true;
}

StringRowMaker::StringRowMaker(const StringSettings& s)
    : lenMin_(s.lenMin), lenMax_(s.lenMax), kinds_(kindBits(s)), head_(s.head), tail_(s.tail)
{
    exclOn_ = s.isCharEx && !s.charExclude.empty();
    const Exclusions ex(exclOn_ ? std::string_view(s.charExclude) : std::string_view());
    std::memcpy(exclByte_, ex.bytes, sizeof exclByte_);
    exclHz_ = ex.wide;
    canDraw_ = anyDrawable(kinds_, ex);

    if (s.isCharSpec && !s.charSpec.empty()) {
        specials_ = toCodes(s.charSpec);
        specialsOneByte_ = std::all_of(specials_.begin(), specials_.end(), [](Code c) { return c < 0x100; });
    }

    // The insert list is fixed for a run, so its fields are split once.
    if (!s.insertStr.empty()) {
        for (int k = 0;; k += 2) {
            const CString pos = g_core->getFg(s.insertStr, '|', k);
            if (pos.empty())
                break;
            inserts_.emplace_back(textutil::toInt(pos), g_core->getFg(s.insertStr, '|', k + 1));
        }
    }
}

// Draws len one-byte characters (Chinese characters off). Each character is
// a kind draw, repeated while the kind is off (drawUntilIn takes exactly
// those draws, without a branch on each), then a character draw; an
// excluded character starts again from the kind.
void StringRowMaker::drawBytes(char* out, int len)
{
    // Locals, so the byte stores below cannot force these to be reloaded.
    const unsigned kinds = kinds_;
    const bool exclOn = exclOn_;
    RandomGen& random = g_core->random();
    for (int i = 0; i < len;) {
        const int k = random.drawUntilIn(1, 4, kinds >> 1);
        const int c = rnd(kLo[k], kHi[k]);
        // Stored either way; an excluded byte is overwritten by the next one.
        // No branch on the drawn byte, so no mispredicted jump per exclusion.
        out[i] = char(c);
        i += !(exclOn && exclByte_[c]);
    }
}

StringRowMaker::Code StringRowMaker::drawCode()
{
    RandomGen& random = g_core->random();
    for (;;) {
        const int k = random.drawUntilIn(1, 4, kinds_ >> 1);
        const Code c = k == 4 ? drawHz() : Code(rnd(kLo[k], kHi[k]));
        if (exclOn_ && excluded(c))
            continue;
        return c;
    }
}

bool StringRowMaker::excluded(Code c) const
{
    if (c < 0x100)
        return exclByte_[c];
    return std::binary_search(exclHz_.begin(), exclHz_.end(), c);
}

// n = getRandInt(0, len / 3) steps, each drawing the index into the special
// characters first and the position second. Positions may repeat.
template <class T>
void StringRowMaker::placeSpecials(T* items, std::size_t size, int len)
{
    const int n = rnd(0, len / 3);
    const int last = int(specials_.size()) - 1;
    for (int i = 0; i < n; ++i) {
        const Code c = specials_[std::size_t(rnd(0, last))];
        const int p = rnd(0, len - 1);
        if (std::size_t(p) < size)
            items[p] = T(c);
    }
}

void StringRowMaker::appendRow(CString& out)
{
    const std::size_t start = out.size();
    int len = rnd(lenMin_, lenMax_);
    // A negative length draws nothing, like 0. The other two cases only arise
    // from settings that did not pass validation; they must not hang or
    // exhaust memory either.
    if (len < 0 || !canDraw_)
        len = 0;
    len = std::min(len, kStringLenLimit);

    if (!(kinds_ >> 4 & 1u) && specialsOneByte_) {
        // Every drawn and special character is one byte: work on the bytes.
        out.resize(start + head_.size() + std::size_t(len));
        char* p = out.data() + start;
        std::memcpy(p, head_.data(), head_.size());
        p += head_.size();
        drawBytes(p, len);
        if (!specials_.empty())
            placeSpecials(p, std::size_t(len), len);
    } else {
        scratch_.resize(std::size_t(len));
        for (Code& c : scratch_)
            c = drawCode();
        if (!specials_.empty())
            placeSpecials(scratch_.data(), scratch_.size(), len);
        out.resize(start + head_.size() + 2 * std::size_t(len));
        char* p = out.data() + start;
        std::memcpy(p, head_.data(), head_.size());
        p += head_.size();
        for (Code c : scratch_)
            p += putCode(p, c);
        out.resize(std::size_t(p - out.data()));
    }
    out += tail_;
    if (!inserts_.empty())
        insertInto(out, start);
}

CString StringRowMaker::makeRow()
{
    CString row;
    appendRow(row);
    return row;
}

CString StringRowMaker::randChar()
{
    return canDraw_ ? codeText(drawCode()) : CString();
}

CString StringRowMaker::specialChars(const CString& text, int len)
{
    if (specials_.empty())
        return text;
    std::vector<Code> codes = toCodes(text);
    placeSpecials(codes.data(), codes.size(), std::max(len, 0));
    CString out(2 * codes.size(), '\0');
    char* p = out.data();
    for (Code c : codes)
        p += putCode(p, c);
    out.resize(std::size_t(p - out.data()));
    return out;
}

// Positions count bytes of the row as it was on entry (n). A pair is skipped
// when its position is past n, or when an earlier pair was accepted at a
// nonzero position that is not above it. A position inside a two-byte
// character inserts in front of that character.
void StringRowMaker::insertInto(CString& out, std::size_t start) const
{
    const long long n = (long long)(out.size() - start);
    long long last = 0;
    for (const auto& [pos, text] : inserts_) {
        if (pos > n)
            continue;
        if (last != 0 && pos >= last)
            continue;
        last = pos;
        const std::size_t off = pos < 0 ? 0 : charStart(std::string_view(out).substr(start), std::size_t(pos));
        out.insert(start + off, text);
    }
}

CString makeRow(const StringSettings& s)
{
    return StringRowMaker(s).makeRow();
}

CString getRandChar(const StringSettings& s)
{
    return StringRowMaker(s).randChar();
}

CString getRandHz()
{
    return codeText(drawHz());
}

bool isExcluded(const StringSettings& s, std::string_view candidate)
{
    if (!s.isCharEx || s.charExclude.empty())
        return false;
    const std::string_view list(s.charExclude);
    for (std::size_t i = 0; i < list.size();) {
        const std::size_t n = charLen(list, i);
        if (list.substr(i, n) == candidate)
            return true;
        i += n;
    }
    return false;
}

CString addSpecialChars(const StringSettings& s, const CString& text, int len)
{
    return StringRowMaker(s).specialChars(text, len);
}

CString applyInserts(const StringSettings& s, const CString& row)
{
    CString out = row;
    if (!s.insertStr.empty())
        StringRowMaker(s).insertInto(out, 0);
    return out;
}

bool streamRows(const StringSettings& s, const RowSink& sink, std::size_t chunkBytes)
{
    StringRowMaker maker(s);
    CString buf;
    buf.reserve(chunkBytes + 256);
    for (int i = 0; i < s.count; ++i) {
        maker.appendRow(buf);
        buf += "\r\n";
        if (buf.size() >= chunkBytes) {
            if (!sink(buf))
                return false;
            buf.clear();
        }
    }
    return buf.empty() || sink(buf);
}

CString makeRun(const StringSettings& s)
{
    CString run;
    streamRows(s, [&run](std::string_view chunk) {
        run += chunk;
        return true;
    });
    return run;
}
