#pragma once
// Export of a page's output text: asks where to save (GBK text by default,
// or UTF-8), writes the text with CR LF line ends whole or not at all, and
// tells the user in the page's plain box when it cannot. Cancel changes
// nothing.
#include <string>

class CDialog;

// Saves text (UTF-8, as the box shows it); true when a file was written.
bool exportText(CDialog& page, const std::string& suggestedName, const std::string& text);
