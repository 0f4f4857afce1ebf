#include "ui/option_controls.h"

void assignText(CString& field, CString&& text)
{
    field = std::move(text);
}
