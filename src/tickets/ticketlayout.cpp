#include "ticketlayout.h"

#include "layoutfile.h"
#include "ticketcommands.h"
#include "ticketdesign.h"

#include "common/commonroutines.h"
#include "platform/cp949.h"
#include "platform/inifile.h"

#include <QFile>

namespace {

const QString ConfigSection = QStringLiteral("Config");
const QString BarcodeSection = QStringLiteral("Barcode");
const QString LabelSection = QStringLiteral("Label");

int mm(int px)
{
    return px / TicketCommands::PixelsPerMm;
}

/// The text from `from` up to `end` (exclusive), moving `from` past `end`;
/// the rest of the value when `end` is missing.
QString takeUntil(const QString &value, qsizetype &from, QChar end)
{
    const qsizetype at = value.indexOf(end, from);
    const QString field = value.mid(from, at < 0 ? -1 : at - from);
    from = at < 0 ? value.size() : at + 1;
    return field;
}

/// Moves `from` past the next `marker`; false (and `from` kept) when there is none.
bool skipPast(const QString &value, qsizetype &from, const QString &marker)
{
    const qsizetype at = value.indexOf(marker, from);
    if (at < 0)
        return false;
    from = at + marker.size();
    return true;
}

int number(const QString &text)
{
    const qint64 value = TextToInt64(text);
    return value < INT_MIN || value > INT_MAX ? 0 : int(value);
}

} // namespace

QString TicketLayout::labelValue(const TicketLabel &label)
{
    const int m = label.multiplier;
    return QStringLiteral("<RC%1,%2><F%3><HW%4,%4>")
                   .arg(mm(label.topPx))
                   .arg(mm(label.leftPx))
                   .arg(label.fontIndex)
                   .arg(m)
           + label.text;
}

TicketLayout::LabelEntry TicketLayout::parseLabelValue(const QString &key, const QString &value)
{
    LabelEntry entry;
    entry.key = key;
    qsizetype at = 0;
    if (skipPast(value, at, QStringLiteral("<RC"))) {
        entry.topMm = number(takeUntil(value, at, QLatin1Char(',')));
        entry.leftMm = number(takeUntil(value, at, QLatin1Char('>')));
    }
    if (skipPast(value, at, QStringLiteral("<F")))
        entry.fontIndex = number(takeUntil(value, at, QLatin1Char('>')));
    if (skipPast(value, at, QStringLiteral("<HW"))) {
        entry.multiplier = number(takeUntil(value, at, QLatin1Char(',')));
        takeUntil(value, at, QLatin1Char('>')); // the second copy is not read
    }
    entry.text = value.mid(at);
    return entry;
}

QString TicketLayout::unencodableLabel(const TicketDesign &design)
{
    for (const TicketLabel &label : design.labels) {
        if (Cp949::firstUnencodable(label.text) >= 0)
            return label.name;
    }
    return QString();
}

bool TicketLayout::isLayout(const QString &path)
{
    const QStringList sections = IniFile(path).sectionNames();
    for (const QString &name : {ConfigSection, BarcodeSection, LabelSection}) {
        if (sections.contains(name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool TicketLayout::save(const QString &path, const TicketDesign &design)
{
    if (!unencodableLabel(design).isEmpty())
        return false;
    return LayoutFile::replace(path, [&](const QString &copy) { return write(copy, design); });
}

bool TicketLayout::write(const QString &path, const TicketDesign &design)
{
    IniFile file(path);
    const auto write = [&file](const QString &section, const QString &key, int value) {
        return file.writeString(section, key, QString::number(value));
    };
    bool ok = write(ConfigSection, QStringLiteral("Direction"), design.direction)
              && write(ConfigSection, QStringLiteral("Width"), design.widthMm)
              && write(ConfigSection, QStringLiteral("Height"), design.heightMm)
              && write(ConfigSection, QStringLiteral("CutType"), design.cutType)
              && write(ConfigSection, QStringLiteral("CutLine"), design.cutLineMm)
              && write(BarcodeSection, QStringLiteral("Barcode"), design.barcodeVisible ? 1 : 0)
              && write(BarcodeSection, QStringLiteral("Width"), mm(design.barcodeWidthPx) / 11)
              && write(BarcodeSection, QStringLiteral("Height"), mm(design.barcodeHeightPx))
              && write(BarcodeSection, QStringLiteral("Left"), mm(design.barcodeLeftPx))
              && write(BarcodeSection, QStringLiteral("Top"), mm(design.barcodeTopPx))
              && file.eraseSection(LabelSection);
    for (const TicketLabel &label : design.labels) {
        if (!ok)
            break;
        ok = file.writeString(LabelSection, label.name, labelValue(label));
    }
    return ok;
}

std::optional<TicketLayout::Contents> TicketLayout::load(const QString &path)
{
    // The INI functions read a file they cannot open as empty: a layout of
    // defaults would replace the design without a word.
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return std::nullopt;
    probe.close();
    if (!isLayout(path))
        return std::nullopt;

    const IniFile file(path);
    Contents c;
    c.direction = file.readInteger(ConfigSection, QStringLiteral("Direction"), 0);
    if (c.direction < 0 || c.direction > 3)
        c.direction = 0;
    c.widthMm = file.readInteger(ConfigSection, QStringLiteral("Width"), 155);
    c.heightMm = file.readInteger(ConfigSection, QStringLiteral("Height"), 60);
    c.cutType = file.readInteger(ConfigSection, QStringLiteral("CutType"), 0);
    c.cutLineMm = file.readInteger(ConfigSection, QStringLiteral("CutLine"), 0);
    c.barcode = file.readInteger(BarcodeSection, QStringLiteral("Barcode"), 0) != 0;
    c.barcodeMultiplier = file.readInteger(BarcodeSection, QStringLiteral("Width"), 2);
    c.barcodeHeightMm = file.readInteger(BarcodeSection, QStringLiteral("Height"), 10);
    c.barcodeLeftMm = file.readInteger(BarcodeSection, QStringLiteral("Left"), 2);
    c.barcodeTopMm = file.readInteger(BarcodeSection, QStringLiteral("Top"), 2);
    const QStringList lines = file.sectionLines(LabelSection);
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        c.labels.append(parseLabelValue(line.left(eq < 0 ? line.size() : eq),
                                        eq < 0 ? QString() : line.mid(eq + 1)));
    }
    return c;
}
