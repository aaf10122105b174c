#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

/// JPEG pictures through libjpeg, called directly (the program does not rely
/// on an image plugin being installed).
namespace JpegImage {

/// Decodes JPEG bytes; a null image when they are not a JPEG picture.
QImage decode(const QByteArray &bytes);
/// Reads and decodes a file; a null image when it cannot be read or decoded.
QImage load(const QString &path);
/// Encodes a picture (quality 0 … 100); empty on failure.
QByteArray encode(const QImage &image, int quality = 90);

} // namespace JpegImage
