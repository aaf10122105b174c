#pragma once

#include "db/clientdataset.h"

#include <QLineEdit>
#include <QPointer>

/// A data-aware single-line edit box (`ded…`): shows a field of the current row
/// of a client data set, and typing puts the row into edit (or starts a new row
/// on an empty data set) and sets the field as the text changes. Typing while
/// the data set is closed changes nothing.
class DbEdit : public QLineEdit
{
    Q_OBJECT

public:
    /// The input method a field asks for. Qt has a hint for Latin input only;
    /// Korean leaves the input method as the user has it.
    enum class InputMode { Any, Korean, Latin };

    explicit DbEdit(QWidget *parent = nullptr);

    void bind(ClientDataSet *dataSet, const QString &fieldName);
    ClientDataSet *dataSet() const { return m_dataSet; }
    QString fieldName() const { return m_field; }

    /// Upper-cases what is typed.
    void setUpperCase(bool upperCase);
    bool isUpperCase() const { return m_upperCase; }
    void setInputMode(InputMode mode);
    InputMode inputMode() const { return m_inputMode; }
    /// Editable in white, or read-only in silver.
    void setEditable(bool editable);
    bool isEditable() const { return !isReadOnly(); }

private:
    void refresh();
    void store(const QString &text);

    QPointer<ClientDataSet> m_dataSet;
    QString m_field;
    bool m_upperCase = false;
    bool m_storing = false;
    InputMode m_inputMode = InputMode::Any;
};
