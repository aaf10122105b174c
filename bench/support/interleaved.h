#pragma once

#include <functional>
#include <QList>
#include <QString>

/// Measures a pair side by side: the program's way and its floor, run
/// alternately (program, floor, floor, program, program, floor …) so that a
/// machine getting busier or quieter meanwhile, and the order within a pair,
/// weigh on both alike. Each side returns the seconds of the work it times
/// (its preparation left out). One pair is run first and not counted (caches,
/// plans, lazy loading).
namespace Interleaved {

/// Pairs to count: $KESA_BENCH_PAIRS, at least 15.
int pairs();

/// Runs the pairs and prints one line a script can read:
///   ratio MEASURE ENGINE 1.24 target 1.30 ok program_ms 12.40 floor_ms 10.00 pairs 15
/// (ratio of the medians; "over" instead of "ok" beyond the target). Returns
/// whether the ratio is within the target.
bool report(const QString &measure,
            const QString &engine,
            double target,
            const std::function<double()> &program,
            const std::function<double()> &floor);

/// As above, where the floor's runs carry a cost that is no part of the
/// measure (a client's start-up and connection): `floorBase` runs that cost
/// alone, interleaved with the floor, and the floor is the median of its runs
/// less the median of the base's.
bool report(const QString &measure,
            const QString &engine,
            double target,
            const std::function<double()> &program,
            const std::function<double()> &floor,
            const std::function<double()> &floorBase);

/// The medians of interleaved pairs, as report() takes them, for a side
/// measure that has no target of its own. `label` names the samples
/// ($KESA_BENCH_SAMPLES).
struct Medians
{
    double program = 0;
    double floor = 0;
    int pairs = 0;
};
Medians measure(const QString &label,
                const std::function<double()> &program,
                const std::function<double()> &floor,
                const std::function<double()> &floorBase = {});

/// Seconds `work` takes.
double timed(const std::function<void()> &work);

/// The middle value (the mean of the two middle ones of an even count).
double median(QList<double> values);

/// Prints the line report() prints, for a measure that takes its own runs:
/// the ratio of `program` to `floor` (seconds, both medians) over `runs`.
/// Returns whether the ratio is within the target.
bool print(const QString &measure,
           const QString &engine,
           double target,
           double program,
           double floor,
           int runs);

} // namespace Interleaved
