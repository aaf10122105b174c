#include "barcode.h"

#include <zint.h>

#include <cmath>
#include <memory>

QList<bool> code128Modules(const QByteArray &data, QString *error)
{
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> symbol(ZBarcode_Create(),
                                                                       ZBarcode_Delete);
    QList<bool> modules;
    if (!symbol)
        return modules;
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0;
    symbol->output_options |= BARCODE_NO_QUIET_ZONES;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    if (ZBarcode_Encode(symbol.get(), bytes, int(data.size())) >= ZINT_ERROR
        || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR || !symbol->vector) {
        if (error)
            *error = QString::fromLatin1(symbol->errtxt);
        return modules;
    }
    // The vector scales modules by a factor of its own: measure it against the width.
    const int width = symbol->width;
    const double unit = double(symbol->vector->width) / width;
    modules.fill(false, width);
    for (const zint_vector_rect *r = symbol->vector->rectangles; r; r = r->next) {
        const int first = int(std::lround(r->x / unit));
        const int count = int(std::lround(r->width / unit));
        for (int m = first; m < first + count && m < width; ++m)
            modules[m] = true;
    }
    return modules;
}
