#pragma once

class PrinterSim;
class QCommandLineParser;
class QCoreApplication;

/// The options every simulator program takes (--out, --link, --rate, --pace).
void addSimulatorOptions(QCommandLineParser &parser);

/// Runs a simulator as a program: applies the options, prints the terminal's
/// path as the first line of standard output, then one line per event, and
/// takes commands (PrinterSim::command) from standard input, one a line,
/// answering each "OK" or "ERR …". Ends at the end of standard input.
int runSimulator(QCoreApplication &app, QCommandLineParser &parser, PrinterSim &sim);

/// Rendering needs a GUI application; without a display it draws offscreen.
void useOffscreenUnlessSet();
