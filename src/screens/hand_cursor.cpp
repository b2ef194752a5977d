#include "screens/hand_cursor.h"

#include "data/core/failure.h"
#include "data/folder/path_case.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace quorvex {

namespace {

// The cursor directory header (6 bytes) and its first entry (16 bytes): reserved 0, type 2 for a
// cursor, then the entry whose bytes 4 and 6 hold the hotspot.
constexpr qint64 kHeaderBytes = 22;
constexpr int kHotspotXOffset = 10;
constexpr int kHotspotYOffset = 12;

quint16 ReadLittleEndian16(const QByteArray& bytes, int offset) {
    return static_cast<quint16>(static_cast<quint8>(bytes[offset]) |
                                (static_cast<quint8>(bytes[offset + 1]) << 8));
}

Failure InvalidPicture(const QString& path) {
    return Failure(QStringLiteral("Invalid picture: ") + path);
}

}  // namespace

QCursor LoadCursorFile(const QString& path) {
    const QString actual = ResolvePathIgnoringCase(path);
    QFile file(actual);
    if (!file.open(QIODevice::ReadOnly)) {
        throw InvalidPicture(path);
    }
    const QByteArray header = file.read(kHeaderBytes);
    file.close();
    if (header.size() < kHeaderBytes || ReadLittleEndian16(header, 0) != 0 ||
        ReadLittleEndian16(header, 2) != 2 || ReadLittleEndian16(header, 4) == 0) {
        throw InvalidPicture(path);
    }

    QImageReader reader(actual, "cur");
    const QImage image = reader.read();
    if (image.isNull()) {
        throw InvalidPicture(path);
    }
    const int hotX = qMin<int>(ReadLittleEndian16(header, kHotspotXOffset), image.width() - 1);
    const int hotY = qMin<int>(ReadLittleEndian16(header, kHotspotYOffset), image.height() - 1);
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

}  // namespace quorvex
