#pragma once

#include <QString>
#include <QVariant>

class QSqlDriver;

/// How a value reaches a statement: as a literal in the statement text, or as a
/// bound value of a prepared statement. Both give the value itself or refuse it
/// with DbError (text with NUL or a lone surrogate, numbers that are not finite,
/// integers and dates out of range); empty text, null values and invalid dates
/// are NULL.
namespace SqlValue {

/// The text a QVariant holds, read in place (no copy); null when it holds no QString.
inline const QString *textIn(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<QString>()
                   ? static_cast<const QString *>(value.constData())
                   : nullptr;
}

/// Throws DbError when the text is not valid UTF-16 or holds NUL.
void checkText(const QString &text);

/// The literal for the statement text of the engine (the driver quotes text
/// for PostgreSQL).
QString literal(const QVariant &value, bool postgres, const QSqlDriver *driver);

/// The value to bind: dates as the texts the literals use; on PostgreSQL every
/// value as text, which the prepared statement converts to its parameter's type.
QVariant bindable(const QVariant &value, bool postgres);

} // namespace SqlValue
