#include "ZZI080.h"

#include "markedcontrols.h"
#include "memorygrid.h"
#include "messagetexts.h"
#include "useraction.h"
#include "waitcursor.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/sqlstatement.h"
#include "db/storedprocedure.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString noStatement()
{
    return QStringLiteral("qryQuery의 쿼리문이 없습니다.");
}
QString noChangedData()
{
    return QStringLiteral("변경된 데이타가 존재하지 않습니다.");
}
QString saveQuestion()
{
    return QStringLiteral("저장 하시겠습니까?");
}
QString savedNotice()
{
    return QStringLiteral("자료를 저장했습니다.");
}
QString deleteQuestion()
{
    return QStringLiteral("현재 자료를 삭제하시겠습니까?");
}

// "#,##0".
QString withThousands(qint64 value)
{
    const quint64 magnitude = value < 0 ? quint64(-(value + 1)) + 1 : quint64(value);
    QString digits = QString::number(magnitude);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString editStatus(int state)
{
    switch (state) {
    case MemoryGridModel::Changed:
        return QStringLiteral("1");
    case MemoryGridModel::Deleted:
        return QStringLiteral("3");
    default: // new and inserted rows
        return QStringLiteral("2");
    }
}

const QColor lightYellow(0xFF, 0xFF, 0xCC);
const char *const EditControlMark = "kesaEditControl";

// The inner parts of a composite control (the viewport of a grid, the edit box
// of a combo or spin box) are the control's business.
bool insideComposite(const QWidget *control, const QWidget *panel)
{
    for (const QWidget *up = control->parentWidget(); up && up != panel; up = up->parentWidget()) {
        if (up->inherits("QAbstractScrollArea") || up->inherits("QComboBox")
            || up->inherits("QAbstractSpinBox"))
            return true;
    }
    return false;
}

void setBase(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Base, colour);
    control->setPalette(palette);
}

void setFace(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    control->setPalette(palette);
}

} // namespace

TfrmZZI080::TfrmZZI080(QWidget *parent)
    : TfrmZZI010(parent)
    , m_rows(new MemoryGridModel(this))
    , m_changes(new MemoryGridModel(this))
{
    setObjectName(QStringLiteral("frmZZI080"));
    bbtSearch->setText(QStringLiteral("Search(F3)"));
    bbtSave->setText(QStringLiteral("Save(F2)"));
    bbtCancel->setText(QStringLiteral("Cancel(F8)"));
    bbtClose->setText(QStringLiteral("Close(F12)"));

    panMaster = new QFrame(panMain);
    panMaster->setObjectName(QStringLiteral("panMaster"));
    panMaster->setFixedHeight(1);
    panMaster->hide();
    rgrGrid = new MemoryGrid(panMain);
    rgrGrid->setObjectName(QStringLiteral("rgrGrid"));
    rgrGrid->setRows(m_rows);
    rgrGrid->verticalHeader()->setDefaultSectionSize(25);
    mainLayout()->addWidget(panMaster);
    mainLayout()->addWidget(rgrGrid, 1);
    setMainInsertIndex(1);

    createNavigationButtons(*this);
    createRowButtons(*this, bbtSave, QStringLiteral("New(F4)"), QStringLiteral("Delete(F9)"));
    setTabChain({bbtAdd, bbtDelete, bbtSave, bbtCancel, bbtClose});

    // Grid events are user actions of their own.
    connect(m_rows, &MemoryGridModel::rowPosted, this, [this](int row) {
        RunUserAction([&] { GridAfterPost(row); });
    });
    connect(m_rows, &MemoryGridModel::cellEdited, this, [this](int row, int column) {
        RunUserAction([&] { rgrGridValueChanged(row, column); });
    });
    connect(rgrGrid, &DataGrid::titleClicked, this, [this](int column) {
        RunUserAction([&] { GridColumnTitleClick(column); });
    });
    connect(rgrGrid, &MemoryGrid::keyDown, this, [this](int key, Qt::KeyboardModifiers modifiers) {
        RunUserAction([&] { GridKeyDown(key, modifiers); });
    });
    connect(rgrGrid, &MemoryGrid::keyUp, this, [this](int key, Qt::KeyboardModifiers modifiers) {
        RunUserAction([&] { GridKeyUp(key, modifiers); });
    });
    connect(rgrGrid, &DataGrid::footersCalculated, this, [this] {
        RunUserAction([&] { footersCalculated(); });
    });
    rgrGrid->setHighlight(
            [this](int row, int column) { return GridDrawCell(row, column) || isFailedRow(row); });
}

