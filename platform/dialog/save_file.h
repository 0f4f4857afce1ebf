#pragma once
// Saving a page's text: a replaceable save-file dialog (tests install a
// scripted one), text to bytes in the chosen encoding, and a whole-or-nothing
// write.
#include "platform/files/whole_file.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QWidget;

enum class TextEncoding { Gbk, Utf8 };

struct SaveTarget {
    QString path;
    TextEncoding encoding;
};

class SaveFileService {
public:
    virtual ~SaveFileService() = default;
    // Asks for a file to save to; nothing when the user cancels. The real
    // dialog offers "GBK 文本 (*.txt)" (the default) and "UTF-8 文本 (*.txt)",
    // adds ".txt" to a name without a suffix and confirms overwriting.
    virtual std::optional<SaveTarget> ask(QWidget* owner, const QString& caption, const QString& suggestedName) = 0;

    static SaveFileService& current();
    // Installs a service (null: the real dialog); returns the previous one.
    static SaveFileService* install(SaveFileService* service);
};

// The bytes of text in the encoding; nothing when GBK cannot hold the text
// (gbk::firstUnencodable names the character for a message).
std::optional<QByteArray> encodeText(const QString& text, TextEncoding encoding);

// Writes bytes to path as a whole: the file holds either all of them or, when
// anything fails, what it held before (a device or a FIFO is written
// straight through, never replaced). Returns the empty text on success,
// otherwise a message for the user naming the path and the system's reason.
QString writeFileWhole(const QString& path, const QByteArray& bytes);

// The message for a failed write to target (copied from source), with the
// system's reason; the empty text when nothing failed.
QString fileFailureText(const FileFailure& failure, const QString& target, const QString& source = QString());

// A path as the file system takes it.
std::string fileSystemPath(const QString& path);
