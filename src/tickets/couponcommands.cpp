#include "couponcommands.h"

#include "coupontexts.h"

#include "platform/cp949.h"

namespace CouponCommands {

QByteArray statusRequest()
{
    return QByteArray("\x1b\x06\x01", 3);
}

QString withSerial(const QString &text, const QString &serial)
{
    QString result = text;
    return result.replace(CouponText::serialPlaceholder(), serial);
}

QString couponText(const QList<CouponLine> &lines, qint64 serial)
{
    const QString number = QString::number(serial);
    QString text;
    for (const CouponLine &line : lines) {
        if (!line.enabled)
            continue;
        QString prefix;
        if (line.doubleHeight && line.doubleWidth)
            prefix = QStringLiteral("{Z}");
        else if (line.doubleHeight)
            prefix = QStringLiteral("{Y}");
        else if (line.doubleWidth)
            prefix = QStringLiteral("{X}");
        const QString suffix = prefix.isEmpty() ? QString() : QStringLiteral("{S}");
        text += prefix + withSerial(line.text, number) + suffix + QLatin1Char('\r');
    }
    return text;
}

QList<QByteArray> couponWrites(const QString &couponText)
{
    QString text = QStringLiteral("\x1b@") + couponText
                   + QStringLiteral("\x1b"
                                    "d3");
    text.replace(QStringLiteral("{S}"),
                 QStringLiteral("\x1b"
                                "i00"));
    text.replace(QStringLiteral("{X}"),
                 QStringLiteral("\x1b"
                                "i01"));
    text.replace(QStringLiteral("{Y}"),
                 QStringLiteral("\x1b"
                                "i10"));
    text.replace(QStringLiteral("{Z}"),
                 QStringLiteral("\x1b"
                                "i11"));
    const QByteArray bytes = Cp949::fromUnicode(text);

    // CR LF counts as one break; cp949 never uses CR or LF inside a character.
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));

    QList<QByteArray> writes;
    QByteArray chunk;
    int inChunk = 0;
    // The closing command cuts at once: an LF behind it would feed the next
    // coupon one line lower than the first of a run.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        chunk += lines.at(i);
        if (i + 1 < lines.size())
            chunk += '\n';
        if (++inChunk == LinesPerWrite) {
            writes.append(chunk);
            chunk.clear();
            inChunk = 0;
        }
    }
    if (inChunk > 0)
        writes.append(chunk);
    return writes;
}

} // namespace CouponCommands
