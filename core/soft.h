#pragma once
// tagSoft: the product's identification texts, shown by About.

// Four NUL-terminated GBK texts: 51, 101, 101 and 101 bytes (354 in all).
struct tagSoft {
    char name[51];
    char maker[101];
    char copyright[101];
    char description[101];
};
static_assert(sizeof(tagSoft) == 354, "tagSoft is a 354-byte block");

// Operation codes of CCore::uu.
enum tagOprType : int {
    OPR_ABOUT = 4, // present the About information
};

// Fills the four texts (truncated to their fields, never mid-character).
void fillSoft(tagSoft* soft);
