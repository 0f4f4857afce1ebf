#include "platform/qt/plain_text.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>
#include <vector>

namespace {

// A text laid out for a QTextDocument in blocks of several lines: inside a
// block the lines are parted by line separators (U+2028), which the box shows
// as line breaks and hands back as '\n'.
struct PackedText {
    QString text;
    std::vector<int> blockLines; // the lines of each block, in order
};

bool endsBlockByItself(QChar c)
{
    // Characters a document turns into a block end, or reads back as '\n'.
    switch (c.unicode()) {
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
    case 0xfdd0: // beginning of frame
    case 0xfdd1: // end of frame
        return true;
    default:
        return false;
    }
}

// The text with its line ends (CR LF, LF or CR) as line separators, except
// every linesPerBlock-th and the last, which stay block ends ('\n'). Nothing
// when the text holds a character that would end a block by itself.
std::optional<PackedText> packLines(QStringView text, int linesPerBlock)
{
    PackedText out;
    out.text.resize(text.size());
    QChar* o = out.text.data();
    qsizetype lastEnd = -1; // where the last line end starts
    for (qsizetype i = text.size(); i-- > 0;) {
        const QChar c = text[i];
        if (c == u'\n' || c == u'\r') {
            lastEnd = (c == u'\n' && i > 0 && text[i - 1] == u'\r') ? i - 1 : i;
            break;
        }
    }
    int lines = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            const bool last = i == lastEnd;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (last || lines == linesPerBlock) {
                *o++ = u'\n';
                out.blockLines.push_back(lines);
                lines = 1;
            } else {
                *o++ = QChar(QChar::LineSeparator);
                ++lines;
            }
        } else if (endsBlockByItself(c)) {
            return std::nullopt;
        } else {
            *o++ = c;
        }
    }
    out.blockLines.push_back(lines);
    out.text.truncate(o - out.text.constData());
    return out;
}

} // namespace

void setPlainTextFast(QPlainTextEdit& box, QStringView text, int linesPerBlock)
{
    // A document spends microseconds on each block, so a million one-line
    // blocks take seconds; blocks of linesPerBlock lines take a fraction of
    // that and show the same lines. Blocks not yet laid out are given their
    // line count here, inside the same edit, so that the scroll bar spans
    // every line from the start and the layout hears of the change once.
    // A wrapping box would break lines of its own: it gets the plain way.
    auto packed = box.lineWrapMode() == QPlainTextEdit::NoWrap ? packLines(text, linesPerBlock) : std::nullopt;
    if (!packed) {
        box.setPlainText(text.toString());
        return;
    }
    QTextDocument* doc = box.document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false); // no undo step holding the old text
    QTextCursor edit(doc);
    edit.beginEditBlock();
    edit.select(QTextCursor::Document);
    edit.removeSelectedText();
    edit.insertText(packed->text);
    if (doc->blockCount() == int(packed->blockLines.size())) {
        int i = 0;
        for (QTextBlock b = doc->firstBlock(); b.isValid(); b = b.next())
            b.setLineCount(packed->blockLines[std::size_t(i++)]);
    }
    edit.endEditBlock();
    // The layout announces a new size only when the count of blocks changes;
    // lines that came within blocks it has not laid out are announced here.
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
    doc->setUndoRedoEnabled(undo);
    box.setTextCursor(QTextCursor(doc)); // caret and view at the start
}
