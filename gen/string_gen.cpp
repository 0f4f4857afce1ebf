#include "gen/string_gen.h"

#include "core/random.h"
#include "core/gbk_chars.h"
#include "core/texts.h"
#include "core/textutil.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

using Code = uint16_t;

// Byte ranges of the one-byte kinds 1 (upper case), 2 (lower case), 3 (digits).
constexpr int kLo[4] = {0, 'A', 'a', '0'};
constexpr int kHi[4] = {0, 'Z', 'z', '9'};

using gbk::charLen;
using gbk::codeAt;
constexpr int kHzRowFirst = gbk::kLevel1RowFirst, kHzRowLast = gbk::kLevel1RowLast;
constexpr int kHzLastRowCols = gbk::kLevel1LastRowCols;

// The chance that one try of the draw loop gives a character, as a weight:
// a try picks a kind that is on (1 in K), then a character of that kind (1 in
// 26, 26 or 10; a Chinese character picks its row, 1 in 40, then its column,
// 1 in 94 or 89). kWeightAll is the least common multiple of 26, 10, 40 * 94
// and 40 * 89, so every character's share of it is a whole number.
constexpr int kWeightAll = 4350320;
constexpr int kWeightOfKind[4] = {0, kWeightAll / 26, kWeightAll / 26, kWeightAll / 10};
constexpr int kWeightHz = kWeightAll / (40 * 94), kWeightHzLastRow = kWeightAll / (40 * kHzLastRowCols);
static_assert(kWeightHz * 40 * 94 == kWeightAll && kWeightHzLastRow * 40 * kHzLastRowCols == kWeightAll);

// Characters are drawn once among the kept ones when fewer than one try in
// kDirectBelow keeps a character: with all Chinese characters but one
// excluded, 3755 tries a character would make 10 000 characters take
// seconds. From one try in 64 on, the tries are drawn as always; the slowest
// such setting makes 2 000 000 characters in about 1.6 s on the build
// machine (bench/edge_bench.cpp).
constexpr int64_t kDirectBelow = 64;

Code drawHz(RandomGen& random)
{
    const int row = random.getRandInt(kHzRowFirst, kHzRowLast);
    const int col = random.getRandInt(1, row == kHzRowLast ? kHzLastRowCols : 94);
    return Code(((0xA0 + row) << 8) | (0xA0 + col));
}

