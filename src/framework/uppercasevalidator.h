#pragma once

#include <QValidator>

/// Turns whatever is typed into upper case as it is typed.
class UpperCaseValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString &input, int &position) const override;
};
