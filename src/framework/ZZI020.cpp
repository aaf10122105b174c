#include "ZZI020.h"

#include "datagrid.h"
#include "dbedit.h"
#include "markedcontrols.h"
#include "messagetexts.h"
#include "useraction.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/clientdataset.h"
#include "db/deletereferences.h"
#include "db/sqlstatement.h"
#include "db/transaction.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const char *const RowKeysMark = "kesaRowKeys";
} // namespace

TfrmZZI020::TfrmZZI020(QWidget *parent)
    : TfrmZZI010(parent)
{
    setObjectName(QStringLiteral("frmZZI020"));

    cdsGrid = createDataSetGrid(this, *this, QStringLiteral("cdsGrid"));
    cdsGrid->setBeforePost([this] { cdsGridBeforePost(); });
    cdsGrid->setAfterPost([this] {
        if (!m_pendingKey.isNull())
            m_keyList.append(m_pendingKey);
        m_pendingKey = QString();
    });
    cdsGrid->setAfterScroll([this] { rgrGridRowChange(); });
    connect(cdsGrid, &ClientDataSet::stateChanged, this, [this] {
        RunUserAction([this] { cdsGridStateChange(); });
    });

    // The grid keeps its 120 pixels at least and takes whatever height the fields leave.
    rgrGrid->setMinimumHeight(120);
    mainLayout()->addWidget(rgrGrid, 1);
    setMainInsertIndex(0);

    createRowButtons(*this, bbtSave, MessageText::addCaption(), MessageText::deleteCaption());
    setTabChain({bbtAdd, bbtDelete, bbtSave, bbtCancel, bbtClose});
}

void TfrmZZI020::setKeyField(const QString &fieldName, QWidget *keyEdit, bool lockExisting)
{
    m_keyField = fieldName;
    m_keyEdit = keyEdit;
    m_lockExistingKey = lockExisting;
    cdsGridStateChange();
}

void TfrmZZI020::setRowKeys(const QList<QWidget *> &fields)
{
    MarkedControls::watch(this, fields, RowKeysMark);
}

bool TfrmZZI020::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && MarkedControls::isMarked(watched, RowKeysMark)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier
            && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            const bool up = key->key() == Qt::Key_Up;
            RunUserAction([this, up] {
                if (up)
                    sbtPriorClick();
                else
                    sbtNextClick();
            });
            return true;
        }
    }
    return TfrmZZI010::eventFilter(watched, event);
}

QString TfrmZZI020::keyText() const
{
    return m_keyField.isEmpty() ? QString() : cdsGrid->text(m_keyField);
}

void TfrmZZI020::cdsGridStateChange()
{
    if (auto *edit = qobject_cast<DbEdit *>(m_keyEdit); edit && m_lockExistingKey)
        edit->setEditable(cdsGrid->state() == ClientDataSet::State::Insert);
}

QVariantList TfrmZZI020::DuplicateCheckParams() const
{
    return {keyText()};
}

QString TfrmZZI020::KeyListText() const
{
    return keyText();
}

void TfrmZZI020::OpenGrid()
{
    cdsGrid->close();
    cdsGrid->setDatabase(database());
    SetGridParams();
    cdsGrid->open();
}

void TfrmZZI020::LoadData()
{
    OpenGrid();
    SettleCurrentRow();
    rgrGridRowChange();
}

void TfrmZZI020::SettleCurrentRow()
{
    if (!cdsGrid->isActive())
        return;
    const bool keyed = m_keyField.isEmpty() || !keyText().trimmed().isEmpty();
    if (!cdsGrid->isEmpty() && !keyed)
        cdsGrid->deleteRecord(); // a row being inserted is simply dropped
    if (cdsGrid->isEditing()) {
        if (m_keyField.isEmpty() || !keyText().trimmed().isEmpty())
            cdsGrid->post();
        else
            cdsGrid->cancel();
    }
}

bool TfrmZZI020::HasPendingChanges()
{
    return TfrmZZI010::HasPendingChanges() || (cdsGrid->isActive() && cdsGrid->changeCount() > 0);
}

