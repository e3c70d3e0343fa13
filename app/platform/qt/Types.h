#pragma once
// Qt's own types serve as the backend-neutral ones.
#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

using Point = QPoint;
using Size = QSize;
using Rect = QRect;
using Bitmap = QPixmap;
using Icon = QIcon;
using Colour = QColor;
using CWnd = QWidget; // the owner of a dialog or message box
