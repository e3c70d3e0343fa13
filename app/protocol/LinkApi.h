#pragma once
// The four exports of the link library, called through one table so tests
// can watch what the dialog hands to the link.
#include "ZRNComDll.h"

struct LinkApi {
    int (*open)(HWND hwnd, const char* definition);
    int (*send)(const char* text);
    int (*close)();
    int (*log)(bool enable);
    // Why the last open failed; a stand-in may leave it out (null).
    int (*openError)(ZrnOpenError* error) = nullptr;
};

// The real library unless a test has replaced it.
LinkApi& Link();
