// Stand-in exports until the link library is built here: no port ever opens.
#include "ZRNComDll.h"

int fnZrnOpen(HWND, const char*) {
    return 0;
}
int fnZrnSend(const char*) {
    return 1;
}
int fnZrnClose(void) {
    return 1;
}
int fnZrnLog(bool) {
    return 0;
}
