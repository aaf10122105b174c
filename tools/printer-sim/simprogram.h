#pragma once

#include <QString>

class PrinterSim;
class QCommandLineParser;
class QCoreApplication;

/// The options every simulator program takes (--out, --link, --rate, --pace,
/// --commands).
void addSimulatorOptions(QCommandLineParser &parser);
/// What the programs' help says about running them, with the command list.
QString simulatorUsage();

/// Runs a simulator as a program: applies the options, prints the terminal's
/// path as the first line of standard output, then one line per event, and
/// takes commands (PrinterSim::command) one a line, answering each "OK" or
/// "ERR …": from standard input, ending at its end, or with --commands from a
/// FIFO, ending only at "quit" or a signal. Every end (SIGINT, SIGTERM and
/// SIGHUP included) removes the link and a FIFO the program made.
int runSimulator(QCoreApplication &app, QCommandLineParser &parser, PrinterSim &sim);

/// Rendering needs a GUI application; without a display it draws offscreen.
void useOffscreenUnlessSet();
