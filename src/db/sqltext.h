#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// A statement text cut into literal pieces and parameter places, so that each
/// engine can be given the text in the form it understands. Quotes, quoted
/// names, comments and "::" casts are left alone. A bare SYSDATE (not a column
/// of a table alias, not already a call) becomes the call SYSDATE().
class SqlText
{
public:
    explicit SqlText(const QString &sql);

    /// The parameter names in order of occurrence, upper case, without colon.
    const QStringList &parameters() const { return m_parameters; }
    /// The text with every parameter place replaced by what the callback gives
    /// for the place's index (into parameters()).
    template<typename F>
    QString build(F placeText) const
    {
        QString out;
        for (int i = 0; i < m_pieces.size(); ++i) {
            out += m_pieces.at(i);
            if (i < m_parameters.size())
                out += placeText(i);
        }
        return out;
    }

private:
    QStringList m_pieces; // one more than parameters
    QStringList m_parameters;
};
