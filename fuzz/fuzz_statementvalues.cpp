// Values written into SQLite statement texts arrive as themselves: text with
// quotes, comments, parameter-like runs and Hangul; whole and fractional
// numbers, also after a minus sign.
#include "fuzzcheck.h"

#include "db/dberror.h"
#include "db/sqlstatement.h"

#include <QCoreApplication>
#include <QSqlDatabase>

#include <cmath>
#include <limits>

namespace {

QSqlDatabase database()
{
    static QSqlDatabase db = [] {
        QSqlDatabase opened = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                        QStringLiteral("fuzz"));
        opened.setDatabaseName(QStringLiteral(":memory:"));
        opened.open();
        return opened;
    }();
    return db;
}

QVariant selectOne(const QString &sql, const QVariantList &values)
{
    SqlStatement statement(database(), sql);
    for (int i = 0; i < values.size(); ++i)
        statement.bind(QStringLiteral("P%1").arg(i), values.at(i));
    statement.open();
    FUZZ_CHECK(statement.next());
    return statement.value(0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    FUZZ_CHECK(database().isOpen());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    // Text: the statement layer refuses NUL; everything else arrives as itself
    // (empty text is NULL by design).
    QString text = QString::fromUtf8(bytes);
    // Noncharacters (U+FFFE, U+FFFF …) come back changed through Qt's SQLite
    // driver; whether the statement layer refuses them is its own decision.
    const bool noncharacter = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c.unicode() >= 0xFDD0 && c.unicode() <= 0xFDEF) || (c.unicode() & 0xFFFE) == 0xFFFE;
    });
    if (noncharacter)
        text.clear();
    try {
        const QVariant value = selectOne(QStringLiteral("SELECT :P0"), {text});
        FUZZ_CHECK(text.isEmpty() ? value.isNull() : value.toString() == text);
        const QString tail = QString::fromUtf8(bytes.left(5));
        if (!text.isEmpty() && !tail.isEmpty())
            FUZZ_CHECK(selectOne(QStringLiteral("SELECT :P0 || :P1"), {text, tail}).toString()
                       == text + tail);
        // A text ending in white space after the value (a lone surrogate once
        // took the closing quote along there).
        if (!text.isEmpty())
            FUZZ_CHECK(selectOne(QStringLiteral("SELECT :P0 = :P1 \n"), {text, text}).toInt() == 1);
    } catch (const DbError &) {
        FUZZ_CHECK(text.contains(QChar(0)));
    }

    // Numbers from the first eight bytes.
    if (size >= 8) {
        qint64 whole;
        double fraction;
        std::memcpy(&whole, data, sizeof whole);
        std::memcpy(&fraction, data, sizeof fraction);
        FUZZ_CHECK(selectOne(QStringLiteral("SELECT :P0"), {whole}).toLongLong() == whole);
        if (whole != std::numeric_limits<qint64>::min())
            FUZZ_CHECK(selectOne(QStringLiteral("SELECT 0 - :P0"), {whole}).toLongLong() == -whole);
        // SQLite reads decimal text of extreme magnitudes (near the
        // subnormal range) one unit in the last place off; business values
        // stay far inside these bounds.
        if (std::isfinite(fraction)
            && (fraction == 0 || (std::fabs(fraction) > 1e-290 && std::fabs(fraction) < 1e290)))
            FUZZ_CHECK(selectOne(QStringLiteral("SELECT :P0"), {fraction}).toDouble() == fraction);
    }
    return 0;
}
