// The statement text parser: the text it builds back parses to the same
// parameters and builds to itself (one pass settles it); a text without
// parameters or SYSDATE comes back unchanged.
#include "fuzzcheck.h"

#include "db/sqltext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql = QString::fromUtf8(Fuzz::bytes(data, size));
    const SqlText parsed(sql);
    const auto asWritten = [&](const SqlText &text) {
        return text.build([&](int i) { return QLatin1Char(':') + text.parameters().at(i); });
    };
    const QString built = asWritten(parsed);
    const SqlText again(built);
    FUZZ_CHECK(again.parameters() == parsed.parameters());
    FUZZ_CHECK(asWritten(again) == built);
    if (!sql.contains(QLatin1Char(':'))
        && !sql.contains(QLatin1String("SYSDATE"), Qt::CaseInsensitive))
        FUZZ_CHECK(built == sql);
    // Every place is filled exactly once.
    int places = 0;
    parsed.build([&](int i) {
        FUZZ_CHECK(i == places);
        ++places;
        return QString();
    });
    FUZZ_CHECK(places == parsed.parameters().size());
    return 0;
}
