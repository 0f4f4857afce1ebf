#pragma once
// Every interface text of the program, each once: the generators' rules, the
// pages, the dialog layer's captions and file messages, the option store and
// kelvane-cli's own messages. Written as UTF-8 and handed out as GBK
// (converted once, on first use). Each id has exactly one text; a missing or
// doubled one fails the build (texts.cpp).
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
    // the identification record (About)
    SoftName,
    SoftDescription,
    SoftMaker,
    SoftCopyright,
    // the dialog layer: box captions, About, the save dialog, controls
    WarningCaption,
    AboutCaption,
    AboutVersion,      // %1 the version
    OkButton,
    GbkTextFilter,
    Utf8TextFilter,
    DigitsOnly,
    NoDisplay,
    DisplayUnreachable,
    // file messages: %1 the file, %2 the system's reason
    FileCreate,
    FileWrite,
    FileCommit,
    OutputRemove,
    OutputCreate,
    OutputOpen,
    OutputWrite,
    OutputClose,
    SourceOpen,
    SourceRead,
    SourceNotGbk,      // %1 the file
    // the option store
    StoreSetAside,       // %1 the store, %2 its kept copy
    StoreSetAsideNoCopy, // %1 the store
    // kelvane-cli
    ArgNotGbk,         // %1 the option, %2 the character
    ArgOutOfRange,     // %1 the option, %2 its value
    ArgEmptyNotInt,    // %1 the option
    ArgNotInt,         // %1 the option, %2 its value
    ArgFormEmpty,      // %1 the option, %2 its form, %3 an example
    ArgFormBad,        // ... %4 its value
    ArgEmpty,          // %1 the option
    FormLength,
    FormInterval,
    OutputFailed,      // %1 the reason
    FileOpenFailed,    // %1 the file, %2 the reason
    FileWriteFailed,   // %1 the file, %2 the reason
    Progress,          // %1 rows done, %2 rows in all, %3 percent
    UniqueTooFew,      // %1 the most distinct rows, %2 the rows asked for
    UniqueExhausted,   // %1 the rows made
    GenerateFailedWhy, // %1 the reason
    GenerateFailed,
    PartForm,          // %1 what was given instead
    PartFormEmpty,
    PartNeedsSeed,
    PartNotUnique,
    Count_ // not a text
};

// The text as written (UTF-8).
const char* utf8(Text t);
// The text in GBK.
const CString& text(Text t);
// text (GBK or UTF-8) with %1, %2, ... replaced by args in order.
std::string fill(const std::string& text, std::initializer_list<std::string> args);
// utf8(t) with its placeholders filled.
std::string utf8(Text t, std::initializer_list<std::string> args);