QStringList TfrmZZI020::DeletedRowReferences(int) const
{
    return {};
}

void TfrmZZI020::SaveData()
{
    if (cdsGrid->isActive()) {
        Transaction::run(database(), [this] {
            QStringList references;
            for (int i = 0; i < cdsGrid->deletedCount(); ++i)
                references << DeletedRowReferences(i);
            DeleteReferences::refuseIfAny(references);
            cdsGrid->applyUpdates();
        });
    }
    setChanged(false);
    m_keyList.clear();
    ShowStatusMessage(MessageText::saved());
    OpenGrid();
    rgrGridRowChange();
}

void TfrmZZI020::DiscardChanges()
{
    TfrmZZI010::DiscardChanges();
    m_keyList.clear();
    if (cdsGrid->isActive()) {
        cdsGrid->cancelUpdates();
        cdsGrid->close();
    }
}

void TfrmZZI020::bbtAddClick()
{
    ButtonGuard(bbtAdd);
    if (!cdsGrid->isActive())
        return;
    SettleCurrentRow();
    cdsGrid->insert();
    if (m_keyEdit)
        m_keyEdit->setFocus();
}

void TfrmZZI020::bbtDeleteClick()
{
    ButtonGuard(bbtDelete);
    if (!cdsGrid->isActive())
        return;
    cdsGrid->deleteRecord();
    rgrGridRowChange();
}

void TfrmZZI020::rgrGridRowChange()
{
    if (!cdsGrid->isActive())
        return;
    if (m_rowFocus) {
        m_rowFocus->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(m_rowFocus))
            edit->selectAll();
    }
    if (cdsGrid->isEmpty())
        bbtAddClick();
}

void TfrmZZI020::cdsGridBeforePost()
{
    m_pendingKey = QString();
    CheckRowFields();
    CheckDuplicateKey();
    if (!keyText().trimmed().isEmpty()) {
        FillRowFields();
        StampAudit();
    }
}

void TfrmZZI020::CheckRequired(bool valid, const QLabel *label, QWidget *field)
{
    if (valid)
        return;
    ShowStatusMessage((label ? label->text() : QString()) + MessageText::enterCorrectly());
    if (field)
        field->setFocus();
    Abort();
}

void TfrmZZI020::CheckRequired(const QLineEdit *field, const QLabel *label, int minLength)
{
    CheckRequired(field->text().trimmed().size() >= minLength,
                  label,
                  const_cast<QLineEdit *>(field));
}

void TfrmZZI020::CheckDuplicateKey()
{
    if (cdsGrid->state() != ClientDataSet::State::Insert || keyText().trimmed().isEmpty())
        return;
    bool duplicate = false;
    if (!m_duplicateSql.isEmpty()) {
        SqlStatement statement(database(), m_duplicateSql);
        const QVariantList params = DuplicateCheckParams();
        for (int i = 0; i < params.size(); ++i)
            statement.bind(QStringLiteral("P%1").arg(i), params.at(i));
        statement.open();
        duplicate = statement.next() && statement.value(0).toDouble() > 0;
        statement.close();
    }
    const QString listed = KeyListText();
    if (duplicate || m_keyList.contains(listed)) {
        ShowErrorMessage(MessageText::duplicateKey());
        if (m_keyEdit)
            m_keyEdit->setFocus();
        Abort();
    }
    m_pendingKey = listed;
}

void TfrmZZI020::StampAudit()
{
    if (keyText().trimmed().isEmpty())
        return;
    QDateTime now = QDateTime::currentDateTime();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    if (cdsGrid->hasField(QStringLiteral("U_EMP_NO")))
        cdsGrid->setValue(QStringLiteral("U_EMP_NO"), login().empNo);
    if (cdsGrid->hasField(QStringLiteral("U_DATE")))
        cdsGrid->setValue(QStringLiteral("U_DATE"), now);
    if (cdsGrid->hasField(QStringLiteral("U_IP")))
        cdsGrid->setValue(QStringLiteral("U_IP"), login().localIP());
}
