// Build-time tool: renders the artwork drawn in code into the files ZRNcom.exe
// carries as resources (the mingw build has no Qt to draw them), or checks
// that the committed files still show what the artwork draws.
//   zrncom_win32_images write DIR    DIR/ZRNcom.ico, row_active.bmp, row_inactive.bmp, banner.bmp
//   zrncom_win32_images check DIR    fails when a file differs, pixel by pixel
#include "resources/Resource.h"
#include "resources/Resources.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

// The icon's sizes: the small and large shell icons, the title bar at 150 %,
// the large Explorer view and the jumbo one (stored as PNG, as Windows does).
constexpr int kIconSizes[] = {16, 24, 32, 48, 256};
constexpr int kPngFrom = 256;
constexpr QSize kRowImageSize(16, 16); // the report view's small image list
// The banner's 246 x 31 dialog units at the dialog font's 6 x 13 base units.
constexpr QSize kBannerSize(369, 50);

struct BitmapFile {
    const char* name;
    int id;
    QSize size;
};
constexpr BitmapFile kBitmaps[] = {
    {"row_active.bmp", IDB_ROW_ACTIVE, kRowImageSize},
    {"row_inactive.bmp", IDB_ROW_INACTIVE, kRowImageSize},
    {"banner.bmp", IDB_BANNER, kBannerSize},
};

void Put16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}
void Put32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}
quint32 Get32(const QByteArray& in, qsizetype at) {
    return qFromLittleEndian<quint32>(in.constData() + at);
}
quint16 Get16(const QByteArray& in, qsizetype at) {
    return qFromLittleEndian<quint16>(in.constData() + at);
}

void PutInfoHeader(QByteArray& out, int width, int height, int bits, quint32 imageSize) {
    Put32(out, 40);
    Put32(out, static_cast<quint32>(width));
    Put32(out, static_cast<quint32>(height));
    Put16(out, 1);
    Put16(out, static_cast<quint16>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi, as resource editors write
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}

// A 24-bit bottom-up Windows bitmap file.
QByteArray BmpFile(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int stride = (image.width() * 3 + 3) & ~3;
    const quint32 imageSize = static_cast<quint32>(stride * image.height());
    QByteArray out;
    out.append("BM");
    Put32(out, 14 + 40 + imageSize);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, image.width(), image.height(), 24, imageSize);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray line(stride, '\0');
        for (int x = 0; x < image.width(); ++x) {
            line[3 * x] = static_cast<char>(qBlue(row[x]));
            line[3 * x + 1] = static_cast<char>(qGreen(row[x]));
            line[3 * x + 2] = static_cast<char>(qRed(row[x]));
        }
        out.append(line);
    }
    return out;
}

// An icon image as Windows stores it: 32-bit BGRA bottom-up, then the AND
// mask (set where fully transparent), the height counting both.
QByteArray IconDib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int size = image.width();
    const int maskStride = ((size + 31) / 32) * 4;
    QByteArray pixels, mask;
    for (int y = size - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray maskLine(maskStride, '\0');
        for (int x = 0; x < size; ++x) {
            Put32(pixels, row[x]); // 0xAARRGGBB little-endian is B, G, R, A
            if (qAlpha(row[x]) == 0)
                maskLine[x / 8] = static_cast<char>(maskLine[x / 8] | (0x80 >> (x % 8)));
        }
        mask.append(maskLine);
    }
    QByteArray out;
    PutInfoHeader(out, size, 2 * size, 32, static_cast<quint32>(pixels.size() + mask.size()));
    return out + pixels + mask;
}

QByteArray Png(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

QImage IconImage(int size) {
    return LoadIconPixmap(IDR_MAINFRAME, QSize(size, size))
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

QByteArray IcoFile() {
    std::vector<QByteArray> images;
    for (int size : kIconSizes)
        images.push_back(size >= kPngFrom ? Png(IconImage(size)) : IconDib(IconImage(size)));
    QByteArray out;
    Put16(out, 0);
    Put16(out, 1); // an icon
    Put16(out, static_cast<quint16>(images.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = kIconSizes[i];
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append('\0'); // no palette
        out.append('\0');
        Put16(out, 1);  // planes
        Put16(out, 32); // bits per pixel
        Put32(out, static_cast<quint32>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    return out;
}

// The icon's images, read back the way they were written; empty when the file
// is not one this tool wrote.
std::vector<QImage> ReadIco(const QByteArray& data) {
    std::vector<QImage> result;
    if (data.size() < 6 || Get16(data, 2) != 1)
        return result;
    const int count = Get16(data, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = 6 + 16 * i;
        if (entry + 16 > data.size())
            return {};
        const quint32 length = Get32(data, entry + 8);
        const quint32 offset = Get32(data, entry + 12);
        if (offset + length > static_cast<quint64>(data.size()))
            return {};
        const QByteArray image = data.mid(offset, length);
        if (image.startsWith("\x89PNG")) {
            result.push_back(QImage::fromData(image, "PNG").convertToFormat(QImage::Format_ARGB32));
            continue;
        }
        const int size = static_cast<int>(Get32(image, 4));
        if (size <= 0 || size > 256 || image.size() < 40 + 4 * size * size)
            return {};
        QImage decoded(size, size, QImage::Format_ARGB32);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                decoded.setPixel(x, size - 1 - y, Get32(image, 40 + 4 * (y * size + x)));
        result.push_back(decoded);
    }
    return result;
}

bool Write(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool Same(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

int Check(const QString& dir) {
    int differences = 0;
    const auto report = [&](const char* name) {
        std::fprintf(stderr, "%s differs from the artwork: run zrncom_win32_images write %s\n",
                     name, qPrintable(dir));
        ++differences;
    };
    QFile ico(dir + "/ZRNcom.ico");
    const std::vector<QImage> icons =
        ico.open(QIODevice::ReadOnly) ? ReadIco(ico.readAll()) : std::vector<QImage>();
    bool iconSame = icons.size() == std::size(kIconSizes);
    for (std::size_t i = 0; iconSame && i < icons.size(); ++i)
        iconSame = Same(icons[i], IconImage(kIconSizes[i]));
    if (!iconSame)
        report("ZRNcom.ico");
    for (const BitmapFile& bitmap : kBitmaps) {
        const QImage committed(dir + "/" + bitmap.name, "BMP");
        const QImage drawn = LoadBitmap(bitmap.id, bitmap.size).toImage();
        if (committed.isNull() || !Same(committed.convertToFormat(QImage::Format_RGB32),
                                        drawn.convertToFormat(QImage::Format_RGB32)))
            report(bitmap.name);
    }
    return differences == 0 ? 0 : 1;
}

int WriteAll(const QString& dir) {
    bool ok = Write(dir + "/ZRNcom.ico", IcoFile());
    for (const BitmapFile& bitmap : kBitmaps)
        ok =
            Write(dir + "/" + bitmap.name, BmpFile(LoadBitmap(bitmap.id, bitmap.size).toImage())) &&
            ok;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc == 3 ? argv[1] : "";
    if (mode != "write" && mode != "check") {
        std::fputs("usage: zrncom_win32_images write|check DIR\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[2]);
    return mode == "write" ? WriteAll(dir) : Check(dir);
}
