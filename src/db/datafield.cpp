#include "datafield.h"

DataField::DataField(const QString &name, Type type, int size)
    : m_name(name.toUpper())
    , m_type(type)
    , m_size(size)
{}

DataField &DataField::setType(Type type)
{
    m_type = type;
    return *this;
}

DataField &DataField::setSize(int size)
{
    m_size = size;
    return *this;
}

DataField &DataField::setRequired(bool required)
{
    m_required = required;
    return *this;
}

DataField &DataField::setCalculated(bool calculated)
{
    m_calculated = calculated;
    return *this;
}

DataField &DataField::setWritable(bool writable)
{
    m_writable = writable;
    return *this;
}

Qt::Alignment DataField::alignment() const
{
    if (m_alignment)
        return m_alignment;
    return isNumeric() ? Qt::AlignRight : Qt::AlignLeft;
}

DataField &DataField::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    return *this;
}

DataField &DataField::setDisplayLabel(const QString &label)
{
    m_label = label;
    return *this;
}
