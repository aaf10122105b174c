// kesa-coupon-sim: a coupon printer on a pseudo-terminal, for trying coupon
// layouts and print runs without a printer.
#include "couponsim.h"
#include "simprogram.h"

#include <QCommandLineParser>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    useOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Coupon printer simulator. ")
                                     + simulatorUsage());
    addSimulatorOptions(parser);
    parser.process(app);

    CouponSim sim;
    return runSimulator(app, parser, sim);
}