TfrmZZI080::~TfrmZZI080() = default;

void TfrmZZI080::FormCreate()
{
    TfrmZZI010::FormCreate();
    m_fieldNames.clear();
    // The change list: a grid of the same kind, never shown. It has no parent,
    // so that the modes of the screen never enable it.
    m_shadow = std::make_unique<MemoryGrid>();
    m_shadow->setObjectName(QStringLiteral("rgrShadow"));
    m_shadow->setEnabled(false);
    m_shadow->hide();
    m_shadow->setRows(m_changes);
    clearCopyDown();
    for (int column = 0; column < rgrGrid->gridColumnCount(); ++column) {
        GridColumn styled = rgrGrid->gridColumn(column);
        if (styled.footer != GridFooter::None) {
            styled.footerAlignment = Qt::AlignRight;
            styled.footerColour = QColor(0, 0, 0xFF);
            rgrGrid->setGridColumn(column, styled);
        }
    }
}

MemoryGrid *TfrmZZI080::shadowGrid() const
{
    return m_shadow.get();
}

SqlStatement &TfrmZZI080::qryTemp()
{
    if (!m_temp)
        m_temp = std::make_unique<SqlStatement>(database());
    return *m_temp;
}

StoredProcedure &TfrmZZI080::prcProc()
{
    if (!m_procedure)
        m_procedure = std::make_unique<StoredProcedure>(database());
    return *m_procedure;
}

void TfrmZZI080::CloseStatements()
{
    TfrmZZI010::CloseStatements();
    if (m_temp)
        m_temp->close();
}

int TfrmZZI080::addGridColumn(const GridColumn &column,
                              MemoryGridModel::DataType type,
                              int dataWidth)
{
    return rgrGrid->defineColumn(column, type, dataWidth);
}

// At the first search: plain columns for SELECT columns the design lacks, the
// hidden RowID column, the change list's columns "A" + column name.
void TfrmZZI080::prepareColumns()
{
    SqlStatement &query = qryQuery();
    for (int i = 0; i < query.columnCount(); ++i)
        m_fieldNames.append(query.columnName(i));
    for (int i = rgrGrid->gridColumnCount(); i < m_fieldNames.size(); ++i) {
        GridColumn plain;
        plain.title = m_fieldNames.at(i);
        plain.width = 80;
        rgrGrid->defineColumn(plain);
    }
    GridColumn rowId;
    rowId.title = QStringLiteral("RowID");
    rowId.visible = false;
    rowId.readOnly = true;
    m_rowIdColumn = rgrGrid->defineColumn(rowId, MemoryGridModel::DataType::Number);

    for (int i = 0; i <= m_rowIdColumn; ++i) {
        const MemoryGridModel::Column column = m_rows->column(i);
        GridColumn copy;
        copy.title = i < m_rowIdColumn && i < m_fieldNames.size()
                             ? QLatin1Char('A') + m_fieldNames.at(i)
                             : QString();
        copy.width = 80;
        m_shadow->defineColumn(copy, column.type, column.dataWidth);
    }
}

