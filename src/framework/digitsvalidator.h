#pragma once

#include <QValidator>

class QLineEdit;

/// A whole number typed as digits only, within a range: no sign, no blanks,
/// never more digits than the maximum has. A number below the minimum is
/// accepted while typing (it may still grow) but is not acceptable input.
class DigitsValidator : public QValidator
{
public:
    DigitsValidator(int minimum, int maximum, QObject *parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    /// The most digits the field takes (those of the maximum).
    int maxDigits() const;

    State validate(QString &input, int &pos) const override;

    /// Makes a field a digits-only field of the range (validator and length limit).
    static DigitsValidator *apply(QLineEdit *field, int minimum, int maximum);

private:
    int m_minimum;
    int m_maximum;
};
