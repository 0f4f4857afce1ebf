#pragma once
// The dialog templates of the program (templates.cpp).
#include "res/dialog_template.h"

extern const DialogTemplate kGeneratorDialogTemplate; // 102: main window
extern const DialogTemplate kStringPageTemplate;      // 129
extern const DialogTemplate kNumberPageTemplate;      // 130
extern const DialogTemplate kTimePageTemplate;        // 131
