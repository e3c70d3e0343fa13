#pragma once
// Pictures compiled into the program as resources (Windows: icon 128 and
// bitmaps 133, 134, 158 of ZRNcom.rc), at the size asked for: a resource of
// another size is stretched. Null when there is no such resource.
#include "platform/Types.h"

Bitmap LoadBitmapResource(int id, Size size);
Icon LoadIconResource(int id, Size size);
// The icon drawn on the dialog face's colour, for a picture control that
// shows bitmaps.
Bitmap LoadIconAsBitmap(int id, Size size);
