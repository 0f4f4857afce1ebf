#pragma once
// The number generator: the number tab's settings, their check, and the
// making of rows (whole numbers, floating-point numbers with a fixed count of
// decimals, or a random mix) within a value range. Every draw comes from the
// RandomGen the caller passes (the program passes g_core's).
#include "core/types.h"
#include "gen/gen_common.h"
#include "gen/option_fields.h"

class RandomGen;

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The largest count of decimals a floating-point row may keep.
constexpr int kMaxDecimals = 5;

// The largest count of rows one run may make. A run is built in memory and
// shown whole in the page's output box. Measured offscreen on the build
// machine (bench/number_page_bench.cpp, Generate to rows shown, medians):
// 1 000 000 integer rows take about 0.06 s and 1 000 000 of the longest rows
// (5 decimals over the widest range, up to 14 bytes) about 0.16 s. At
// 2 000 000 the longest rows take about 0.32 s, a third of the 1 s a user
// should wait, so a machine three times slower still shows them in time, and
// the program peaks at about 400 MB. Streaming callers may raise
// NumberSettings::maxCount.
constexpr int kMaxNumberRows = 2000000;

// Fold-back step: the single-precision value nearest 0.1.
constexpr float kFoldBack = 0.1f;
// Marks "no row yet" in drawNumberRow; a drawn value with 0 to 5 decimals
// never equals it.
constexpr float kNoRowMarker = -0.123456f;

// Kinds of row, as the kind draw getRandInt(1, 2) gives them.
constexpr int kKindInt = 1;
constexpr int kKindFloat = 2;

struct NumberSettings {
    int isInt = 0;       // integer rows requested when nonzero
    int isFloat = 0;     // floating-point rows requested when nonzero
    float rangeMin = 0;  // lower bound of the value range
    float rangeMax = 0;  // upper bound of the value range
    int count = 0;       // rows in a run
    int decimals = 0;    // decimals of a floating-point row
    // Not an option: the most rows the caller takes in one run. A streaming
    // caller raises it.
    int maxCount = kMaxNumberRows;

    // The first rule the settings fail, or nothing when all pass.
    std::optional<Invalid> validate() const;
};

// The stored options of the number tab and the fields they fill, in the
// order the page reads them. The value range is never stored: it starts at
// opt::kRangeMin to opt::kRangeMax.
inline constexpr OptionField<NumberSettings> kNumberOptions[] = {
    {opt::isInt, &NumberSettings::isInt},
    {opt::isFloat, &NumberSettings::isFloat},
    {opt::count_int, &NumberSettings::count},
    {opt::xsw, &NumberSettings::decimals},
};
static_assert(fieldsMatchOptions<NumberSettings>(kNumberOptions));

// At most how many different rows the settings can give (an upper bound),
// for settings that passed validate.
uint64_t distinctRows(const NumberSettings& s);

// A bound's text: empty gives 0, otherwise atof (always with '.' as the
// decimal point) rounded to the nearest single-precision value.
float numberFieldBound(const CString& text);

// Whether floating-point draws within [rangeMin, rangeMax] with the given
// decimals (0 to 5) can ever give a value within the bounds (a value below
// rangeMin or, after its fold-back, above rangeMax is drawn again), that is,
// whether drawFloatValue ends. The bounds must be finite with rangeMin <=
// rangeMax and their scaled values within the 32-bit range. Decided exactly,
// without drawing.
bool floatRangeHasValue(float rangeMin, float rangeMax, int decimals);

// The following need settings that passed validate (or at least request a
// kind, with finite bounds that fit the 32-bit range and can give a value).

// One row, without line end.
CString drawNumberRow(const NumberSettings& s, RandomGen& random);
// Appends one row, without line end, to out.
void appendNumberRow(const NumberSettings& s, RandomGen& random, std::string& out);
// One floating-point value before its rounding to single precision.
double drawFloatValue(RandomGen& random, float rangeMin, float rangeMax, int decimals);
// A whole run: count rows, each followed by "\r\n".
CString drawNumberRows(const NumberSettings& s, RandomGen& random);

// Makes rows from one set of settings, prepared once: what a streamed run
// with its own line ends uses. Draws exactly as appendNumberRow does.
class NumberRowMaker {
public:
    NumberRowMaker(const NumberSettings& s, RandomGen& random);
    ~NumberRowMaker();
    NumberRowMaker(NumberRowMaker&&) noexcept;
    NumberRowMaker(const NumberRowMaker&) = delete;
    NumberRowMaker& operator=(const NumberRowMaker&) = delete;
    // Appends one row, without line end, to out.
    void appendRow(std::string& out);
    // Writes `rows` rows, each followed by eol, from out on, and returns the
    // end of what it wrote: the same rows as appendRow. The room from out on
    // must hold rows * (maxRowBytes() + eol.size()) + kPutSlack bytes.
    char* putRows(char* out, int64_t rows, std::string_view eol);
    static constexpr std::size_t kPutSlack = 16;
    // Whether every row is ASCII (number rows always are).
    bool asciiRows() const { return true; }
    // The most bytes one row can take (an upper estimate).
    std::size_t maxRowBytes() const;

private:
    struct Plan;
    std::unique_ptr<Plan> plan_;
    RandomGen* random_;
};

// A whole run handed to sink in pieces of about chunkBytes bytes, each
// ending with a whole row, in the order drawn. Nothing of the run is kept.
using NumberSink = std::function<void(std::string_view chunk)>;
constexpr std::size_t kNumberChunkBytes = 64 * 1024;
void streamNumberRows(const NumberSettings& s, RandomGen& random, const NumberSink& sink,
                      std::size_t chunkBytes = kNumberChunkBytes);