void TfrmZZI080::bbtSearchClick()
{
    TfrmZZI010::bbtSearchClick();
    const WaitCursor wait;
    // Also after a failure: the user learns that nothing was loaded.
    const auto finish = qScopeGuard([this] {
        if (m_counter == 0)
            ShowStatusMessage(MessageText::nothingToShow());
    });
    SqlStatement &query = qryQuery();
    if (query.sql().trimmed().isEmpty()) {
        ShowErrorMessage(noStatement());
        Abort();
    }
    query.open();
    if (m_rowIdColumn < 0)
        prepareColumns();
    m_rows->clear();
    const int resultColumns = std::min(query.columnCount(), m_rowIdColumn);
    QList<QStringList> loaded;
    while (query.next()) {
        QStringList cells(m_rows->columnCount());
        for (int i = 0; i < resultColumns; ++i)
            cells[i] = query.value(i).toString();
        cells[m_rowIdColumn] = QString::number(++m_counter);
        loaded.append(cells);
    }
    query.close();
    m_rows->appendRows(loaded, MemoryGridModel::Changed);
    rgrGrid->setFocus();
    if (m_rows->rowCount() > 0)
        rgrGrid->moveToRow(0);
    rgrGrid->recalculateFooters();
}

void TfrmZZI080::SettleEdits()
{
    rgrGrid->finishEdit();
}

void TfrmZZI080::CheckSaveData()
{
    if (!isChanged()) {
        ShowErrorMessage(noChangedData());
        Abort();
    }
    // A No ends the action; a close that asked to save first stays open.
    if (!AskYesNo(saveQuestion()))
        Abort();
}

void TfrmZZI080::WriteChanges()
{
    SaveChanges();
}

void TfrmZZI080::AfterSave()
{
    // Written now: a saved new row is updated or deleted by the next save.
    for (int row = 0; row < m_rows->rowCount(); ++row)
        m_rows->setRowState(row, MemoryGridModel::Changed);
    ShowStatusMessage(savedNotice());
}

bool TfrmZZI080::isFailedRow(int row) const
{
    return !m_failedRowId.isEmpty() && m_rowIdColumn >= 0
           && m_rows->cell(row, m_rowIdColumn) == m_failedRowId;
}

void TfrmZZI080::SaveChanges()
{
    prcProc().setDatabase(database());
    SaveRows(rgrGrid, m_changes, prcProc());
}

void TfrmZZI080::SaveRows(MemoryGrid *, MemoryGridModel *changes, StoredProcedure &procedure)
{
    m_failedRowId.clear();
    rgrGrid->viewport()->update();
    QStringList parameters = procedure.parameterNames();
    for (QString &name : parameters)
        name = name.toUpper();
    const auto has = [&](const QString &name) { return parameters.contains(name); };
    const int rowIdColumn = changes->columnCount() - 1;
    for (int entry = 0; entry < changes->rowCount(); ++entry) {
        for (int column = 0; column < changes->columnCount(); ++column) {
            const QString title = changes->column(column).title.toUpper();
            if (!title.isEmpty() && has(title))
                procedure.setParam(title, changes->cell(entry, column));
        }
        if (has(QStringLiteral("AU_EMP_NO")))
            procedure.setParam(QStringLiteral("AU_EMP_NO"), login().empNo);
        if (has(QStringLiteral("AU_IP")))
            procedure.setParam(QStringLiteral("AU_IP"), login().localIP());
        if (has(QStringLiteral("AEDITSTATUS")))
            procedure.setParam(QStringLiteral("AEDITSTATUS"), editStatus(changes->rowState(entry)));
        m_currentRowId = changes->cell(entry, rowIdColumn);
        try {
            ExecuteRow();
        } catch (...) {
            // Rolled back with the rest: every change stays to be sent again.
            m_failedRowId = m_currentRowId;
            rgrGrid->viewport()->update();
            throw;
        }
    }
    changes->clear();
}

void TfrmZZI080::ExecuteRow()
{
    prcProc().execProc();
}

