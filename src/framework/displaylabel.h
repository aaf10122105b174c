#pragma once

class QLabel;
class QString;
class QWidget;

/// A display label (`wlb…`): a sunken box on silver that shows a value the
/// user cannot edit.
QLabel *CreateDisplayLabel(const QString &objectName, QWidget *parent, int width);

/// A caption set right, beside the field it names.
QLabel *CreateCaptionLabel(const QString &objectName, const QString &caption, QWidget *parent);
