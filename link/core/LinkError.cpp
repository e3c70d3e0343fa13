#include "LinkError.h"

namespace zrn {

const char* ErrorName(int code) {
    switch (code) {
    case ZRN_OK:
        return "no error";
    case ZRN_ERROR_NO_SUCH_PORT:
        return "no such port";
    case ZRN_ERROR_PERMISSION:
        return "permission denied";
    case ZRN_ERROR_BUSY:
        return "the port is busy";
    case ZRN_ERROR_NOT_SERIAL:
        return "not a serial port";
    case ZRN_ERROR_REFUSED:
        return "connection refused";
    case ZRN_ERROR_UNKNOWN_HOST:
        return "unknown host";
    case ZRN_ERROR_TIMED_OUT:
        return "timed out";
    case ZRN_ERROR_LOST:
        return "connection lost";
    case ZRN_ERROR_BAD_NAME:
        return "not a port name";
    case ZRN_ERROR_SETTING_REFUSED:
        return "the gateway refused the line settings";
    case ZRN_ERROR_PROTOCOL:
        return "the gateway does not speak RFC 2217";
    case ZRN_ERROR_NO_MEMORY:
        return "out of memory";
    case ZRN_ERROR_SYSTEM:
        return "system error";
    default:
        return "unknown error";
    }
}

LinkError MakeError(int code, std::string_view port, std::string_view detail) {
    LinkError error{code, std::string(port)};
    error.message.append(": ").append(detail.empty() ? std::string_view(ErrorName(code)) : detail);
    return error;
}

} // namespace zrn
