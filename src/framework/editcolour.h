#pragma once

#include <QColor>

class QWidget;

/// The colours of entry controls: focus, normal and read-only.
namespace EditColour {

/// The tool-tip background of the system (the focus colour).
QColor focus();
inline QColor normal()
{
    return QColor(0xFF, 0xFF, 0xFF);
}
inline QColor readOnly()
{
    return QColor(0x80, 0x80, 0x80);
}
/// The silver of a data-aware field that cannot be edited.
inline QColor silver()
{
    return QColor(0xC0, 0xC0, 0xC0);
}

/// Colours a control by its kind: single-line, multi-line and numeric edit
/// boxes take the read-only colour while read-only and `colour` otherwise; a
/// combo box always takes `colour`; data-aware fields and every other kind stay
/// as they are.
void SetEditColor(QWidget *control, const QColor &colour);
/// The background colour a control shows while enabled (its palette's base).
QColor colourOf(const QWidget *control);
/// Sets the background of an entry control while enabled; disabled, it shows
/// the style's disabled colour.
void setBackground(QWidget *control, const QColor &colour);

} // namespace EditColour
