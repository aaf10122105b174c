#include "sqltext.h"

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

// Combining marks belong to the name they follow: the capital of some letters
// is a letter and marks (ΰ becomes Ϋ́), and a parameter name is kept in
// capitals, so a name must read back whole after upper-casing.
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_') || c == QLatin1Char('$')
           || c == QLatin1Char('#');
}

// Index just past a quoted run starting at i (the quote doubles as its own escape).
int skipQuoted(const QString &sql, int i)
{
    const QChar quote = sql.at(i);
    ++i;
    while (i < sql.size()) {
        if (sql.at(i) == quote) {
            if (i + 1 < sql.size() && sql.at(i + 1) == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

} // namespace

SqlText::SqlText(const QString &sql)
{
    QString piece;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int end = skipQuoted(sql, i);
            piece += sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            int end = sql.indexOf(QLatin1Char('\n'), i);
            end = end < 0 ? n : end;
            piece += sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            int end = sql.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? n : end + 2;
            piece += sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char(':') && next == QLatin1Char(':')) {
            piece += QLatin1String("::");
            i += 2;
        } else if (c == QLatin1Char(':') && !next.isNull() && (isNameChar(next))) {
            int end = i + 1;
            while (end < n && isNameChar(sql.at(end)))
                ++end;
            m_pieces.append(piece);
            piece.clear();
            m_parameters.append(sql.mid(i + 1, end - i - 1).toUpper());
            i = end;
        } else if (isNameStart(c)) {
            int end = i;
            while (end < n && isNameChar(sql.at(end)))
                ++end;
            const QString word = sql.mid(i, end - i);
            piece += word;
            if (word.compare(QLatin1String("SYSDATE"), Qt::CaseInsensitive) == 0
                && (i == 0 || sql.at(i - 1) != QLatin1Char('.'))) {
                int look = end;
                while (look < n && sql.at(look).isSpace())
                    ++look;
                if (look >= n || sql.at(look) != QLatin1Char('('))
                    piece += QLatin1String("()");
            }
            i = end;
        } else if (c.isDigit()) {
            // A number such as 1e5 must not be read as a name.
            int end = i;
            while (end < n && isNameChar(sql.at(end)))
                ++end;
            piece += sql.mid(i, end - i);
            i = end;
        } else {
            piece += c;
            ++i;
        }
    }
    m_pieces.append(piece);
}