void TfrmZZI080::bbtCancelClick()
{
    TfrmZZI010::bbtCancelClick();
    rgrGrid->dropEdit();
    rgrGrid->clearSortMarks();
    m_changes->clear();
    m_rows->clear();
    m_failedRowId.clear();
    rgrGrid->recalculateFooters();
    m_counter = 0;
    clearCopyDown();
}

void TfrmZZI080::bbtAddClick()
{
    ButtonGuard(bbtAdd);
    if (!rgrGrid->isVisible())
        return;
    rgrGrid->setFocus();
    rgrGrid->appendNewRow();
}

void TfrmZZI080::bbtDeleteClick()
{
    ButtonGuard(bbtDelete);
    if (m_rows->rowCount() == 0 || !AskYesNo(deleteQuestion()))
        return;
    const int row = rgrGrid->currentRow();
    if (row < 0)
        return;
    // What was typed into the row goes with it; only a posted row is recorded.
    rgrGrid->dropEdit();
    GridBeforeDelete(row);
    m_rows->deleteRow(row);
}

void TfrmZZI080::GridColumnTitleClick(int column)
{
    const bool wasAscending = rgrGrid->sortMark(column) == DataGrid::SortMark::Ascending;
    rgrGrid->finishEdit();
    rgrGrid->clearSortMarks();
    rgrGrid->setSortMark(column,
                         wasAscending ? DataGrid::SortMark::Descending
                                      : DataGrid::SortMark::Ascending);
    m_rows->sort(column, wasAscending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TfrmZZI080::GridBeforeDelete(int row)
{
    if (m_rowIdColumn < 0)
        return;
    const QString rowId = m_rows->cell(row, m_rowIdColumn);
    if (rowId.isEmpty())
        return; // never posted: nothing to undo
    if (m_rows->rowState(row) != MemoryGridModel::Inserted) {
        m_changes->appendRow(m_rows->cells(row), MemoryGridModel::Deleted);
        setChanged(true);
        return;
    }
    // An inserted row that goes again must not be inserted by the next save.
    for (int entry = m_changes->rowCount() - 1; entry >= 0; --entry) {
        if (m_changes->cell(entry, m_rowIdColumn).toDouble() == rowId.toDouble())
            m_changes->deleteRow(entry);
    }
}

void TfrmZZI080::GridAfterPost(int row)
{
    if (m_rowIdColumn < 0 || row < 0 || row >= m_rows->rowCount())
        return;
    QString rowId = m_rows->cell(row, m_rowIdColumn);
    if (rowId.isEmpty() && m_rows->isRowBlank(row)) {
        m_rows->deleteRow(row);
        return;
    }
    if (!rowId.isEmpty()) {
        const int entry = m_changes->findNumber(m_rowIdColumn, rowId.toDouble());
        if (entry >= 0) {
            m_changes->setCells(entry, m_rows->cells(row));
            m_changes->setRowState(entry, m_rows->rowState(row));
            return;
        }
    }
    QStringList cells = m_rows->cells(row);
    if (rowId.isEmpty()) {
        rowId = QString::number(++m_counter);
        m_rows->setCell(row, m_rowIdColumn, rowId);
        cells[m_rowIdColumn] = rowId;
    }
    m_changes->appendRow(cells, m_rows->rowState(row));
}

void TfrmZZI080::rgrGridValueChanged(int, int)
{
    setChanged(true);
}

void TfrmZZI080::footersCalculated()
{
    for (int column = 0; column < rgrGrid->gridColumnCount(); ++column) {
        const GridFooter footer = rgrGrid->gridColumn(column).footer;
        if (footer == GridFooter::Sum || footer == GridFooter::Count)
            rgrGrid->setFooterText(column, withThousands(TextToInt64(rgrGrid->footerText(column))));
    }
}

// --- copy-down ---------------------------------------------------------------

void TfrmZZI080::clearCopyDown()
{
    m_sourceRow = m_targetRow = m_firstColumn = m_lastColumn = -1;
    if (rgrGrid)
        rgrGrid->viewport()->update();
}

void TfrmZZI080::GridKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (key == Qt::Key_Down && !ctrl)
        ShowStatusMessage(QString());
    if (!ctrl || m_rows->rowCount() == 0 || !rgrGrid->currentIndex().isValid())
        return;
    const int row = rgrGrid->currentRow();
    const int column = rgrGrid->currentIndex().column();
    if (key == Qt::Key_Right && m_firstColumn < 0) {
        m_sourceRow = row;
        m_firstColumn = column;
    } else if (key == Qt::Key_Down && m_sourceRow < 0) {
        m_sourceRow = row;
        m_firstColumn = m_lastColumn = column;
    }
}

void TfrmZZI080::GridKeyUp(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Control) {
        clearCopyDown();
        return;
    }
    if (!(modifiers & Qt::ControlModifier) || m_rows->rowCount() == 0
        || !rgrGrid->currentIndex().isValid())
        return;
    if (key == Qt::Key_Right && m_firstColumn >= 0) {
        m_lastColumn = rgrGrid->currentIndex().column();
        rgrGrid->viewport()->update();
    } else if (key == Qt::Key_Down && m_sourceRow >= 0) {
        m_targetRow = rgrGrid->currentRow();
        copyDown();
        rgrGrid->viewport()->update();
    }
}

