#include "keysetpaging.h"

#include <QSet>

namespace {

struct Token
{
    enum Kind { Word, Number, Quoted, Symbol };
    Kind kind = Symbol;
    int start = 0;
    int end = 0;   // one past the token
    int depth = 0; // parentheses around the token
    QString upper; // words in upper case; symbols as they are
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$')
           || c == QLatin1Char('#');
}

// The tokens of a statement text; whitespace and comments separate them.
QList<Token> tokenize(const QString &sql)
{
    QList<Token> tokens;
    const int n = int(sql.size());
    int depth = 0;
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const int end = int(sql.indexOf(QLatin1Char('\n'), i));
            i = end < 0 ? n : end;
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = int(sql.indexOf(QLatin1String("*/"), i + 2));
            i = end < 0 ? n : end + 2;
            continue;
        }
        Token token;
        token.start = i;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            token.kind = c == QLatin1Char('"') ? Token::Word : Token::Quoted;
            token.end = j;
        } else if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(sql.at(j)))
                ++j;
            token.kind = c.isDigit() ? Token::Number : Token::Word;
            token.end = j;
        } else {
            token.end = i + 1;
            if (c == QLatin1Char(')'))
                --depth;
        }
        token.depth = depth;
        if (c == QLatin1Char('('))
            ++depth;
        token.upper = sql.mid(token.start, token.end - token.start);
        if (token.kind == Token::Word)
            token.upper = token.upper.toUpper();
        tokens.append(token);
        i = token.end;
    }
    return tokens;
}

bool isWord(const Token &token, const char *word)
{
    return token.kind == Token::Word && token.upper == QLatin1String(word);
}

// Tokens [from, to) cut at the commas of their own level.
QList<QPair<int, int>> splitAtCommas(const QList<Token> &tokens, int from, int to)
{
    QList<QPair<int, int>> parts;
    if (from >= to)
        return parts;
    const int depth = tokens.at(from).depth;
    int start = from;
    for (int i = from; i < to; ++i) {
        if (tokens.at(i).depth == depth && tokens.at(i).upper == QLatin1String(",")) {
            parts.append({start, i});
            start = i + 1;
        }
    }
    parts.append({start, to});
    return parts;
}

// One item of the select list: its expression and the name of its column.
struct SelectItem
{
    QString expression;
    QString name; // the alias, or the last part of a plain (qualified) column name
    bool star = false;
};

SelectItem selectItem(const QString &sql, const QList<Token> &tokens, int from, int to)
{
    static const QSet<QString> notAliases = {QStringLiteral("END"),
                                             QStringLiteral("NULL"),
                                             QStringLiteral("TRUE"),
                                             QStringLiteral("FALSE")};
    SelectItem item;
    int exprEnd = to;
    const Token &last = tokens.at(to - 1);
    if (to - from >= 2 && last.kind == Token::Word && !notAliases.contains(last.upper)) {
        const Token &before = tokens.at(to - 2);
        if (isWord(before, "AS")) {
            item.name = last.upper;
            exprEnd = to - 2;
        } else if (before.upper != QLatin1String(".") && before.kind != Token::Symbol) {
            item.name = last.upper;
            exprEnd = to - 1;
        } else if (before.upper == QLatin1String(")")) {
            item.name = last.upper;
            exprEnd = to - 1;
        }
    }
    item.expression = sql.mid(tokens.at(from).start,
                              tokens.at(exprEnd - 1).end - tokens.at(from).start);
    item.star = tokens.at(exprEnd - 1).upper == QLatin1String("*");
    if (item.name.isEmpty() && !item.star && last.kind == Token::Word) {
        // A column: NAME or ALIAS.NAME.
        bool plain = true;
        for (int i = from; i < to && plain; ++i) {
            const Token &t = tokens.at(i);
            plain = ((i - from) % 2 == 0) ? t.kind == Token::Word : t.upper == QLatin1String(".");
        }
        if (plain)
            item.name = last.upper;
    }
    return item;
}

} // namespace

