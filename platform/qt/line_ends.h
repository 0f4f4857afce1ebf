#pragma once
#include <QString>

// text with every line end (LF, CR or CR LF) as CR LF, in one pass.
QString withCrLf(const QString& text);
