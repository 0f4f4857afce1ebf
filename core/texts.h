#pragma once
// The interface texts of the generators and pages, each once, written as
// UTF-8 and handed out as GBK (converted once, on first use). Texts of the
// dialog layer's own boxes and dialogs live with the layer.
#include "core/types.h"

#include <initializer_list>
#include <string>

enum class Text {
    // number rules
    NoNumberKind,
    DecimalsInvalid,
    RangeInvalid,
    CountInvalid,
    RangeNotFinite,
    IntRangeTooWide,
    FloatRangeTooWide, // %1 decimals, %2 the largest magnitude
    NoFloatValue,
    TooManyRows,       // %1 the most rows
    // string rules
    NoStringKind,
    LengthInvalid,
    LengthTooLong,
    AllExcluded,
    // time rules
    ProgramInvalid,
    IntervalInvalid,
    // pages
    Generated,
    Generating,
    GeneratedToFile,
    ExportWhileGenerating,
    NothingToExport,
    ExportNeedsUtf8,
    ExportFailed,
    FieldNotGbk,       // %1 the field's label, %2 the character, %3 its code point
    ProgramNotGbk,     // %1 the code point
    ExportCaption,
    StringExportName,
    NumberExportName,
    TimeExportName,
    LabelHead,
    LabelTail,
    LabelInsert,
    LabelCharSpec,
    LabelCharExclude,
    TabString,
    TabNumber,
    TabTime,
    DescString,
    DescNumber,
    DescTime,
    // the option store
    StoreSetAside,       // %1 the store, %2 its kept copy
    StoreSetAsideNoCopy, // %1 the store
    Count_ // not a text
};

// The text as written (UTF-8).
const char* utf8(Text t);
// The text in GBK.
const CString& text(Text t);
// text (GBK or UTF-8) with %1, %2, ... replaced by args in order.
std::string fill(const std::string& text, std::initializer_list<std::string> args);