KeysetPaging::KeysetPaging(const QString &statement, DbEngine engine)
{
    QString sql = statement.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.chopped(1).trimmed();
    const QList<Token> tokens = tokenize(sql);

    int select = -1;
    int from = -1;
    int order = -1;
    for (int i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens.at(i);
        if (t.depth != 0 || t.kind != Token::Word)
            continue;
        if (t.upper == QLatin1String("SELECT") && select < 0) {
            select = i;
        } else if (t.upper == QLatin1String("FROM") && select >= 0 && from < 0) {
            from = i;
        } else if (t.upper == QLatin1String("ORDER") && i + 1 < tokens.size()
                   && isWord(tokens.at(i + 1), "BY")) {
            order = i;
        } else if (t.upper == QLatin1String("UNION") || t.upper == QLatin1String("EXCEPT")
                   || t.upper == QLatin1String("INTERSECT") || t.upper == QLatin1String("MINUS")
                   || t.upper == QLatin1String("LIMIT") || t.upper == QLatin1String("OFFSET")
                   || t.upper == QLatin1String("FETCH") || t.upper == QLatin1String("FOR")) {
            return;
        }
    }
    if (select < 0 || from < 0 || order < 0 || order < from)
        return;
    int listStart = select + 1;
    if (listStart < from && isWord(tokens.at(listStart), "DISTINCT"))
        return;
    if (listStart < from && isWord(tokens.at(listStart), "ALL"))
        ++listStart;

    QList<SelectItem> items;
    for (const auto &[a, b] : splitAtCommas(tokens, listStart, from)) {
        if (a >= b)
            return;
        items.append(selectItem(sql, tokens, a, b));
    }

    QList<Key> keys;
    bool rewritten = false;
    for (const auto &[a, b] : splitAtCommas(tokens, order + 2, int(tokens.size()))) {
        int end = b;
        Key key;
        if (end - a >= 3 && isWord(tokens.at(end - 2), "NULLS")
            && (isWord(tokens.at(end - 1), "FIRST") || isWord(tokens.at(end - 1), "LAST"))) {
            key.nullsClause = isWord(tokens.at(end - 1), "LAST") ? QStringLiteral(" NULLS LAST")
                                                                 : QStringLiteral(" NULLS FIRST");
            end -= 2;
        }
        if (end - a >= 2
            && (isWord(tokens.at(end - 1), "ASC") || isWord(tokens.at(end - 1), "DESC"))) {
            key.descending = isWord(tokens.at(end - 1), "DESC");
            --end;
        }
        if (end <= a)
            return;
        const QString expression = sql.mid(tokens.at(a).start,
                                           tokens.at(end - 1).end - tokens.at(a).start);
        key.expression = expression;
        if (end - a == 1 && tokens.at(a).kind == Token::Number) {
            // By position: the item's expression.
            bool ok = false;
            const int position = expression.toInt(&ok);
            if (!ok || position < 1 || position > items.size())
                return;
            for (int i = 0; i < position; ++i) {
                if (items.at(i).star)
                    return;
            }
            key.expression = items.at(position - 1).expression;
        } else if (end - a == 1 && tokens.at(a).kind == Token::Word) {
            // A name: a column of the select list when one has that name.
            for (const SelectItem &item : std::as_const(items)) {
                if (item.name == tokens.at(a).upper) {
                    key.expression = item.expression;
                    break;
                }
            }
        }
        if (key.nullsClause.isEmpty()) {
            // SQLite sorts NULLs as the smallest value, PostgreSQL as the largest.
            key.nullsLast = (engine == DbEngine::PostgreSQL) != key.descending;
        } else {
            key.nullsLast = key.nullsClause == QLatin1String(" NULLS LAST");
        }
        if (engine == DbEngine::SQLite && key.nullsLast != key.descending) {
            // NULLs where SQLite's index does not put them: SQLite sorts such an
            // item on its own after the index's order. "X IS NULL, X" is the same
            // order, and an index holding that term serves it.
            Key placed;
            placed.expression = QStringLiteral("(%1) IS NULL").arg(key.expression);
            placed.descending = key.descending;
            keys.append(placed);
            key.nullsClause.clear();
            rewritten = true;
        }
        keys.append(key);
    }
    if (rewritten) {
        QStringList items;
        for (const Key &key : std::as_const(keys))
            items << key.expression + (key.descending ? QLatin1String(" DESC") : QLatin1String());
        m_order = items.join(QLatin1String(", "));
    } else {
        m_order = sql.mid(tokens.at(order + 2).start);
    }

    QString hidden;
    for (int i = 0; i < keys.size(); ++i)
        hidden += QStringLiteral("\n, %1 AS KESA_K%2").arg(keys.at(i).expression, QString::number(i));
    const int fromAt = tokens.at(from).start;
    const int orderAt = tokens.at(order).start;
    m_inner = sql.left(fromAt) + hidden + QLatin1Char('\n') + sql.mid(fromAt, orderAt - fromAt);
    m_keys = keys;
}

