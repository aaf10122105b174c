#include "interleaved.h"

#include <algorithm>
#include <cstdio>
#include <QElapsedTimer>
#include <QList>

namespace Interleaved {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

bool print(const QString &measure,
           const QString &engine,
           double target,
           double program,
           double floor,
           int runs)
{
    const double ratio = floor > 0 ? program / floor : 0;
    const bool ok = floor > 0 && ratio <= target;
    std::printf("ratio %s %s %.2f target %.2f %s program_ms %.3f floor_ms %.3f pairs %d\n",
                qPrintable(measure),
                qPrintable(engine),
                ratio,
                target,
                ok ? "ok" : "over",
                program * 1000,
                floor * 1000,
                runs);
    std::fflush(stdout);
    return ok;
}

int pairs()
{
    bool ok = false;
    const int wanted = qEnvironmentVariableIntValue("KESA_BENCH_PAIRS", &ok);
    return ok ? std::max(wanted, 15) : 15;
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

bool report(const QString &measure,
            const QString &engine,
            double target,
            const std::function<double()> &program,
            const std::function<double()> &floor)
{
    return report(measure, engine, target, program, floor, {});
}

bool report(const QString &measure,
            const QString &engine,
            double target,
            const std::function<double()> &program,
            const std::function<double()> &floor,
            const std::function<double()> &floorBase)
{
    const Medians m = Interleaved::measure(measure + QLatin1Char(' ') + engine,
                                           program,
                                           floor,
                                           floorBase);
    return print(measure, engine, target, m.program, m.floor, m.pairs);
}

Medians measure(const QString &label,
                const std::function<double()> &program,
                const std::function<double()> &floor,
                const std::function<double()> &floorBase)
{
    // The floor's base runs beside it, in the same turn of the pair.
    const auto floorSide = [&](QList<double> &floorTimes, QList<double> &baseTimes) {
        floorTimes.append(floor());
        if (floorBase)
            baseTimes.append(floorBase());
    };
    QList<double> ignored;
    QList<double> ignoredBase;
    program();
    floorSide(ignored, ignoredBase);
    QList<double> programTimes;
    QList<double> floorTimes;
    QList<double> baseTimes;
    const int n = pairs();
    // Every other pair runs its floor first: whatever the first of two runs
    // pays for the second (or the second for the first) falls on both sides.
    for (int i = 0; i < n; ++i) {
        if (i % 2 == 0) {
            programTimes.append(program());
            floorSide(floorTimes, baseTimes);
        } else {
            floorSide(floorTimes, baseTimes);
            programTimes.append(program());
        }
    }
    if (qEnvironmentVariableIsSet("KESA_BENCH_SAMPLES")) {
        QString line = label + QLatin1String(" program/floor ms:");
        for (int i = 0; i < n; ++i) {
            line += QStringLiteral(" %1/%2")
                            .arg(programTimes.at(i) * 1000, 0, 'f', 3)
                            .arg(floorTimes.at(i) * 1000, 0, 'f', 3);
            if (floorBase)
                line += QStringLiteral("-%1").arg(baseTimes.at(i) * 1000, 0, 'f', 3);
        }
        std::fprintf(stderr, "%s\n", qPrintable(line));
    }
    return {median(programTimes), median(floorTimes) - (floorBase ? median(baseTimes) : 0.0), n};
}

} // namespace Interleaved
