#include "dbedit.h"

#include "editcolour.h"
#include "uppercasevalidator.h"
#include "useraction.h"

#include "db/clientdataset.h"

DbEdit::DbEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &DbEdit::store);
}

void DbEdit::bind(ClientDataSet *dataSet, const QString &fieldName)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    m_field = fieldName;
    if (dataSet) {
        connect(dataSet, &ClientDataSet::currentRowChanged, this, &DbEdit::refresh);
        connect(dataSet, &ClientDataSet::currentValuesChanged, this, &DbEdit::refresh);
        connect(dataSet, &ClientDataSet::stateChanged, this, &DbEdit::refresh);
        connect(dataSet, &QAbstractItemModel::modelReset, this, &DbEdit::refresh);
    }
    refresh();
}

void DbEdit::setUpperCase(bool upperCase)
{
    m_upperCase = upperCase;
    setValidator(upperCase ? new UpperCaseValidator(this) : nullptr);
}

void DbEdit::setInputMode(InputMode mode)
{
    m_inputMode = mode;
    setInputMethodHints(mode == InputMode::Latin ? Qt::ImhLatinOnly : Qt::ImhNone);
    // A Latin field bypasses the input method altogether, as the IME is closed there.
    setAttribute(Qt::WA_InputMethodEnabled, mode != InputMode::Latin);
}

void DbEdit::setEditable(bool editable)
{
    setReadOnly(!editable);
    EditColour::setBackground(this, editable ? EditColour::normal() : EditColour::silver());
}

void DbEdit::refresh()
{
    if (m_storing)
        return;
    QString shown;
    if (m_dataSet && m_dataSet->isActive()) {
        shown = m_dataSet->text(m_field);
        const int index = m_dataSet->fieldIndex(m_field);
        if (index >= 0 && maxLength() == 32767 && m_dataSet->field(index).size() > 0)
            setMaxLength(m_dataSet->field(index).size());
    }
    if (text() != shown)
        setText(shown);
}

void DbEdit::store(const QString &typed)
{
    RunUserAction([&] {
        if (!m_dataSet || !m_dataSet->isActive()) {
            refresh();
            return;
        }
        // The row follows the text: nothing it signals meanwhile may overwrite what was typed.
        m_storing = true;
        try {
            if (!m_dataSet->isEditing())
                m_dataSet->edit();
            m_dataSet->setValue(m_field, typed);
        } catch (...) {
            m_storing = false;
            refresh();
            throw;
        }
        m_storing = false;
    });
}
