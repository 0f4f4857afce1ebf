#pragma once
// Setting a large text into a plain-text box quickly.
#include <QStringView>

class QPlainTextEdit;

// Replaces the box's text with text, as setPlainText does, without an undo
// step, leaving the caret and view at the start. A document spends
// microseconds on each block, so the lines are kept linesPerBlock to a block,
// parted by line separators that the box shows as line breaks and hands back
// as '\n': a million rows take milliseconds instead of seconds. Text holding
// separators of its own, or a box that wraps lines, is set the plain way.
void setPlainTextFast(QPlainTextEdit& box, QStringView text, int linesPerBlock = 64);
