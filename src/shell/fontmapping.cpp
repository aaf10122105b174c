#include "fontmapping.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {

struct Mapping
{
    const char *windowsName; // UTF-8
    QStringList candidates;  // first installed one wins
};

const QStringList kGothic = {QStringLiteral("NanumGothic"),
                             QStringLiteral("NanumBarunGothic"),
                             QStringLiteral("Noto Sans CJK KR"),
                             QStringLiteral("UnDotum"),
                             QStringLiteral("DejaVu Sans")};
const QStringList kGothicFixed = {QStringLiteral("NanumGothicCoding"),
                                  QStringLiteral("Noto Sans Mono CJK KR"),
                                  QStringLiteral("NanumGothic"),
                                  QStringLiteral("DejaVu Sans Mono")};
const QStringList kMyeongjo = {QStringLiteral("NanumMyeongjo"),
                               QStringLiteral("Noto Serif CJK KR"),
                               QStringLiteral("UnBatang"),
                               QStringLiteral("NanumGothic"),
                               QStringLiteral("DejaVu Serif")};

const QList<Mapping> &mappings()
{
    static const QList<Mapping> table = {
            {"굴림", kGothic},
            {"Gulim", kGothic},
            {"돋움", kGothic},
            {"Dotum", kGothic},
            {"맑은 고딕", kGothic},
            {"Malgun Gothic", kGothic},
            {"MS Sans Serif", kGothic},
            {"Microsoft Sans Serif", kGothic},
            {"Tahoma", kGothic},
            {"Arial", kGothic},
            {"굴림체", kGothicFixed},
            {"GulimChe", kGothicFixed},
            {"돋움체", kGothicFixed},
            {"DotumChe", kGothicFixed},
            {"Courier New", kGothicFixed},
            {"바탕", kMyeongjo},
            {"Batang", kMyeongjo},
            {"바탕체", kMyeongjo},
            {"BatangChe", kMyeongjo},
            {"궁서", kMyeongjo},
            {"Times New Roman", kMyeongjo},
            // Preview fonts of the ticket designer.
            {"Modern", kGothicFixed},
            {"Lucida Sans Unicode", kGothic},
            {"Comic Sans MS", kGothic},
            {"Impact", kGothic},
    };
    return table;
}

QString firstInstalled(const QStringList &candidates, const QStringList &families)
{
    for (const QString &candidate : candidates) {
        if (families.contains(candidate, Qt::CaseInsensitive))
            return candidate;
    }
    return QString();
}

// The row of a Windows font name, whatever its case; null when it has none.
const Mapping *mappingOf(const QString &windowsName)
{
    for (const Mapping &m : mappings()) {
        if (QString::fromUtf8(m.windowsName).compare(windowsName, Qt::CaseInsensitive) == 0)
            return &m;
    }
    return nullptr;
}

} // namespace

QString FontMapping::familyFor(const QString &windowsName)
{
    const Mapping *m = mappingOf(windowsName);
    return m ? firstInstalled(m->candidates, QFontDatabase::families()) : QString();
}

QFont FontMapping::font(const QString &windowsName)
{
    QFont font(windowsName);
    if (const Mapping *m = mappingOf(windowsName))
        font.setFamilies(m->candidates + QStringList{windowsName});
    return font;
}

void FontMapping::install()
{
    // Qt tries a family first and then its substitutes in order, taking the
    // first one installed: so a name that is installed itself keeps its own
    // font, and no list of every installed family is needed at start-up.
    for (const Mapping &m : mappings())
        QFont::insertSubstitutions(QString::fromUtf8(m.windowsName), m.candidates);
}
