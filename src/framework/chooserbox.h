#pragma once

#include <QComboBox>

/// A drop-down list that, while disabled, shows its text in the plain style of a
/// read-only entry field, without the drop-down button: a choice that is fixed
/// reads as a value, not as a control.
class ChooserBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ChooserBox(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
