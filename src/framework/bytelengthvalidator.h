#pragma once

#include <QValidator>

/// Accepts a text only while it takes at most a number of cp949 bytes (a
/// Hangul syllable takes two), so that typing, pasting and input-method text
/// stop at the limit as the suite's fixed-width fields count it. Text set by
/// the program bypasses validators: cut it with Cp949::truncateToBytes.
class ByteLengthValidator : public QValidator
{
    Q_OBJECT

public:
    ByteLengthValidator(int maxBytes, QObject *parent);

    int maxBytes() const { return m_maxBytes; }
    void setMaxBytes(int maxBytes) { m_maxBytes = maxBytes; }

    State validate(QString &input, int &pos) const override;

private:
    int m_maxBytes;
};
