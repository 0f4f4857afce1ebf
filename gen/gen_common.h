#pragma once
// Helpers shared by the generators.
#include "core/texts.h"
#include "core/types.h"

// The first rule a set of settings fails: which rule (its text) and the
// message to show (GBK). Every settings record's validate gives one, or
// nothing when all rules pass; validate changes nothing.
struct Invalid {
    Text rule;
    CString message;

    // The rule with its text as the message.
    static Invalid of(Text rule) { return {rule, text(rule)}; }
};

// Seeds the C runtime's generator, as the pages do after every passing
// check. Nothing draws from rand(): every draw comes from the RandomGen the
// caller passes.
void seedCRuntime();
