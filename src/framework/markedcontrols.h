#pragma once

#include <QList>

class QObject;
class QWidget;

/// Controls a window filters for a purpose of its own (search fields, row keys,
/// edit controls): each carries a mark, a property named `mark`, that the
/// filter's eventFilter() asks for. A mark on the control rather than a list
/// in the window: controls die with the window, after its members are gone.
namespace MarkedControls {

/// Marks the controls and installs `filter` on each; marking one again
/// changes nothing. Null controls are passed over.
void watch(QObject *filter, const QList<QWidget *> &controls, const char *mark);
/// True when `object` carries the mark.
bool isMarked(const QObject *object, const char *mark);

} // namespace MarkedControls
