#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// The modules of a Code 128 symbol without quiet zones: true is a bar.
/// Empty, with the reason in error, when the data cannot be encoded.
QList<bool> code128Modules(const QByteArray &data, QString *error = nullptr);
