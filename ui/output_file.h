#pragma once
// The string tab's output file: a run of more than 1000 rows is written to it
// row by row, and Export copies it (GBK) or converts it (UTF-8) into the file
// the user picks. Neither ever holds the run in memory as a whole.
#include "core/types.h"
#include "platform/save_file.h"

#include <cstddef>
#include <string>

class CDialog;
struct StringSettings;

// Removes the file at path (GBK). A missing file is no error.
sys::FileResult removeOutputFile(const CString& path);

// Writes the run of s to path (GBK): the file is created when missing
// (through the core) and truncated, then every row is written followed by
// CR LF, in chunks of about chunkBytes. On failure the partial file is
// removed, so no incomplete run is left to be exported.
sys::FileResult writeOutputFile(const CString& path, const StringSettings& s, std::size_t chunkBytes = 256 * 1024);

// Export of the output file from page: asks where to save, copies, and shows
// a failure in the page's plain box. Returns true when a file was written.
bool exportOutputFile(CDialog& page, const CString& path, const std::string& suggestedName);
