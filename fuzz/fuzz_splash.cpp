// The splash resource check: whatever the file, the check answers at once, and
// every file it accepts is read by Qt's resource reader without harm.
#include "fuzzcheck.h"

#include "shell/splashresource.h"

#include <QDirIterator>
#include <QFile>
#include <QResource>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    if (!SplashResource::fault(bytes).isEmpty())
        return 0;
    const QString root = QStringLiteral("/fuzz");
    const auto *resource = reinterpret_cast<const uchar *>(bytes.constData());
    if (!QResource::registerResource(resource, root))
        return 0;
    QDirIterator it(QLatin1Char(':') + root,
                    QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    int entries = 0;
    while (it.hasNext() && entries++ < 1000) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            FUZZ_CHECK(file.readAll().size() <= SplashResource::MaxEntryBytes);
    }
    QResource::unregisterResource(resource, root);
    return 0;
}
