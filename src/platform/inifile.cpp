#include "inifile.h"

#include "cp949.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");
// The files travel to Windows workstations too.
const QByteArray DefaultLineEnd("\r\n");

struct Line
{
    QByteArray raw; // as read, without the line end
    QString text;
    QByteArray lineEnd; // empty only on a last line without one
    bool changed = false;
};

struct Document
{
    QList<Line> lines;
    bool utf8 = true; // a missing or pure ASCII file counts as UTF-8
    bool bom = false;
    bool readable = true;
};

enum class Kind { Other, Section, Key };

struct Parsed
{
    Kind kind = Kind::Other;
    QString name; // section or key
    QString value;
};

Parsed parse(const QString &text)
{
    Parsed result;
    const QString line = text.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
        return result;
    if (line.startsWith(QLatin1Char('['))) {
        const qsizetype close = line.indexOf(QLatin1Char(']'));
        result.kind = Kind::Section;
        result.name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
        return result;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return result;
    result.name = line.left(equals).trimmed();
    if (result.name.isEmpty())
        return result;
    result.kind = Kind::Key;
    result.value = line.mid(equals + 1).trimmed();
    return result;
}

bool isQuoted(const QString &value)
{
    return value.size() >= 2
           && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
           && value.back() == value.front();
}

// As the Windows profile reader does: a value in a pair of double or single
// quotes is read without them.
QString unquoted(const QString &value)
{
    return isQuoted(value) ? value.mid(1, value.size() - 2) : value;
}

// The form of a value in the file that reads back as the value itself.
QString stored(const QString &value)
{
    return isQuoted(value) ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; });
}

// Whether bytes without a byte-order mark are UTF-8. The same bytes are often
// valid in both encodings (cp949 "창" is C3 A2, UTF-8 "â"), and this program
// writes cp949. cp949 Hangul starts every character with a byte from 81 to
// C8, so cp949 text that is valid UTF-8 always holds a two-byte UTF-8
// character (U+0080 to U+07FF), while Korean UTF-8 text holds three-byte ones.
// UTF-8 therefore only when the bytes are no cp949 at all, or hold no
// character from that two-byte range.
bool readsAsUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    if (Cp949::toUnicode(bytes).contains(QChar::ReplacementCharacter))
        return true;
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() >= 0x80 && c.unicode() < 0x800;
    });
}

// A line's UTF-8 bytes as text. QString::fromUtf8 drops a byte-order mark
// at the start of what it decodes: a line starting with one (a file with two)
// would lose it at every write, and with it what the line was.
QString utf8Text(const QByteArray &raw)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless
                                   | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(raw);
}

Document load(const QString &path)
{
    Document doc;
    QFile file(path);
    if (!file.exists())
        return doc;
    if (!file.open(QIODevice::ReadOnly)) {
        doc.readable = false;
        return doc;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        doc.readable = false;
        return doc;
    }
    if (bytes.startsWith(Utf8Bom)) {
        doc.bom = true;
        bytes.remove(0, Utf8Bom.size());
    } else if (!isAscii(bytes)) {
        doc.utf8 = readsAsUtf8(bytes);
    }

    // CR LF, LF and a bare CR all end a line (neither byte is ever part of a
    // cp949 or UTF-8 character).
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        Line line;
        line.raw = bytes.mid(start, end - start);
        if (end < bytes.size()) {
            const bool crlf = bytes.at(end) == '\r' && end + 1 < bytes.size()
                              && bytes.at(end + 1) == '\n';
            line.lineEnd = bytes.mid(end, crlf ? 2 : 1);
        }
        start = end + line.lineEnd.size();
        line.text = doc.utf8 ? utf8Text(line.raw) : Cp949::toUnicode(line.raw);
        doc.lines.append(line);
    }
    return doc;
}

QByteArray documentLineEnd(const Document &doc)
{
    for (const Line &line : doc.lines) {
        if (!line.lineEnd.isEmpty())
            return line.lineEnd;
    }
    return DefaultLineEnd;
}

bool representableInCp949(const QString &text)
{
    return Cp949::toUnicode(Cp949::fromUnicode(text)) == text;
}