// Position of a level-1 character in its rows of the table, 94 to a row.
std::size_t level1Index(Code c)
{
    return std::size_t(((c >> 8) - 0xA0 - kHzRowFirst) * 94 + (c & 0xFF) - 0xA1);
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

std::optional<Invalid> StringSettings::validate() const
{
    if (!isUCase && !isLCase && !isNum && !isHz)
        return Invalid::of(Text::NoStringKind);
    if (lenMin > lenMax)
        return Invalid::of(Text::LengthInvalid);
    if (count < 1)
        return Invalid::of(Text::CountInvalid);
    if (lenMax > kStringLenLimit)
        return Invalid::of(Text::LengthTooLong);
    // A space is never a drawn character, so it keeps nothing in.
    if (isCharEx && !withoutSpaces(charExclude).empty()
        && !anyDrawable(kindBits(*this), Exclusions(withoutSpaces(charExclude))))
        return Invalid::of(Text::AllExcluded);
    return std::nullopt;
}

StringSettings StringSettings::forRun() const
{
    StringSettings s = *this;
    s.charSpec = withoutSpaces(charSpec);
    s.charExclude = withoutSpaces(charExclude);
    return s;
}

StringRowMaker::StringRowMaker(const StringSettings& s, RandomGen& random)
    : random_(&random), lenMin_(s.lenMin), lenMax_(s.lenMax), kinds_(kindBits(s)), head_(s.head), tail_(s.tail)
{
    exclOn_ = s.isCharEx && !s.charExclude.empty();
    const Exclusions ex(exclOn_ ? std::string_view(s.charExclude) : std::string_view());
    std::memcpy(exclByte_, ex.bytes, sizeof exclByte_);
    exclHz_ = ex.wide;
    // Drawn Chinese characters are tested by table position: one load, where
    // a search of a long list costs more than the rest of the draw.
    for (Code c : exclHz_)
        if (gbk::isLevel1(c)) {
            exclLevel1_.resize(std::size_t(kHzRowLast - kHzRowFirst + 1) * 94);
            exclLevel1_[level1Index(c)] = 1;
        }
    canDraw_ = anyDrawable(kinds_, ex);
    if (exclOn_ && canDraw_)
        planDirect();
    if (!(kinds_ >> 4 & 1u) && canDraw_)
        planByteTable();

    if (s.isCharSpec && !s.charSpec.empty()) {
        specials_ = toCodes(s.charSpec);
        specialsOneByte_ = std::all_of(specials_.begin(), specials_.end(), [](Code c) { return c < 0x100; });
    }

    // The insert list is fixed for a run, so its fields are split once, in
    // one pass: position, text, position, text..., up to the first empty
    // position field. A missing last text is empty. A '|' that is the second
    // byte of a Chinese character (as in 億) belongs to it and splits nothing.
    const std::string_view list(s.insertStr);
    std::size_t at = 0;
    const auto nextField = [&list, &at]() {
        std::size_t bar = at;
        while (bar < list.size() && list[bar] != '|')
            bar += charLen(list, bar);
        bar = std::min(bar, list.size());
        const std::string_view field = list.substr(at, bar - at);
        at = bar + 1;
        return field;
    };
    while (at <= list.size()) {
        const std::string_view pos = nextField();
        if (pos.empty())
            break;
        inserts_.emplace_back(textutil::toInt(pos), CString(at <= list.size() ? nextField() : std::string_view()));
    }
}

// Counts what one try of the draw loop keeps; when that is tiny, lists the
// kept characters with their weights so drawDirect picks one in one draw,
// with the chance the loop gives it.
void StringRowMaker::planDirect()
{
    int kinds = 0;
    int64_t keptWeight = 0;
    for (int k = 1; k <= 3; ++k)
        if (kinds_ >> k & 1u) {
            ++kinds;
            for (int b = kLo[k]; b <= kHi[k]; ++b)
                keptWeight += exclByte_[b] ? 0 : kWeightOfKind[k];
        }
    if (kinds_ >> 4 & 1u) {
        ++kinds;
        keptWeight += int64_t(gbk::kLevel1Count - kHzLastRowCols) * kWeightHz + int64_t(kHzLastRowCols) * kWeightHzLastRow;
        for (Code c : exclHz_)
            if (gbk::isLevel1(c))
                keptWeight -= (c >> 8) == 0xA0 + kHzRowLast ? kWeightHzLastRow : kWeightHz;
    }
    if (keptWeight == 0 || keptWeight * kDirectBelow >= int64_t(kinds) * kWeightAll)
        return;
    int upTo = 0;
    const auto keep = [&](Code c, int weight) {
        if (excluded(c))
            return;
        upTo += weight;
        directCodes_.push_back(c);
        directUpTo_.push_back(upTo);
    };
    for (int k = 1; k <= 3; ++k)
        if (kinds_ >> k & 1u)
            for (int b = kLo[k]; b <= kHi[k]; ++b)
                keep(Code(b), kWeightOfKind[k]);
    if (kinds_ >> 4 & 1u)
        for (int row = kHzRowFirst; row <= kHzRowLast; ++row)
            for (int col = 1; col <= (row == kHzRowLast ? kHzLastRowCols : 94); ++col)
                keep(Code(((0xA0 + row) << 8) | (0xA0 + col)), row == kHzRowLast ? kWeightHzLastRow : kWeightHz);
}

StringRowMaker::Code StringRowMaker::drawDirect(RandomGen& random)
{
    const int r = random.getRandInt(0, directUpTo_.back() - 1);
    return directCodes_[std::size_t(std::upper_bound(directUpTo_.begin(), directUpTo_.end(), r) - directUpTo_.begin())];
}

// One-byte kinds only: every kept character, each as many times as its
// chance in the draw loop asks. A kind's characters share the kind's chance,
// so a character of a kind of n characters weighs lcm / n, lcm being the
// least common multiple of the counts of the kinds that are on; an excluded
// character weighs nothing, as the loop draws again from the kind.
void StringRowMaker::planByteTable()
{
    int lcm = 1;
    for (int k = 1; k <= 3; ++k)
        if (kinds_ >> k & 1u)
            lcm = std::lcm(lcm, kHi[k] - kLo[k] + 1);
    for (int k = 1; k <= 3; ++k)
        if (kinds_ >> k & 1u)
            for (int b = kLo[k]; b <= kHi[k]; ++b)
                if (!exclByte_[b])
                    byteTable_.append(std::size_t(lcm / (kHi[k] - kLo[k] + 1)), char(b));
}

// Draws len one-byte characters (Chinese characters off). From a keystream,
// each character is one draw in the table of kept characters (planByteTable):
// the chances the loop below gives, at a fraction of its draws. A scripted
// source gets the loop itself, draw for draw: each character is a kind
// draw, repeated while the kind is off (drawUntilIn takes exactly those
// draws, without a branch on each), then a character draw; an excluded
// character starts again from the kind.
void StringRowMaker::drawBytes(RandomGen& random, char* __restrict out, int len)
{
    if (!byteTable_.empty() && !random.isScripted()) {
        if (byteTable_.size() == 1)
            std::memset(out, byteTable_[0], std::size_t(len));
        else
            random.fillFromTable(out, std::size_t(len), byteTable_.data(), uint32_t(byteTable_.size()));
        return;
    }
    if (!directUpTo_.empty()) {
        for (int i = 0; i < len; ++i)
            out[i] = char(drawDirect(random));
        return;
    }
    // Locals, so the byte stores below cannot force these to be reloaded.
    const unsigned kinds = kinds_;
    const bool exclOn = exclOn_;
    // Every one-byte kind has 10 or 26 characters: a 16-bit lane each.
    constexpr uint32_t kCount[4] = {0, kHi[1] - kLo[1] + 1, kHi[2] - kLo[2] + 1, kHi[3] - kLo[3] + 1};
    static_assert(kCount[1] >= 5 && kCount[2] >= 5 && kCount[3] >= 5);
    if (!exclOn) {
        for (int i = 0; i < len; ++i) {
            const int k = random.drawUntilIn(1, 4, kinds >> 1);
            out[i] = char(random.drawLane16(kLo[k], kCount[k]));
        }
        return;
    }
    for (int i = 0; i < len;) {
        const int k = random.drawUntilIn(1, 4, kinds >> 1);
        const int c = random.drawLane16(kLo[k], kCount[k]);
        // Stored either way; an excluded byte is overwritten by the next one.
        // No branch on the drawn byte, so no mispredicted jump per exclusion.
        out[i] = char(c);
        i += !exclByte_[c];
    }
}

StringRowMaker::Code StringRowMaker::drawCode(RandomGen& random)
{
    if (!byteTable_.empty() && !random.isScripted()) { // the table draw of drawBytes, for one character
        char c;
        drawBytes(random, &c, 1);
        return Code(static_cast<unsigned char>(c));
    }
    if (!directUpTo_.empty())
        return drawDirect(random);
    for (;;) {
        const int k = random.drawUntilIn(1, 4, kinds_ >> 1);
        const Code c = k == 4 ? drawHz(random) : Code(random.getRandInt(kLo[k], kHi[k]));
        if (exclOn_ && excluded(c))
            continue;
        return c;
    }
}

bool StringRowMaker::excluded(Code c) const
{
    if (c < 0x100)
        return exclByte_[c];
    if (gbk::isLevel1(c))
        return !exclLevel1_.empty() && exclLevel1_[level1Index(c)];
    return std::binary_search(exclHz_.begin(), exclHz_.end(), c);
}

// n = getRandInt(0, len / 3) steps, each drawing the index into the special
// characters first and the position second. Positions may repeat.
template <class T>
void StringRowMaker::placeSpecials(RandomGen& random, T* items, std::size_t size, int len)
{
    const int n = random.getRandInt(0, len / 3);
    const int last = int(specials_.size()) - 1;
    for (int i = 0; i < n; ++i) {
        const Code c = specials_[std::size_t(random.getRandInt(0, last))];
        const int p = random.getRandInt(0, len - 1);
        if (std::size_t(p) < size)
            items[p] = T(c);
    }
}

void StringRowMaker::appendRow(CString& out)
{
    RandomGen& random = this->random();
    const std::size_t start = out.size();
    int len = random.getRandInt(lenMin_, lenMax_);
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
        drawBytes(random, p, len);
        if (!specials_.empty())
            placeSpecials(random, p, std::size_t(len), len);
    } else {
        scratch_.resize(std::size_t(len));
        for (Code& c : scratch_)
            c = drawCode(random);
        if (!specials_.empty())
            placeSpecials(random, scratch_.data(), scratch_.size(), len);
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

char* StringRowMaker::putRows(char* out, int64_t rows, std::string_view eol)
{
    RandomGen& random = this->random();
    if (!(kinds_ >> 4 & 1u) && specialsOneByte_ && inserts_.empty() && (eol == "\n" || eol == "\r\n")) {
        // appendRow's one-byte path, written in place; no call to copy what
        // is empty or a line end.
        const bool head = !head_.empty(), tail = !tail_.empty(), crlf = eol.size() == 2;
        // One length draws nothing from a keystream; a scripted source records the draw.
        const bool oneLength = lenMin_ == lenMax_ && !random.isScripted();
        for (int64_t r = 0; r < rows; ++r) {
            int len = oneLength ? lenMin_ : random.getRandInt(lenMin_, lenMax_);
            if (len < 0 || !canDraw_)
                len = 0;
            len = std::min(len, kStringLenLimit);
            if (head) {
                std::memcpy(out, head_.data(), head_.size());
                out += head_.size();
            }
            drawBytes(random, out, len);
            if (!specials_.empty())
                placeSpecials(random, out, std::size_t(len), len);
            out += len;
            if (tail) {
                std::memcpy(out, tail_.data(), tail_.size());
                out += tail_.size();
            }
            if (crlf)
                *out++ = '\r';
            *out++ = '\n';
        }
        return out;
    }
    for (int64_t r = 0; r < rows; ++r) {
        row_.clear();
        appendRow(row_);
        std::memcpy(out, row_.data(), row_.size());
        out += row_.size();
        std::memcpy(out, eol.data(), eol.size());
        out += eol.size();
    }
    return out;
}

bool StringRowMaker::asciiRows() const
{
    const auto ascii = [](std::string_view t) {
        return std::all_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if ((kinds_ >> 4 & 1u) || !ascii(head_) || !ascii(tail_))
        return false;
    for (Code c : specials_)
        if (c >= 0x80)
            return false;
    for (const auto& insert : inserts_)
        if (!ascii(insert.second))
            return false;
    return true;
}

std::size_t StringRowMaker::maxRowBytes() const
{
    const bool wide = (kinds_ >> 4 & 1u) || !specialsOneByte_;
    std::size_t n = head_.size() + tail_.size()
                    + std::size_t(std::clamp(lenMax_, 0, kStringLenLimit)) * (wide ? 2 : 1);
    for (const auto& insert : inserts_)
        n += insert.second.size();
    return n;
}

CString StringRowMaker::makeRow()
{
    CString row;
    appendRow(row);
    return row;
}

CString StringRowMaker::randChar()
{
    return canDraw_ ? codeText(drawCode(random())) : CString();
}

namespace {

// A row being edited by inserts, split at an insert point: the bytes before
// it are the end of `out` (from `start`), the bytes after it are `rev`,
// reversed. Inserting there appends to rev, and moving the point by d bytes
// moves d bytes, so inserts at falling positions, or again and again at the
// front, cost what they add rather than the whole row each.
class RowEdit {
public:
    RowEdit(CString& out, std::size_t start, std::string& rev, std::vector<uint8_t>& starts)
        : out_(out), start_(start), rev_(rev), starts_(starts)
    {
        rev_.clear();
    }

    std::size_t size() const { return point() + rev_.size(); }

    // Offset of the character that holds byte `off` (at most size()).
    std::size_t charStart(std::size_t off)
    {
        return off == 0 || isStart(off) ? off : off - 1;
    }

    void insert(std::size_t off, std::string_view text)
    {
        moveTo(off);
        rev_.append(text.rbegin(), text.rend());
        known_ = std::min(known_, off); // the bytes from off on have changed
    }

    void finish()
    {
        out_.append(rev_.rbegin(), rev_.rend());
        rev_.clear();
    }

private:
    std::size_t point() const { return out_.size() - start_; }

    unsigned char at(std::size_t i) const
    {
        return static_cast<unsigned char>(i < point() ? out_[start_ + i] : rev_[rev_.size() - 1 - (i - point())]);
    }

    void moveTo(std::size_t off)
    {
        while (point() > off) {
            rev_.push_back(out_.back());
            out_.pop_back();
        }
        while (point() < off) {
            out_.push_back(rev_.back());
            rev_.pop_back();
        }
    }

    // GBK as charLen reads it: a lead byte and a valid trail byte make one
    // character; the last byte of the row is always one by itself.
    std::size_t charLenAt(std::size_t i) const
    {
        const unsigned char b = at(i);
        if (b < 0x81 || b == 0xFF || i + 1 >= size())
            return 1;
        const unsigned char t = at(i + 1);
        return (t >= 0x40 && t <= 0xFE && t != 0x7F) ? 2 : 1;
    }

    // Whether a character starts at byte i (0 < i <= size()). Whether one
    // starts at i depends on bytes 0 to i only, so the marks found so far
    // stay right for the bytes before the last insert point (known_).
    bool isStart(std::size_t i)
    {
        if (starts_.size() < i + 2)
            starts_.resize(std::max(i + 2, 2 * starts_.size()));
        if (known_ == 0) {
            starts_[0] = 1;
            known_ = 1;
        }
        while (known_ <= i) {
            // The character that holds byte known_ - 1 (at most two bytes).
            const std::size_t from = starts_[known_ - 1] ? known_ - 1 : known_ - 2;
            const std::size_t next = from + charLenAt(from);
            for (std::size_t k = known_; k < next; ++k)
                starts_[k] = 0;
            starts_[next] = 1; // next >= known_: the loop always moves on
            known_ = next + 1;
        }
        return starts_[i];
    }

    CString& out_;
    std::size_t start_;
    std::string& rev_;
    std::vector<uint8_t>& starts_;
    std::size_t known_ = 0; // starts_[0 .. known_) are right for the row as it is
};

} // namespace

// Positions count bytes of the row as it was on entry (n). A pair is skipped
// when its position is past n, or when an earlier pair was accepted at a
// nonzero position that is not above it. A position inside a two-byte
// character inserts in front of that character.
void StringRowMaker::insertInto(CString& out, std::size_t start)
{
    RowEdit row(out, start, insertRev_, charStarts_);
    const long long n = (long long)row.size();
    long long last = 0;
    for (const auto& [pos, text] : inserts_) {
        if (pos > n)
            continue;
        if (last != 0 && pos >= last)
            continue;
        last = pos;
        row.insert(pos <= 0 ? 0 : row.charStart(std::size_t(pos)), text);
    }
    row.finish();
}

CString makeRow(const StringSettings& s, RandomGen& random)
{
    return StringRowMaker(s, random).makeRow();
}

CString getRandChar(const StringSettings& s, RandomGen& random)
{
    return StringRowMaker(s, random).randChar();
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

CString applyInserts(const StringSettings& s, const CString& row)
{
    CString out = row;
    if (!s.insertStr.empty()) {
        RandomGen noDraws = RandomGen::scripted({}); // inserts draw nothing
        StringRowMaker(s, noDraws).insertInto(out, 0);
    }
    return out;
}

bool streamRows(const StringSettings& s, RandomGen& random, const RowSink& sink, std::size_t chunkBytes)
{
    StringRowMaker maker(s, random);
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

CString makeRun(const StringSettings& s, RandomGen& random)
{
    CString run;
    streamRows(s, random, [&run](std::string_view chunk) {
        run += chunk;
        return true;
    });
    return run;
}