QString KeysetPaging::firstPacket(int count) const
{
    QString text = m_inner + QStringLiteral("\nORDER BY ") + m_order;
    if (count >= 0)
        text += QStringLiteral("\nLIMIT %1").arg(count);
    return text;
}

QString KeysetPaging::nextPacket(const QVariantList &lastKey, int count, QVariantMap &bindings) const
{
    const auto isNull = [](const QVariant &v) {
        return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
    };
    // When NULLs of the first key come after its other values, the rows after
    // the last key are two runs: the greater values, then the NULLs. Each run is
    // its own part, so that each can seek in an index that serves the order (an
    // "OR K IS NULL" would make the server read and sort every row).
    const Key &first = m_keys.first();
    const bool nullRun = first.nullsLast && !isNull(lastKey.value(0));
    // The rows after the last key, from the last key column inward:
    // after(i) = greater(i) OR (equal(i) AND after(i + 1)).
    QString after;
    for (int i = int(m_keys.size()) - 1; i >= 0; --i) {
        const Key &key = m_keys.at(i);
        const QString column = QStringLiteral("KESA_K%1").arg(i);
        const QString value = QStringLiteral(":KESA_V%1").arg(i);
        QString greater;
        QString equal;
        if (isNull(lastKey.value(i))) {
            greater = key.nullsLast ? QString() : column + QLatin1String(" IS NOT NULL");
            equal = column + QLatin1String(" IS NULL");
        } else {
            bindings.insert(QStringLiteral("KESA_V%1").arg(i), lastKey.at(i));
            greater = column + (key.descending ? QLatin1String(" < ") : QLatin1String(" > "))
                      + value;
            if (key.nullsLast && !(i == 0 && nullRun))
                greater = QLatin1Char('(') + greater + QLatin1String(" OR ") + column
                          + QLatin1String(" IS NULL)");
            equal = column + QLatin1String(" = ") + value;
        }
        QString both;
        if (!after.isEmpty())
            both = equal + QLatin1String(" AND (") + after + QLatin1Char(')');
        if (greater.isEmpty())
            after = both.isEmpty() ? QStringLiteral("1 = 0") : both;
        else
            after = both.isEmpty() ? greater : greater + QLatin1String(" OR ") + both;
    }
    // A bound the index can seek to: the first key is at least the last one.
    if (!isNull(lastKey.value(0)))
        after = QStringLiteral("KESA_K0 %1 :KESA_V0 AND (%2)")
                        .arg(first.descending ? QLatin1String("<=") : QLatin1String(">="), after);

    QStringList order;
    for (int i = 0; i < m_keys.size(); ++i)
        order << QStringLiteral("KESA_K%1%2%3")
                         .arg(i)
                         .arg(m_keys.at(i).descending ? QLatin1String(" DESC") : QLatin1String())
                         .arg(m_keys.at(i).nullsClause);
    const QString limit = count >= 0 ? QStringLiteral("\nLIMIT %1").arg(count) : QString();
    const auto part = [&](const QString &where) {
        return QStringLiteral("SELECT * FROM (") + m_inner + QStringLiteral("\n) KESA_PAGE WHERE ")
               + where + QStringLiteral("\nORDER BY ") + order.join(QLatin1String(", ")) + limit;
    };
    if (!nullRun)
        return part(after);
    return QStringLiteral("SELECT * FROM (SELECT * FROM (%1) KESA_A UNION ALL SELECT * FROM (%2) "
                          "KESA_B) KESA_U\nORDER BY %3%4")
            .arg(part(after),
                 part(QStringLiteral("KESA_K0 IS NULL")),
                 order.join(QLatin1String(", ")),
                 limit);
}
