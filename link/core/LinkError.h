#pragma once
// Why a port did not open: one of the header's ZRN_ERROR_ codes and a
// sentence naming the port and the cause.

#include "ZRNComDll.h"

#include <string>
#include <string_view>

namespace zrn {

struct LinkError {
    int code = ZRN_OK;
    std::string message;
};

// "PORT: WHAT" with the code's name when `detail` is empty.
LinkError MakeError(int code, std::string_view port, std::string_view detail = {});

// The code's short English name; "unknown error" for a code not in the header.
const char* ErrorName(int code);

} // namespace zrn
