#include "markedcontrols.h"

#include <QVariant>
#include <QWidget>

void MarkedControls::watch(QObject *filter, const QList<QWidget *> &controls, const char *mark)
{
    for (QWidget *control : controls) {
        if (!control || isMarked(control, mark))
            continue;
        control->setProperty(mark, true);
        control->installEventFilter(filter);
    }
}

bool MarkedControls::isMarked(const QObject *object, const char *mark)
{
    return object->property(mark).toBool();
}
