#pragma once

class QLineEdit;

/// Limits an entry box to a number of cp949 bytes, as the suite's database
/// columns count them (a Hangul syllable takes two): what would go past the
/// limit is not taken.
void LimitTextBytes(QLineEdit *edit, int maxBytes);