void TfrmZZI080::copyDown()
{
    if (m_targetRow == m_sourceRow || m_rowIdColumn < 0
        || m_rows->cell(m_targetRow, m_rowIdColumn).isEmpty())
        return;
    const int last = m_lastColumn < 0 ? m_firstColumn : m_lastColumn;
    for (int column = std::min(m_firstColumn, last); column <= std::max(m_firstColumn, last);
         ++column) {
        if (!rgrGrid->isColumnReadOnly(column) && column != m_rowIdColumn)
            m_rows->setCell(m_targetRow, column, m_rows->cell(m_sourceRow, column));
    }
    if (m_rows->rowState(m_targetRow) != MemoryGridModel::Inserted)
        m_rows->setRowState(m_targetRow, MemoryGridModel::Changed);
    GridAfterPost(m_targetRow);
    setChanged(true);
}

bool TfrmZZI080::GridDrawCell(int row, int column) const
{
    if (m_sourceRow < 0 || m_firstColumn < 0 || row > 255 || column > 255)
        return false;
    const int last = m_lastColumn < 0 ? m_firstColumn : m_lastColumn;
    const int target = m_targetRow < 0 ? m_sourceRow : m_targetRow;
    return column >= std::min(m_firstColumn, last) && column <= std::max(m_firstColumn, last)
           && row >= std::min(m_sourceRow, target) && row <= std::max(m_sourceRow, target);
}

// --- helpers for derived screens ----------------------------------------------

void TfrmZZI080::edtEnter(QWidget *control)
{
    if (qobject_cast<QLineEdit *>(control) || qobject_cast<QComboBox *>(control)
        || qobject_cast<QPlainTextEdit *>(control) || qobject_cast<QTextEdit *>(control))
        setBase(control, lightYellow);
}

void TfrmZZI080::edtExit(QWidget *control)
{
    if (qobject_cast<QLineEdit *>(control) || qobject_cast<QComboBox *>(control)
        || qobject_cast<QPlainTextEdit *>(control) || qobject_cast<QTextEdit *>(control))
        setBase(control, QApplication::palette().color(QPalette::Base));
}

bool TfrmZZI080::edtKeyPress(QWidget *, QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    focusNextChild();
    return true;
}

bool TfrmZZI080::edtKeyDown(QWidget *control, QKeyEvent *event)
{
    const QString name = control->objectName();
    if (event->key() != Qt::Key_F1 || name.size() <= 3)
        return false;
    const QString rest = name.mid(3);
    auto *button = findChild<QAbstractButton *>(QStringLiteral("sbt") + rest);
    if (!button)
        button = findChild<QAbstractButton *>(QStringLiteral("bbt") + rest);
    if (!button)
        return false;
    button->click();
    return true;
}

