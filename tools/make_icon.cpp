// Makes the application icon from its text sources:
//   make_icon OUTDIR 32x32-2.txt 32x32-16.txt 16x16-16.txt
// writes OUTDIR/tavrel.ico (the three images, in that order, as 1- and 4-bit bitmaps with masks)
// and OUTDIR/tavrel-32.png and tavrel-16.png (the 16-colour images, for the desktop's icon theme).
//
// A source is a comment, a legend of one letter and one colour name per line, a blank line, then
// one text line per pixel row; '.' is transparent. Colours are those of the 16-colour palette.

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QTextStream>
#include <QtEndian>

#include <cstdio>
#include <vector>

namespace {

// The standard 16-colour palette, in its usual order.
const std::vector<std::pair<QString, QRgb>> vga16 = {
    {"black", 0x000000}, {"maroon", 0x800000},  {"green", 0x008000}, {"olive", 0x808000},
    {"navy", 0x000080},  {"purple", 0x800080},  {"teal", 0x008080},  {"silver", 0xC0C0C0},
    {"gray", 0x808080},  {"red", 0xFF0000},     {"lime", 0x00FF00},  {"yellow", 0xFFFF00},
    {"blue", 0x0000FF},  {"fuchsia", 0xFF00FF}, {"aqua", 0x00FFFF},  {"white", 0xFFFFFF},
};

struct Image
{
    int size = 0;
    std::vector<QRgb> palette; // 2 or 16 entries
    std::vector<int> pixels; // palette index per pixel, -1 where transparent, top row first
};

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "make_icon: %s\n", qPrintable(message));
    std::exit(1);
}

Image read(const QString &path, int colours)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(path + ": " + file.errorString());
    QTextStream in(&file);
    QMap<QChar, QString> legend;
    QStringList rows;
    bool inRows = false;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith('#'))
            continue;
        if (!inRows && line.isEmpty()) {
            inRows = true;
        } else if (!inRows) {
            const QStringList parts = line.split(' ');
            if (parts.size() != 2 || parts[0].size() != 1)
                fail(path + ": bad legend line: " + line);
            legend.insert(parts[0][0], parts[1]);
        } else if (!line.isEmpty()) {
            rows << line;
        }
    }

    Image image;
    image.size = int(rows.size());
    if (colours == 2) {
        image.palette = {0x000000, 0xFFFFFF};
    } else {
        for (const auto &[name, rgb] : vga16)
            image.palette.push_back(rgb);
    }
    for (const QString &row : rows) {
        if (row.size() != image.size)
            fail(path + ": the image is not square");
        for (const QChar c : row) {
            if (c == '.') {
                image.pixels.push_back(-1);
                continue;
            }
            if (!legend.contains(c))
                fail(path + ": letter not in the legend: " + c);
            const QString name = legend.value(c);
            int index = -1;
            for (int i = 0; i < int(vga16.size()); ++i) {
                if (vga16[i].first == name)
                    index = colours == 2 ? (vga16[i].second == 0xFFFFFF ? 1 : 0) : i;
            }
            if (index < 0 || (colours == 2 && name != "black" && name != "white"))
                fail(path + ": colour not in the palette: " + name);
            image.pixels.push_back(index);
        }
    }
    return image;
}

void append16(QByteArray &out, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), 2);
}

void append32(QByteArray &out, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), 4);
}

int bitsPerPixel(const Image &image) { return image.palette.size() == 2 ? 1 : 4; }

// Rows of a bitmap are stored bottom-up, each padded to a multiple of four bytes.
QByteArray packRows(const Image &image, int bits, int (*value)(int index))
{
    const int stride = ((image.size * bits + 31) / 32) * 4;
    QByteArray out;
    for (int y = image.size - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < image.size; ++x) {
            const int v = value(image.pixels[y * image.size + x]);
            const int bit = x * bits;
            row[bit / 8] = char(row[bit / 8] | (v << (8 - bits - bit % 8)));
        }
        out += row;
    }
    return out;
}

QByteArray bitmap(const Image &image)
{
    const int bits = bitsPerPixel(image);
    // Transparent pixels are black in the colour bitmap and set in the mask.
    const QByteArray colour
        = packRows(image, bits, [](int index) { return index < 0 ? 0 : index; });
    const QByteArray mask = packRows(image, 1, [](int index) { return index < 0 ? 1 : 0; });

    QByteArray out;
    append32(out, 40); // header size
    append32(out, image.size); // width
    append32(out, image.size * 2); // height of colour bitmap and mask together
    append16(out, 1); // planes
    append16(out, quint16(bits)); // bits per pixel
    append32(out, 0); // no compression
    append32(out, quint32(colour.size() + mask.size()));
    append32(out, 0);
    append32(out, 0);
    append32(out, quint32(image.palette.size()));
    append32(out, 0);
    for (const QRgb rgb : image.palette) {
        out.append(char(qBlue(rgb)));
        out.append(char(qGreen(rgb)));
        out.append(char(qRed(rgb)));
        out.append('\0');
    }
    return out + colour + mask;
}

QByteArray icon(const std::vector<Image> &images)
{
    QByteArray out;
    append16(out, 0);
    append16(out, 1); // an icon, not a cursor
    append16(out, quint16(images.size()));
    std::vector<QByteArray> bitmaps;
    quint32 offset = quint32(6 + 16 * images.size());
    for (const Image &image : images) {
        bitmaps.push_back(bitmap(image));
        out.append(char(image.size));
        out.append(char(image.size));
        out.append(char(image.palette.size()));
        out.append('\0');
        append16(out, 1);
        append16(out, quint16(bitsPerPixel(image)));
        append32(out, quint32(bitmaps.back().size()));
        append32(out, offset);
        offset += quint32(bitmaps.back().size());
    }
    for (const QByteArray &b : bitmaps)
        out += b;
    return out;
}

QImage toQImage(const Image &image)
{
    QImage out(image.size, image.size, QImage::Format_ARGB32);
    for (int y = 0; y < image.size; ++y) {
        for (int x = 0; x < image.size; ++x) {
            const int index = image.pixels[y * image.size + x];
            out.setPixel(x, y, index < 0 ? 0 : (0xFF000000 | image.palette[index]));
        }
    }
    return out;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail(path + ": " + file.errorString());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 5)
        fail("usage: make_icon OUTDIR 32x32-2.txt 32x32-16.txt 16x16-16.txt");
    const QString out = QString::fromLocal8Bit(argv[1]);
    const std::vector<Image> images = {
        read(QString::fromLocal8Bit(argv[2]), 2),
        read(QString::fromLocal8Bit(argv[3]), 16),
        read(QString::fromLocal8Bit(argv[4]), 16),
    };
    if (images[0].size != 32 || images[1].size != 32 || images[2].size != 16)
        fail("the images must be 32, 32 and 16 pixels square");
    write(out + "/tavrel.ico", icon(images));
    for (const auto &[image, name] :
         {std::pair {images[1], "/tavrel-32.png"}, std::pair {images[2], "/tavrel-16.png"}}) {
        if (!toQImage(image).save(out + name, "PNG"))
            fail(out + name + ": cannot be written");
    }
    return 0;
}
