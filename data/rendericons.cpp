// SPDX-License-Identifier: MIT
// Renders the application icon: hicolor PNGs for the Linux desktop and a
// multi-size .ico for the Windows executable. It draws with QSvgRenderer, as
// the window does at run time, so every icon looks alike and no other SVG tool
// is needed on any platform.
//
//   rendericons ARTWORK.svg OUTPUT_FOLDER NAME SIZE...
// writes OUTPUT_FOLDER/hicolor/SIZExSIZE/apps/NAME.png and OUTPUT_FOLDER/NAME.ico.
// A size with a drawing of its own beside the artwork (ARTWORK-16.svg for
// 16 px) is rendered from that; the window picks its artwork the same way.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

bool fail(const QString &message)
{
    std::fprintf(stderr, "rendericons: %s\n", qUtf8Printable(message));
    return false;
}

// Scaled to a size it was not drawn for, the artwork blurs every edge that
// falls between two pixels, so the sizes off its grid have drawings of their
// own. A plain SVG per size, rather than one file hinted for all of them, is
// what any SVG editor shows as it is and keeps this lookup to one line.
QString artworkFor(const QString &svgPath, int size)
{
    const QFileInfo artwork(svgPath);
    const QString drawn
        = QStringLiteral("%1/%2-%3.svg")
              .arg(artwork.path(), artwork.completeBaseName(), QString::number(size));
    return QFileInfo::exists(drawn) ? drawn : svgPath;
}

QByteArray renderPng(QSvgRenderer &artwork, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    artwork.render(&painter);
    painter.end();

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of %1").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

void appendLE16(QByteArray &out, quint16 value)
{
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

void appendLE32(QByteArray &out, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

// An .ico whose entries are PNG streams, which Windows reads since Vista.
// Qt's own ICO writer stores a single image, too few for Explorer's views.
QByteArray icoFile(const QList<std::pair<int, QByteArray>> &pngs)
{
    QByteArray ico;
    appendLE16(ico, 0); // reserved
    appendLE16(ico, 1); // type: icon
    appendLE16(ico, quint16(pngs.size()));
    quint32 offset = quint32(6 + 16 * pngs.size());
    for (const auto &[size, png] : pngs) {
        ico.append(char(size >= 256 ? 0 : size)); // 0 stands for 256
        ico.append(char(size >= 256 ? 0 : size));
        ico.append(char(0)); // no palette
        ico.append(char(0)); // reserved
        appendLE16(ico, 1); // colour planes
        appendLE16(ico, 32); // bits per pixel
        appendLE32(ico, quint32(png.size()));
        appendLE32(ico, offset);
        offset += quint32(png.size());
    }
    for (const auto &entry : pngs)
        ico.append(entry.second);
    return ico;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: rendericons ARTWORK.svg OUTPUT_FOLDER NAME SIZE...\n");
        return 2;
    }
    const QString svgPath = QFile::decodeName(argv[1]);
    const QString outFolder = QFile::decodeName(argv[2]);
    const QString name = QFile::decodeName(argv[3]);

    QList<std::pair<int, QByteArray>> pngs;
    for (int arg = 4; arg < argc; ++arg) {
        bool isNumber = false;
        const int size = QByteArray(argv[arg]).toInt(&isNumber);
        if (!isNumber || size < 1 || size > 256) { // an .ico entry holds no more
            fail(QStringLiteral("%1 is not an icon size from 1 to 256")
                     .arg(QString::fromLocal8Bit(argv[arg])));
            return 2;
        }
        const QString drawing = artworkFor(svgPath, size);
        QSvgRenderer artwork(drawing);
        if (!artwork.isValid()) {
            fail(QStringLiteral("%1 is not a readable SVG").arg(drawing));
            return 1;
        }
        const QByteArray png = renderPng(artwork, size);
        if (png.isEmpty()) {
            fail(QStringLiteral("cannot encode the %1 pixel PNG").arg(size));
            return 1;
        }
        const QString path = QStringLiteral("%1/hicolor/%2x%2/apps/%3.png")
                                 .arg(outFolder, QString::number(size), name);
        if (!writeFile(path, png))
            return 1;
        pngs.append({ size, png });
    }
    return writeFile(QStringLiteral("%1/%2.ico").arg(outFolder, name), icoFile(pngs)) ? 0 : 1;
}
