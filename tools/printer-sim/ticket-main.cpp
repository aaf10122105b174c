// kesa-ticket-sim: a ticket printer on a pseudo-terminal, for trying ticket
// designs and print runs without a printer.
#include "simprogram.h"
#include "ticketsim.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>

int main(int argc, char *argv[])
{
    useOffscreenUnlessSet();
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ticket printer simulator. ")
                                     + simulatorUsage());
    addSimulatorOptions(parser);
    parser.addOption({QStringLiteral("paper"),
                      QStringLiteral("Paper in mm, across the head x along the feed (default "
                                     "155x60)."),
                      QStringLiteral("WxH"),
                      QStringLiteral("155x60")});
    parser.process(app);

    TicketSim sim;
    static const QRegularExpression size(QStringLiteral("^(\\d+)x(\\d+)$"));
    const QRegularExpressionMatch m = size.match(parser.value(QStringLiteral("paper")));
    if (!m.hasMatch() || m.captured(1).toInt() == 0 || m.captured(2).toInt() == 0) {
        std::fprintf(stderr, "--paper takes WIDTHxHEIGHT in mm, e.g. 155x60\n");
        return 2;
    }
    sim.setPaperSize(QSize(m.captured(1).toInt(), m.captured(2).toInt()));
    return runSimulator(app, parser, sim);
}
