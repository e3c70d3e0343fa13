// The program's pictures on Windows: the icon and bitmaps compiled into
// ZRNcom.exe, rendered from the artwork the Qt backend draws (app/win32/res).
#include "platform/ResourceImages.h"
#include "resources/Resource.h"
#include "resources/Resources.h"

Icon ProgramIcon() {
    return LoadIconResource(IDR_MAINFRAME, Size(32, 32));
}

Bitmap LoadBitmap(int id, Size size) {
    return LoadBitmapResource(id, size);
}

Bitmap LoadIconPixmap(int id, Size size) {
    return id == IDR_MAINFRAME ? LoadIconAsBitmap(id, size) : Bitmap();
}
