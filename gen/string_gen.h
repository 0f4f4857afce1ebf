#pragma once
// The string generator: the settings of the string tab, their check, and the
// making of rows of random text (passwords, user names, domain names, phone
// numbers). A row is a drawn part of random length, from up to four kinds of
// character, with some characters replaced by special characters, wrapped in
// a head and a tail, with fixed texts inserted at given byte positions.
//
// Text is GBK bytes; lengths of the drawn part count characters, positions of
// inserts count bytes. Characters are always handled whole: a Chinese
// character is never split. Every random integer comes from the RandomGen
// the caller passes (the program passes g_core's), in a fixed order, so a
// scripted source gives exact rows.
#include "core/types.h"
#include "gen/gen_common.h"
#include "gen/option_fields.h"

class RandomGen;

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The most characters the drawn part of a row may hold. Larger lengths are
// refused by validation: a run of up to 1000 rows is held in the output box
// at once, and 1000 rows of 100000 Chinese characters are already 200 MB.
inline constexpr int kStringLenLimit = 100000;

struct StringSettings {
    int isUCase = 0;    // draw A to Z
    int isLCase = 0;    // draw a to z
    int isNum = 0;      // draw 0 to 9
    int isHz = 0;       // draw level-1 GB2312 Chinese characters
    int isCharSpec = 0; // place characters of charSpec into the drawn part
    int isCharEx = 0;   // keep the characters of charExclude out of the drawn part
    CString head;       // in front of every row
    CString tail;       // after every row
    CString insertStr;  // position|text|position|text..., positions falling
    CString charSpec;
    CString charExclude;
    int lenMin = 0;     // fewest drawn characters in a row
    int lenMax = 0;     // most drawn characters in a row
    int count = 0;      // rows in a run

    // The first rule the settings fail, or nothing when all pass. Spaces in
    // the two lists do not count (forRun drops them).
    std::optional<Invalid> validate() const;
    // The settings a run uses: the spaces leave charSpec and charExclude.
    StringSettings forRun() const;
};

// The stored options of the string tab and the fields they fill, in the
// order the page reads them (the lists before the other texts, so a text GBK
// cannot hold is reported in that order).
inline constexpr OptionField<StringSettings> kStringOptions[] = {
    {opt::isUCase, &StringSettings::isUCase},
    {opt::isLCase, &StringSettings::isLCase},
    {opt::isNum, &StringSettings::isNum},
    {opt::isHz, &StringSettings::isHz},
    {opt::isCharSpec, &StringSettings::isCharSpec},
    {opt::isCharEx, &StringSettings::isCharEx},
    {opt::charSpec, &StringSettings::charSpec},
    {opt::charExclude, &StringSettings::charExclude},
    {opt::head, &StringSettings::head},
    {opt::tail, &StringSettings::tail},
    {opt::insertStr, &StringSettings::insertStr},
    {opt::len_min_str, &StringSettings::lenMin},
    {opt::len_max_str, &StringSettings::lenMax},
    {opt::count_str, &StringSettings::count},
};
static_assert(fieldsMatchOptions<StringSettings>(kStringOptions));

// At most how many different rows the settings can give (saturating): head,
// tail and inserts are fixed, so only the drawn part varies.
uint64_t distinctRows(const StringSettings& s);

// One row (without the line end).
CString makeRow(const StringSettings& s, RandomGen& random);
// One drawn character: one byte, or two for a Chinese character. Returns the
// empty text if no character can be drawn (settings that validate always can).
CString getRandChar(const StringSettings& s, RandomGen& random);
// Whether a drawn candidate is kept out by charExclude (whole characters).
bool isExcluded(const StringSettings& s, std::string_view candidate);
// row with the texts of insertStr inserted.
CString applyInserts(const StringSettings& s, const CString& row);

// Makes rows from one set of settings, with the lists parsed once. This is
// what a run uses; the free functions above build one for each call. Settings
// that have not passed validate are still safe: a length beyond
// kStringLenLimit is cut to it, and nothing is drawn when no character can be.
class StringRowMaker {
public:
    StringRowMaker(const StringSettings& s, RandomGen& random);

    // Appends one row (without the line end) to out.
    void appendRow(CString& out);
    // Writes `rows` rows, each followed by eol, from out on, and returns the
    // end of what it wrote: the same rows as appendRow. The room from out on
    // must hold rows * (maxRowBytes() + eol.size()) bytes.
    char* putRows(char* out, int64_t rows, std::string_view eol);
    static constexpr std::size_t kPutSlack = 0;
    // Whether every row is ASCII: no Chinese characters drawn, and no byte
    // of 0x80 or above among the specials, head, tail and inserts.
    bool asciiRows() const;
    // The most bytes one row can take.
    std::size_t maxRowBytes() const;
    CString makeRow();

    // Pieces of a row, each drawing as its free function does.
    CString randChar();
    // Makes the inserts on the row that starts at offset `start` of out and
    // runs to its end.
    void insertInto(CString& out, std::size_t start);

private:
    // A character as a number: a single byte b is b, a two-byte character is
    // (first << 8) | second, so every two-byte code is above 0xFF.
    using Code = uint16_t;

    RandomGen& random() const { return *random_; }
    void drawBytes(RandomGen& random, char* __restrict out, int len);
    Code drawCode(RandomGen& random);
    void planDirect();
    void planByteTable();
    Code drawDirect(RandomGen& random);
    bool excluded(Code c) const;
    // Replaces up to len / 3 of items[0 .. len) by special characters;
    // positions at or past size are drawn but change nothing.
    template <class T>
    void placeSpecials(RandomGen& random, T* items, std::size_t size, int len);

    RandomGen* random_;
    int lenMin_, lenMax_;
    unsigned kinds_ = 0;            // bit k set: kind k (1..4) is on
    bool canDraw_ = false;          // some kind that is on has a character left
    bool exclOn_ = false;
    uint8_t exclByte_[256] = {};    // 1: this one-byte character is excluded
    std::vector<Code> exclHz_;      // excluded two-byte characters, sorted
    std::vector<uint8_t> exclLevel1_; // 1: this level-1 character is excluded (by table row and column)
    // When the exclusions keep out nearly everything, a character is drawn
    // once among the kept ones: directCodes_ in a fixed order, directUpTo_
    // their weights summed up to each. Both empty otherwise.
    std::vector<Code> directCodes_;
    std::vector<int> directUpTo_;
    // One-byte kinds only: the kept characters, each repeated by its weight
    // in the draw loop (at most 390 bytes).
    std::string byteTable_;
    std::vector<Code> specials_;    // special characters (empty: none placed)
    bool specialsOneByte_ = true;
    CString head_, tail_;
    std::vector<std::pair<int, CString>> inserts_; // up to the first empty position
    std::vector<Code> scratch_;
    CString row_;                   // a row with inserts, made before it is copied
    std::string insertRev_;         // the row after the insert point, reversed
    std::vector<uint8_t> charStarts_;
};

// A run: settings.count rows, each followed by CR LF, handed to sink in
// chunks of about chunkBytes, so a run of any count needs bounded memory. The
// sink returns false when it cannot take a chunk (a failed write, say); the
// run stops there and false is returned. True once every row has been taken.
using RowSink = std::function<bool(std::string_view chunk)>;
bool streamRows(const StringSettings& s, RandomGen& random, const RowSink& sink, std::size_t chunkBytes = 64 * 1024);
// A whole run as one text, for runs small enough to show at once.
CString makeRun(const StringSettings& s, RandomGen& random);
