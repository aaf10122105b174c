#include "couponlayout.h"

#include "layoutfile.h"

#include "platform/cp949.h"
#include "platform/inifile.h"

namespace {

const QString Marker = QStringLiteral("@#");

QString yesNo(bool value)
{
    return value ? QStringLiteral("Y") : QStringLiteral("N");
}

QString key(const char *name, int line)
{
    return QLatin1String(name) + QString::number(line);
}

} // namespace

namespace CouponLayout {

QString section()
{
    return QStringLiteral("frmZXS090");
}

QString marked(const QString &text)
{
    return Marker + text + Marker;
}

QString unmarked(const QString &value)
{
    QString text = value;
    if (text.startsWith(Marker))
        text.remove(0, Marker.size());
    if (text.endsWith(Marker))
        text.chop(Marker.size());
    return text;
}

int unencodableLine(const QList<CouponLine> &lines)
{
    for (int n = 1; n <= lines.size(); ++n) {
        if (Cp949::firstUnencodable(lines.at(n - 1).text) >= 0)
            return n;
    }
    return 0;
}

bool save(const QString &path, const QList<CouponLine> &lines)
{
    if (unencodableLine(lines) > 0)
        return false;
    return LayoutFile::replace(path, [&](const QString &copy) {
        IniFile ini(copy);
        for (int n = 1; n <= LineCount; ++n) {
            const CouponLine line = n <= lines.size() ? lines.at(n - 1) : CouponLine();
            if (!ini.writeString(section(), key("Prn", n), marked(line.text))
                || !ini.writeString(section(), key("Ver", n), yesNo(line.doubleHeight))
                || !ini.writeString(section(), key("Hor", n), yesNo(line.doubleWidth)))
                return false;
        }
        return true;
    });
}

std::optional<QList<CouponLine>> load(const QString &path)
{
    const IniFile ini(path);
    const bool isLayout = ini.sectionNames().contains(section(), Qt::CaseInsensitive);
    if (!isLayout)
        return std::nullopt;
    QList<CouponLine> lines;
    for (int n = 1; n <= LineCount; ++n) {
        CouponLine line;
        line.text = unmarked(ini.readString(section(), key("Prn", n)));
        line.doubleHeight = ini.readString(section(), key("Ver", n), QStringLiteral("N"))
                            == QLatin1String("Y");
        line.doubleWidth = ini.readString(section(), key("Hor", n), QStringLiteral("N"))
                           == QLatin1String("Y");
        lines.append(line);
    }
    return lines;
}

} // namespace CouponLayout
