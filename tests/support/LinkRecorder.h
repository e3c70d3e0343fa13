#pragma once
// Stands in for the link library while it lives: every call the program makes
// is recorded in order, opening succeeds unless a test says otherwise, the
// traffic log is never switched on. The table it replaced comes back when it
// goes, so make it before the dialog and let it outlive it.
#include "protocol/LinkApi.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// Puts back the link table it found; for tests that install their own.
class LinkSwap {
public:
    LinkSwap() : saved(Link()) {}
    ~LinkSwap() { Link() = saved; }
    LinkSwap(const LinkSwap&) = delete;
    LinkSwap& operator=(const LinkSwap&) = delete;

    // The table before this one: the real library unless another stand-in was there.
    const LinkApi& Saved() const { return saved; }

private:
    LinkApi saved;
};

class LinkRecorder : public LinkSwap {
public:
    using Commands = std::vector<std::string>;

    // The link's exports are plain functions, so what they record is static.
    // In order: "open <definition>", "close", or the command text.
    static inline Commands calls;
    // The command texts alone.
    static inline Commands sent;
    static inline std::vector<bool> logCalls;
    static inline int openResult = 1;
    static inline std::string openFailure; // the link's reason when an open fails

    LinkRecorder() {
        calls.clear();
        sent.clear();
        logCalls.clear();
        openResult = 1;
        openFailure.clear();
        Link() = {&Open, &Send, &Close, &Log, &OpenError};
    }

    // Everything since the last call.
    static Commands Take() { return std::exchange(calls, {}); }
    // The command texts since the last call.
    static Commands TakeSent() { return std::exchange(sent, {}); }

private:
    static int Open(HWND, const char* definition) {
        calls.push_back(std::string("open ") + definition);
        return openResult;
    }
    static int Send(const char* text) {
        calls.emplace_back(text);
        sent.emplace_back(text);
        return 1;
    }
    static int Close() {
        calls.emplace_back("close");
        return 1;
    }
    static int Log(bool enable) {
        logCalls.push_back(enable);
        return 0;
    }
    static int OpenError(ZrnOpenError* error) {
        const int code = openResult == 1 || openFailure.empty() ? ZRN_OK : ZRN_ERROR_REFUSED;
        if (error != nullptr)
            std::snprintf(error->message, sizeof error->message, "%s",
                          code == ZRN_OK ? "" : openFailure.c_str());
        return code;
    }
};
