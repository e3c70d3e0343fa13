#include "protocol/LinkApi.h"

LinkApi& Link() {
    static LinkApi api{&fnZrnOpen, &fnZrnSend, &fnZrnClose, &fnZrnLog, &fnZrnOpenError};
    return api;
}
