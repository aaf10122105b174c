#pragma once

#include <QString>
#include <Qt>

/// One field of a client data set: a column of its statement, or a value the
/// screen calculates on the client (never written to the table).
///
/// Declared before the data set opens, a field keeps its order and properties;
/// the setters return the field so that a declaration fits on one line:
///
///     cdsGrid->addField(DataField(u"PROJECT_ID"_s, DataField::Text, 6).setRequired());
class DataField
{
public:
    enum Type { Text, Integer, Number, Date, DateTime };

    explicit DataField(const QString &name = QString(), Type type = Text, int size = 0);

    QString name() const { return m_name; }
    Type type() const { return m_type; }
    DataField &setType(Type type);
    /// Text length (0: unknown); entry fields bound to the field take it as their maximum.
    int size() const { return m_size; }
    DataField &setSize(int size);
    /// A posted row must have a value here.
    bool isRequired() const { return m_required; }
    DataField &setRequired(bool required = true);
    /// Computed by the data set's calculation handler; never written.
    bool isCalculated() const { return m_calculated; }
    DataField &setCalculated(bool calculated = true);
    /// False for a column of the statement that is not a column of the written
    /// table (a joined name, an expression): read, shown, never written.
    bool isWritable() const { return m_writable && !m_calculated; }
    DataField &setWritable(bool writable);
    /// Numbers right-aligned, everything else left-aligned, unless set.
    Qt::Alignment alignment() const;
    DataField &setAlignment(Qt::Alignment alignment);
    /// The caption of the field where a message names it (default: the name).
    QString displayLabel() const { return m_label.isEmpty() ? m_name : m_label; }
    DataField &setDisplayLabel(const QString &label);

    bool isNumeric() const { return m_type == Integer || m_type == Number; }

private:
    QString m_name;
    QString m_label;
    Type m_type = Text;
    int m_size = 0;
    bool m_required = false;
    bool m_calculated = false;
    bool m_writable = true;
    Qt::Alignment m_alignment;
};