void TfrmZZI080::attachEditControls(const QList<QWidget *> &controls)
{
    MarkedControls::watch(this, controls, EditControlMark);
}

bool TfrmZZI080::eventFilter(QObject *watched, QEvent *event)
{
    auto *control = qobject_cast<QWidget *>(watched);
    if (control && MarkedControls::isMarked(control, EditControlMark)) {
        switch (event->type()) {
        case QEvent::FocusIn:
            edtEnter(control);
            break;
        case QEvent::FocusOut:
            edtExit(control);
            break;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            bool used = false;
            RunUserAction([&] { used = edtKeyDown(control, key) || edtKeyPress(control, key); });
            if (used)
                return true;
            break;
        }
        default:
            break;
        }
    }
    return TfrmZZI010::eventFilter(watched, event);
}

void TfrmZZI080::ErrFocus(QAbstractItemView *grid, int row)
{
    if (row != -1 && grid->model() && row < grid->model()->rowCount()) {
        const int column = grid->currentIndex().isValid() ? grid->currentIndex().column() : 0;
        grid->setCurrentIndex(grid->model()->index(row, column));
    }
    grid->setFocus();
    Abort();
}

void TfrmZZI080::EnablePanel(QWidget *panel, bool enable, bool colour, bool clear)
{
    QList<QWidget *> controls{panel};
    for (QWidget *child : panel->findChildren<QWidget *>()) {
        int level = 1;
        for (QWidget *up = child->parentWidget(); up && up != panel; up = up->parentWidget())
            ++level;
        if (level <= 6 && panel->isAncestorOf(child))
            controls.append(child);
    }
    const QColor window = QApplication::palette().color(QPalette::Base);
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (QWidget *control : std::as_const(controls)) {
        auto *label = qobject_cast<QLabel *>(control);
        auto *edit = qobject_cast<QLineEdit *>(control);
        auto *plain = qobject_cast<QPlainTextEdit *>(control);
        auto *rich = qobject_cast<QTextEdit *>(control);
        auto *combo = qobject_cast<QComboBox *>(control);
        auto *check = qobject_cast<QCheckBox *>(control);
        auto *group = qobject_cast<QGroupBox *>(control);
        auto *grid = qobject_cast<QAbstractItemView *>(control);
        if (control != panel && insideComposite(control, panel))
            continue;
        // Labels are no windowed controls: only their text and colour change.
        if (!label)
            control->setEnabled(enable);
        if (clear) {
            if (edit)
                edit->clear();
            else if (plain)
                plain->clear();
            else if (rich)
                rich->clear();
            else if (combo && combo->count() > 0)
                combo->setCurrentIndex(0);
            else if (check)
                check->setChecked(false);
            else if (label)
                label->clear();
            else if (auto *memoryGrid = qobject_cast<MemoryGrid *>(control))
                memoryGrid->rows()->clear();
            if (group) {
                for (QRadioButton *radio : group->findChildren<QRadioButton *>()) {
                    radio->setAutoExclusive(false);
                    radio->setChecked(false);
                    radio->setAutoExclusive(true);
                }
            }
        }
        if (colour) {
            if (edit || plain || rich || combo || group || grid)
                setFace(control, enable ? window : face);
            else if (check || label)
                setFace(control, face);
        }
    }
}

void TfrmZZI080::moveRecord(Move move)
{
    switch (move) {
    case Move::First:
        rgrGrid->moveToRow(0);
        break;
    case Move::Prior:
        rgrGrid->moveToRow(rgrGrid->currentRow() - 1);
        break;
    case Move::Next:
        rgrGrid->moveToRow(rgrGrid->currentRow() + 1);
        break;
    case Move::Last:
        rgrGrid->moveToRow(m_rows->rowCount() - 1);
        break;
    }
}
