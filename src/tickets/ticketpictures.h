#pragma once

#include <QImage>
#include <QString>

/// The pictures of the ticket designer, drawn by the program itself. The paper
/// and the four direction pictures are JPEG files, made in the user's cache
/// folder at first use and read back through the JPEG loader.
namespace TicketPictures {

/// 100 × 60: a ticket seen from above, its print head edge marked.
QImage paper();
/// 48 × 48: an arrow and a letter turned by direction × 90 degrees.
QImage direction(int direction);
/// The barcode item's fixed picture (stretched to the item's size).
QImage barcode();

/// Where the JPEG files are kept; tests point it elsewhere.
void setFolder(const QString &folder);
QString folder();

} // namespace TicketPictures
