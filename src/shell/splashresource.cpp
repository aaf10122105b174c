#include "splashresource.h"

#include <QSet>

#include <zlib.h>

namespace {

// Layout of a resource collection file as Qt's rcc writes it: a header, then
// a tree of fixed-size nodes (node 0 is the root directory), a table of
// names and a table of data blocks, all numbers big-endian.
constexpr char Magic[] = "qres";
constexpr quint16 FlagCompressed = 0x01;
constexpr quint16 FlagDirectory = 0x02;
constexpr quint16 FlagCompressedZstd = 0x04;
constexpr int MaxNodes = 100000;

class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_bytes(bytes)
    {}

    qsizetype size() const { return m_bytes.size(); }
    // Whether count bytes from offset lie inside the file (no overflow).
    bool fits(quint64 offset, quint64 count) const
    {
        return offset <= quint64(m_bytes.size()) && count <= quint64(m_bytes.size()) - offset;
    }
    quint64 number(quint64 offset, int width) const
    {
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 8) | uchar(m_bytes.at(qsizetype(offset) + i));
        return value;
    }
    const uchar *data(quint64 offset) const
    {
        return reinterpret_cast<const uchar *>(m_bytes.constData()) + offset;
    }

private:
    const QByteArray &m_bytes;
};

// The unpacked size a zstd frame header declares; 0 when it declares none.
quint64 zstdContentSize(const uchar *data, quint64 size)
{
    if (size < 6 || data[0] != 0x28 || data[1] != 0xB5 || data[2] != 0x2F || data[3] != 0xFD)
        return 0;
    const uchar descriptor = data[4];
    const int sizeFlag = descriptor >> 6;
    const bool singleSegment = descriptor & 0x20;
    static constexpr int DictionaryIdBytes[] = {0, 1, 2, 4};
    static constexpr int ContentSizeBytes[] = {0, 2, 4, 8};
    const int contentSizeBytes = sizeFlag == 0 ? (singleSegment ? 1 : 0)
                                               : ContentSizeBytes[sizeFlag];
    if (contentSizeBytes == 0)
        return 0;
    const quint64 at = 5 + (singleSegment ? 0 : 1) + DictionaryIdBytes[descriptor & 0x03];
    if (at + contentSizeBytes > size)
        return 0;
    quint64 value = 0;
    for (int i = contentSizeBytes - 1; i >= 0; --i)
        value = (value << 8) | data[at + i];
    return contentSizeBytes == 2 ? value + 256 : value;
}

QString dataFault(const Reader &file, quint64 offset, quint16 flags)
{
    if (!file.fits(offset, 4))
        return QStringLiteral("data block outside the file");
    const quint64 size = file.number(offset, 4);
    if (!file.fits(offset + 4, size))
        return QStringLiteral("data block runs past the end of the file");
    const uchar *data = file.data(offset + 4);
    if (flags & FlagCompressed) {
        // qUncompress form: the unpacked size, then a zlib stream. Unpacked
        // here once, so that a stream that does not unpack is refused.
        if (size < 4)
            return QStringLiteral("compressed block without its size");
        const quint64 expected = (quint64(data[0]) << 24) | (quint64(data[1]) << 16)
                                 | (quint64(data[2]) << 8) | data[3];
        if (expected > quint64(SplashResource::MaxEntryBytes))
            return QStringLiteral("compressed block too large");
        QByteArray unpacked(qsizetype(expected), Qt::Uninitialized);
        uLongf length = uLongf(expected);
        if (uncompress(reinterpret_cast<Bytef *>(unpacked.data()), &length, data + 4, uLong(size - 4))
                    != Z_OK
            || length != expected)
            return QStringLiteral("compressed block does not unpack");
    } else if (flags & FlagCompressedZstd) {
        const quint64 unpacked = zstdContentSize(data, size);
        if (unpacked == 0 || unpacked > quint64(SplashResource::MaxEntryBytes))
            return QStringLiteral("zstd block without a size within bounds");
    }
    return QString();
}

} // namespace

namespace SplashResource {

QString fault(const QByteArray &bytes)
{
    const Reader file(bytes);
    if (bytes.size() > MaxFileBytes)
        return QStringLiteral("file too large");
    if (!file.fits(0, 20) || !bytes.startsWith(Magic))
        return QStringLiteral("no resource collection header");
    const quint64 version = file.number(4, 4);
    if (version < 1 || version > 3)
        return QStringLiteral("unknown version %1").arg(version);
    if (version >= 3 && !file.fits(0, 24))
        return QStringLiteral("header cut short");
    const quint64 tree = file.number(8, 4);
    const quint64 data = file.number(12, 4);
    const quint64 names = file.number(16, 4);
    const quint64 nodeSize = version >= 2 ? 22 : 14;
    const quint16 knownFlags = version >= 3 ? (FlagCompressed | FlagDirectory | FlagCompressedZstd)
                                            : (FlagCompressed | FlagDirectory);

    // Every node is reached once from the root; children always come after
    // their parent, so no path loops.
    QList<quint64> pending{0};
    QSet<quint64> seen;
    while (!pending.isEmpty()) {
        const quint64 node = pending.takeLast();
        if (seen.contains(node))
            return QStringLiteral("node %1 reached twice").arg(node);
        seen.insert(node);
        const quint64 at = tree + node * nodeSize;
        if (node >= quint64(bytes.size()) || !file.fits(at, nodeSize))
            return QStringLiteral("node %1 outside the file").arg(node);
        const quint16 flags = quint16(file.number(at + 4, 2));
        if (flags & ~knownFlags)
            return QStringLiteral("node %1 has unknown flags").arg(node);
        if (node != 0) {
            const quint64 name = names + file.number(at, 4);
            if (!file.fits(name, 6) || !file.fits(name + 6, file.number(name, 2) * 2))
                return QStringLiteral("name of node %1 outside the file").arg(node);
            // A name that is a path of its own ("", ".", "..", "a/b") makes
            // Qt's directory walk go round in circles.
            const quint64 length = file.number(name, 2);
            QString text;
            for (quint64 i = 0; i < length; ++i)
                text.append(QChar(char16_t(file.number(name + 6 + 2 * i, 2))));
            if (text.isEmpty() || text == QLatin1String(".") || text == QLatin1String("..")
                || text.contains(QLatin1Char('/')) || text.contains(QChar(0)))
                return QStringLiteral("node %1 has no usable name").arg(node);
        }
        if (flags & FlagDirectory) {
            if (flags != FlagDirectory)
                return QStringLiteral("compressed directory %1").arg(node);
            const quint64 count = file.number(at + 6, 4);
            const quint64 first = file.number(at + 10, 4);
            if (count > 0
                && (first <= node || !file.fits(tree + first * nodeSize, count * nodeSize)))
                return QStringLiteral("children of node %1 outside the file").arg(node);
            if (seen.size() + pending.size() + count > quint64(MaxNodes))
                return QStringLiteral("too many nodes");
            for (quint64 child = first; child < first + count; ++child)
                pending.append(child);
        } else if (node == 0) {
            return QStringLiteral("the root is no directory");
        } else if ((flags & FlagCompressed) && (flags & FlagCompressedZstd)) {
            return QStringLiteral("node %1 compressed twice").arg(node);
        } else if (const QString problem = dataFault(file, data + file.number(at + 10, 4), flags);
                   !problem.isEmpty()) {
            return QStringLiteral("node %1: %2").arg(node).arg(problem);
        }
    }
    return QString();
}

} // namespace SplashResource
