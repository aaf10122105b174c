#pragma once

#include "couponline.h"

#include <optional>
#include <QList>
#include <QString>

/// The coupon layout file: an INI file with one section named after the
/// screen, three keys a line ("Prn"n, "Ver"n, "Hor"n), the text between "@#"
/// marks so that leading and trailing blanks survive the file.
namespace CouponLayout {

constexpr int LineCount = 21;

/// The section of the file.
QString section();

/// Writes the lines (LineCount of them), replacing the file whole or not at
/// all; false when it cannot be written or a line holds a character cp949 lacks.
bool save(const QString &path, const QList<CouponLine> &lines);
/// The first line (from 1) that holds a character cp949 lacks; 0 when none.
int unencodableLine(const QList<CouponLine> &lines);

/// Reads LineCount lines (enabled, as the screen's rules decide that); nothing
/// when the file holds no coupon layout.
std::optional<QList<CouponLine>> load(const QString &path);

/// "@#" + text + "@#".
QString marked(const QString &text);
/// Removes one leading and one trailing "@#": a text that holds the marks keeps them.
QString unmarked(const QString &value);

} // namespace CouponLayout
