#pragma once

#include <QByteArray>
#include <QString>

/// The check a resource collection file (rcc --binary) passes before Qt's
/// resource reader is given it. Qt trusts every offset of such a file: a
/// damaged one crashes or hangs the start-up, and the splash file is looked up
/// in folders outside the program's control.
namespace SplashResource {

/// Files larger than this are no splash.
constexpr qsizetype MaxFileBytes = 32 * 1024 * 1024;
/// No entry unpacks to more than this.
constexpr qsizetype MaxEntryBytes = 16 * 1024 * 1024;

/// Empty when the bytes are a whole, consistent resource collection: a known
/// header, a tree without loops whose every node, name and data block lies
/// inside the file, compressed entries that unpack within MaxEntryBytes.
/// Otherwise the first fault found, for the log.
QString fault(const QByteArray &bytes);

} // namespace SplashResource
