#pragma once
// The string tab's output file: a run of more than 1000 rows is written to it
// row by row, and Export copies it (GBK) or converts it (UTF-8) into the file
// the user picks. Neither ever holds the run in memory as a whole.
//
// Failures come back as a message for the plain box that names the file;
// the empty text means success.
#include "core/types.h"
#include "platform/dialog/save_file.h"

#include <QString>

#include <cstddef>

class CDialog;
struct StringSettings;

// Removes the file at path (GBK). A missing file is no error.
QString removeOutputFile(const CString& path);

// Writes the run of s to path: the file is created when missing and
// truncated, then every row is written followed by CR LF, in chunks of about
// chunkBytes. On failure the partial file is removed, so no incomplete run
// is left to be exported.
QString writeOutputFile(const CString& path, const StringSettings& s, std::size_t chunkBytes = 256 * 1024);

// Copies the GBK rows of the file at source into target, converted to the
// target's encoding, whole or not at all: the target keeps what it held
// before unless every byte was written.
QString copyOutputFile(const QString& source, const SaveTarget& target);

// Export of the output file from page: asks where to save, copies, and shows
// a failure in the page's plain box. Returns true when a file was written.
bool exportOutputFile(CDialog& page, const CString& path, const QString& suggestedName);
