// Our own artwork, drawn in code so the program carries no image files.
#include "resources/Resource.h"
#include "resources/Resources.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kMagenta(255, 0, 255); // the image lists' transparent colour
const QColor kNavy(18, 52, 96);
const QColor kTeal(0, 128, 128);

// A sampling bottle under a drop: the program icon.
QPixmap DrawProgramIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient background(0, 0, 32, 32);
    background.setColorAt(0, kTeal);
    background.setColorAt(1, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    QPainterPath drop;
    drop.moveTo(16, 4);
    drop.cubicTo(22, 12, 23, 15, 23, 17);
    drop.arcTo(QRectF(9, 10, 14, 14), 0, -180);
    drop.cubicTo(9, 15, 10, 12, 16, 4);
    p.setBrush(QColor(170, 225, 255));
    p.drawPath(drop);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 25, 18, 3));
    return pixmap;
}

// Row images: a green running mark and a grey paused mark, on magenta.
QPixmap DrawRowImage(bool active, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(kMagenta);
    QPainter p(&pixmap);
    const double s = size.width() / 16.0;
    p.scale(s, s);
    p.setPen(QPen(active ? QColor(0, 100, 0) : QColor(90, 90, 90), 1));
    p.setBrush(active ? QColor(40, 170, 60) : QColor(170, 170, 170));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    if (active) {
        const QPointF play[] = {{6, 4.5}, {6, 11.5}, {11.5, 8}};
        p.drawPolygon(play, 3);
    } else {
        p.drawRect(QRectF(5, 5, 2, 6));
        p.drawRect(QRectF(9, 5, 2, 6));
    }
    return pixmap;
}

QPixmap DrawBanner(QSize size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, size.width(), 0);
    background.setColorAt(0, kNavy);
    background.setColorAt(1, kTeal);
    p.fillRect(pixmap.rect(), background);
    // A sampling curve along the bottom.
    QPainterPath wave;
    const double h = size.height();
    wave.moveTo(0, h * 0.8);
    for (int x = 0; x <= size.width(); x += 8)
        wave.lineTo(x, h * (0.78 + 0.08 * ((x / 8) % 2 ? 1 : -1)));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.5));
    p.drawPath(wave);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setBold(true);
    title.setPixelSize(std::max(8, static_cast<int>(h * 0.5)));
    title.setLetterSpacing(QFont::PercentageSpacing, 110);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(h * 0.3, 0, size.width(), h * 0.72), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("QUORVANEX"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(std::max(7, static_cast<int>(h * 0.26)));
    p.setFont(subtitle);
    p.setPen(QColor(210, 235, 245));
    p.drawText(QRectF(0, 0, size.width() - h * 0.3, h * 0.72), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("ZRN field sampling"));
    return pixmap;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    icon.addPixmap(DrawProgramIcon(32));
    icon.addPixmap(DrawProgramIcon(16));
    return icon;
}

QPixmap LoadIconPixmap(int id, QSize size) {
    return id == IDR_MAINFRAME ? DrawProgramIcon(size.width()) : QPixmap();
}

QPixmap LoadBitmap(int id, QSize size) {
    switch (id) {
    case IDB_ROW_ACTIVE:
        return DrawRowImage(true, size);
    case IDB_ROW_INACTIVE:
        return DrawRowImage(false, size);
    case IDB_BANNER:
        return DrawBanner(size);
    default:
        return {};
    }
}