// Writes the whole file under a temporary name beside it, every write checked,
// synced, then renamed over the old one: on a full disk or any other failure
// the old file stays as it was.
bool replaceFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    // A link stays a link: its target is replaced.
    const QFileInfo target(info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath());
    const QByteArray targetName = QFile::encodeName(target.absoluteFilePath());
    struct stat existing = {};
    const bool exists = ::stat(targetName.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return false;
    const QString dir = target.absolutePath();

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = QFile::encodeName(
                QStringLiteral("%1/.%2.%3.tmp")
                        .arg(dir, target.fileName())
                        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        fd = ::open(temporary.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    // The new file keeps the old one's permissions.
    bool ok = !exists || ::fchmod(fd, existing.st_mode & 07777) == 0;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (ok && left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        ok = written > 0;
        data += ok ? written : 0;
        left -= ok ? written : 0;
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), targetName.constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int dirFd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool save(const QString &path, const Document &doc)
{
    // A file read as cp949 keeps the bytes of every untouched line, whatever
    // they are. A file read as UTF-8 is re-encoded as cp949 unless that would
    // lose characters, in which case it stays UTF-8.
    bool writeUtf8 = false;
    if (doc.utf8) {
        for (const Line &line : doc.lines) {
            if (!representableInCp949(line.text)) {
                writeUtf8 = true;
                break;
            }
        }
    } else {
        for (const Line &line : doc.lines) {
            if (line.changed && !representableInCp949(line.text))
                return false;
        }
    }

    const auto encoded = [&doc](bool utf8) {
        QByteArray bytes;
        for (const Line &line : doc.lines) {
            if (utf8)
                bytes += line.text.toUtf8();
            else if (doc.utf8 || line.changed)
                bytes += Cp949::fromUnicode(line.text);
            else
                bytes += line.raw;
            bytes += line.lineEnd;
        }
        return bytes;
    };
    QByteArray bytes = encoded(writeUtf8);
    // cp949 that would read as UTF-8 (rare: no Hangul syllable does) is
    // written as UTF-8 instead, and UTF-8 that would read as cp949 keeps (or
    // gets) its byte-order mark: the file reads back as it was meant.
    if (!writeUtf8 && !isAscii(bytes) && readsAsUtf8(bytes)) {
        writeUtf8 = true;
        bytes = encoded(true);
    }
    if (writeUtf8 && (doc.bom || !readsAsUtf8(bytes)))
        bytes.prepend(Utf8Bom);
    return replaceFile(path, bytes);
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

bool isValidSectionName(const QString &section)
{
    return !section.trimmed().isEmpty() && !section.contains(QLatin1Char(']'))
           && !hasLineBreak(section);
}

bool isValidKeyName(const QString &key)
{
    const QString trimmed = key.trimmed();
    return !trimmed.isEmpty() && !trimmed.contains(QLatin1Char('='))
           && !trimmed.startsWith(QLatin1Char('[')) && !trimmed.startsWith(QLatin1Char(';'))
           && !trimmed.startsWith(QLatin1Char('#')) && !hasLineBreak(trimmed);
}

Line newLine(const QString &text, const QByteArray &lineEnd)
{
    Line line;
    line.text = text;
    line.lineEnd = lineEnd;
    line.changed = true;
    return line;
}

// Calls visit(index, parsed) for every key line inside the named section
// (all its occurrences, in file order); stops when visit returns false.
template<typename Visit>
void forEachKey(const Document &doc, const QString &section, Visit visit)
{
    bool inSection = false;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Parsed parsed = parse(doc.lines.at(i).text);
        if (parsed.kind == Kind::Section)
            inSection = sameName(parsed.name, section);
        else if (parsed.kind == Kind::Key && inSection && !visit(i, parsed))
            return;
    }
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{}

QString IniFile::readString(const QString &section,
                            const QString &key,
                            const QString &defaultValue) const
{
    const QString wanted = key.trimmed();
    QString result = defaultValue;
    forEachKey(load(m_path), section.trimmed(), [&](qsizetype, const Parsed &parsed) {
        if (!sameName(parsed.name, wanted))
            return true;
        result = unquoted(parsed.value);
        return false;
    });
    return result;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    // Like the Windows profile functions: the leading integer of the value,
    // so "12 mm" reads as 12; a value without one reads as the default.
    const QString value = readString(section, key);
    qsizetype end = 0;
    if (end < value.size()
        && (value.at(end) == QLatin1Char('-') || value.at(end) == QLatin1Char('+')))
        ++end;
    const qsizetype digitsStart = end;
    while (end < value.size() && value.at(end) >= QLatin1Char('0')
           && value.at(end) <= QLatin1Char('9'))
        ++end;
    if (end == digitsStart)
        return defaultValue;
    bool ok = false;
    const int number = value.left(end).toInt(&ok);
    return ok ? number : defaultValue;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    if (!isValidSectionName(section) || !isValidKeyName(key) || hasLineBreak(value))
        return false;
    Document doc = load(m_path);
    if (!doc.readable)
        return false;
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    const QString storedValue = stored(value.trimmed());

    qsizetype existing = -1;
    forEachKey(doc, sectionName, [&](qsizetype index, const Parsed &parsed) {
        if (!sameName(parsed.name, keyName))
            return true;
        existing = index;
        return false;
    });
    if (existing >= 0) {
        Line &line = doc.lines[existing];
        const QString ownKey = parse(line.text).name;
        if (parse(line.text).value == storedValue)
            return true;
        line.text = ownKey + QLatin1Char('=') + storedValue;
        line.changed = true;
        return save(m_path, doc);
    }

    const QByteArray lineEnd = documentLineEnd(doc);
    const QString keyLine = keyName + QLatin1Char('=') + storedValue;
    // A new key goes right after the last key of the first occurrence of the
    // section, so that comments heading the next section stay with it.
    qsizetype insertAt = -1;
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const Parsed parsed = parse(doc.lines.at(i).text);
        if (parsed.kind == Kind::Section) {
            if (insertAt >= 0)
                break;
            if (sameName(parsed.name, sectionName))
                insertAt = i + 1;
        } else if (parsed.kind == Kind::Key && insertAt >= 0) {
            insertAt = i + 1;
        }
    }
    if (insertAt < 0) {
        if (!doc.lines.isEmpty() && doc.lines.constLast().lineEnd.isEmpty())
            doc.lines.last().lineEnd = lineEnd;
        doc.lines.append(newLine(QLatin1Char('[') + sectionName + QLatin1Char(']'), lineEnd));
        insertAt = doc.lines.size();
    }
    if (insertAt > 0 && doc.lines.at(insertAt - 1).lineEnd.isEmpty())
        doc.lines[insertAt - 1].lineEnd = lineEnd;
    doc.lines.insert(insertAt, newLine(keyLine, lineEnd));
    return save(m_path, doc);
}

bool IniFile::eraseSection(const QString &section)
{
    Document doc = load(m_path);
    if (!doc.readable)
        return false;
    const QString sectionName = section.trimmed();
    bool inSection = false;
    bool erased = false;
    QList<Line> kept;
    for (const Line &line : std::as_const(doc.lines)) {
        const Parsed parsed = parse(line.text);
        if (parsed.kind == Kind::Section)
            inSection = sameName(parsed.name, sectionName);
        if (inSection)
            erased = true;
        else
            kept.append(line);
    }
    if (!erased)
        return true;
    doc.lines = kept;
    return save(m_path, doc);
}

QStringList IniFile::sectionLines(const QString &section) const
{
    QStringList result;
    forEachKey(load(m_path), section.trimmed(), [&](qsizetype, const Parsed &parsed) {
        result.append(parsed.name + QLatin1Char('=') + parsed.value);
        return true;
    });
    return result;
}

QStringList IniFile::sectionNames() const
{
    QStringList result;
    for (const Line &line : load(m_path).lines) {
        const Parsed parsed = parse(line.text);
        if (parsed.kind != Kind::Section)
            continue;
        const bool known = std::any_of(result.cbegin(), result.cend(), [&](const QString &name) {
            return sameName(name, parsed.name);
        });
        if (!known)
            result.append(parsed.name);
    }
    return result;
}
