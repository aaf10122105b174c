#include "ZXI021.h"

#include "yearfield.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/messageservice.h"
#include "common/silentabort.h"
#include "db/lunarholidays.h"
#include "db/sqlstatement.h"
#include "db/storedprocedure.h"
#include "db/transaction.h"
#include "framework/displaygrid.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"
#include "platform/cp949.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const char *const MonthProperty = "tag";
const QString Weekdays[7] = {QStringLiteral("일"),
                             QStringLiteral("월"),
                             QStringLiteral("화"),
                             QStringLiteral("수"),
                             QStringLiteral("목"),
                             QStringLiteral("금"),
                             QStringLiteral("토")};
// Four months side by side fit the smallest main window (1024 pixels).
constexpr int CellWidth = 33;
constexpr int CellHeight = 22;
constexpr int NameBytes = 20;

QString prompt()
{
    return QStringLiteral("휴일명을 입력하십시오.      ");
}

QString keyOf(int month, int day)
{
    return QStringLiteral("%1").arg(month * 100 + day, 4, 10, QLatin1Char('0'));
}

} // namespace

TfrmZXI021::TfrmZXI021(QWidget *parent)
    : TfrmZZI010(parent)
{
    setObjectName(QStringLiteral("frmZXI021"));
    setWindowTitle(QStringLiteral("휴일 등록"));

    createYearField(*this, [this] { bbtSearchClick(); });

    auto *months = new QGridLayout;
    months->setHorizontalSpacing(12);
    months->setVerticalSpacing(12);
    for (int month = 1; month <= 12; ++month)
        months->addWidget(buildMonthGrid(month), (month - 1) / 4, (month - 1) % 4, Qt::AlignCenter);
    addToMain(months, 1);

    bbtLunar = createButton(QStringLiteral("bbtLunar"), QStringLiteral("음력 휴일"), 0);
    insertBarButton(bbtLunar, bbtSave);
    setTabOrder(bbtLunar, bbtSave);
    connectClick(bbtLunar, [this] { bbtLunarClick(); });

    lblComment = addBarComment(QStringLiteral("휴일을 등록/취소하고 싶은 날짜를 두번클릭 하고, "
                                              "휴일명을 입력/삭제 하십시오."),
                               QColor(0x00, 0x00, 0x80));
}

DisplayGrid *TfrmZXI021::buildMonthGrid(int month)
{
    auto *grid = new DisplayGrid(panMain);
    grid->setObjectName(QStringLiteral("rgrGrid%1").arg(month));
    grid->setProperty(MonthProperty, month);
    const int group = grid->addColumnGroup(QStringLiteral("%1월").arg(month));
    for (int column = 0; column < 7; ++column) {
        GridColumn day;
        day.title = Weekdays[column];
        day.width = CellWidth;
        day.alignment = Qt::AlignCenter;
        day.group = group;
        if (column == 0)
            day.textColour = Qt::red;
        else if (column == 6)
            day.textColour = Qt::blue;
        grid->defineColumn(day);
    }
    grid->setRowCount(6);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->verticalHeader()->hide();
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(CellHeight);
    const int rowHeight = CellHeight;
    grid->setFixedSize(7 * CellWidth + 2 * grid->frameWidth(),
                       grid->horizontalHeader()->sizeHint().height() + 6 * rowHeight
                               + 2 * grid->frameWidth());
    grid->setCellStyle([this, month](int row, int column, GridCellStyle &style) {
        if (holidayName(month, column, row).isEmpty())
            return;
        style.bold = true;
        style.text = Qt::yellow;
        style.background = QColor(0xFF, 0x00, 0x80);
    });
    rgrGrid[month - 1] = grid;
    connect(grid, &QAbstractItemView::clicked, this, [this] {
        RunUserAction([this] { ShowStatusMessage(QString()); });
    });
    connect(grid, &QAbstractItemView::doubleClicked, this, [this, month](const QModelIndex &index) {
        RunUserAction([&] { EnterHoliday(month, index.row(), index.column()); });
    });
    grid->installEventFilter(this);
    return grid;
}

void TfrmZXI021::FormCreate()
{
    TfrmZZI010::FormCreate();
    yearField->setDefault();
}

bool TfrmZXI021::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        auto *grid = qobject_cast<DisplayGrid *>(watched);
        if (grid && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && grid->currentIndex().isValid()) {
            const int month = grid->property(MonthProperty).toInt();
            const QModelIndex index = grid->currentIndex();
            RunUserAction([&] { EnterHoliday(month, index.row(), index.column()); });
            return true;
        }
    }
    return TfrmZZI010::eventFilter(watched, event);
}

QString TfrmZXI021::holidayName(int month, int column, int row) const
{
    if (month < 1 || month > 12 || column < 0 || column > 6 || row < 0 || row > 5)
        return QString();
    return m_names[month][column][row];
}

QPoint TfrmZXI021::cellOf(const QDate &day)
{
    // The column runs on from month to month; only the row starts again.
    const int firstColumn = QDate(day.year(), day.month(), 1).dayOfWeek() % 7;
    return QPoint(day.dayOfWeek() % 7, (firstColumn + day.day() - 1) / 7);
}

void TfrmZXI021::CheckSearchCriteria()
{
    m_year = yearField->checkedYear(this).toInt();
}

void TfrmZXI021::LoadData()
{
    loadHolidays();
    layOutYear();
}

void TfrmZXI021::loadHolidays()
{
    m_loaded.clear();
    // Ordered so that the first entry of a day is its every-year holiday.
    SqlStatement query(database(),
                       QStringLiteral("SELECT DETAIL, DETAIL_NAME, 0 AS FIXED FROM ZX010MS "
                                      "WHERE HEAD = 'Z0012' AND DETAIL <> ' ' "
                                      "UNION ALL "
                                      "SELECT SUBSTR(DETAIL, 5, 4), DETAIL_NAME, 1 FROM ZX010MS "
                                      "WHERE HEAD = 'Z0013' AND DETAIL LIKE :P0 || '%' "
                                      "ORDER BY 3, 1"));
    query.bind(QStringLiteral("P0"), QString::number(m_year));
    query.open();
    while (query.next())
        m_loaded.append({query.value(0).toString(),
                         int(TextToInt64(query.value(2).toString())),
                         query.value(1).toString()});
    query.close();
    setChanged(false);
}

const TfrmZXI021::Loaded *TfrmZXI021::findLoaded(const QString &key) const
{
    for (const Loaded &entry : m_loaded) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}

void TfrmZXI021::clearYear()
{
    for (int month = 1; month <= 12; ++month) {
        for (int column = 0; column < 7; ++column) {
            for (int row = 0; row < 6; ++row)
                m_names[month][column][row].clear();
        }
        rgrGrid[month - 1]->clearCells();
    }
}

void TfrmZXI021::layOutYear()
{
    clearYear();
    for (int month = 1; month <= 12; ++month) {
        DisplayGrid *grid = rgrGrid[month - 1];
        const int days = QDate(m_year, month, 1).daysInMonth();
        for (int day = 1; day <= days; ++day) {
            const QPoint cell = cellOf(QDate(m_year, month, day));
            grid->setCell(cell.y(), cell.x(), QString::number(day));
            if (const Loaded *found = findLoaded(keyOf(month, day)))
                m_names[month][cell.x()][cell.y()] = found->name;
        }
        grid->viewport()->update();
    }
}

void TfrmZXI021::EnterHoliday(int month, int row, int column)
{
    DisplayGrid *grid = rgrGrid[month - 1];
    if (grid->cell(row, column).isEmpty())
        return;
    const QString old = m_names[month][column][row];
    QString answer = old;
    if (!MessageService::instance().inputBox(windowTitle(), prompt(), answer))
        answer = old;
    // A name of blanks would mark a holiday nobody can read.
    answer = Cp949::truncateToBytes(answer.trimmed(), NameBytes);
    if (!isChanged() && answer != old)
        setChanged(true);
    m_names[month][column][row] = answer;
    grid->viewport()->update();
}

void TfrmZXI021::bbtLunarClick()
{
    ButtonGuard(bbtLunar);
    int filled = 0;
    for (const LunarHolidays::Holiday &holiday : LunarHolidays::ofYear(m_year)) {
        const QPoint cell = cellOf(holiday.date);
        QString &name = m_names[holiday.date.month()][cell.x()][cell.y()];
        if (!name.isEmpty())
            continue; // a day that holds a holiday keeps it
        name = holiday.name;
        ++filled;
    }
    for (DisplayGrid *grid : rgrGrid)
        grid->viewport()->update();
    if (filled == 0) {
        ShowStatusMessage(QStringLiteral("채울 음력 휴일이 없습니다."));
        return;
    }
    setChanged(true);
    ShowStatusMessage(
            QStringLiteral("음력 휴일 %1일을 채웠습니다. 확인하고 저장(F2)하십시오.").arg(filled));
}

void TfrmZXI021::SaveData()
{
    struct Call
    {
        QString date;
        QString name;
        QString fixed;
        QString action;
    };
    QList<Call> calls;
    const QString year = QString::number(m_year);
    for (int month = 1; month <= 12; ++month) {
        for (int column = 0; column < 7; ++column) {
            for (int row = 0; row < 6; ++row) {
                const QString day = rgrGrid[month - 1]->cell(row, column);
                if (day.isEmpty())
                    continue;
                const QString key = keyOf(month, day.toInt());
                const Loaded *found = findLoaded(key);
                const QString &name = m_names[month][column][row];
                if ((found && found->name == name) || (!found && name.isEmpty()))
                    continue;
                const QString fixed = found ? QString::number(found->fixed) : QStringLiteral("1");
                const QString action = !found           ? QStringLiteral("I")
                                       : name.isEmpty() ? QStringLiteral("D")
                                                        : QStringLiteral("U");
                calls.append({year + key, name, fixed, action});
            }
        }
    }
    if (calls.isEmpty()) {
        ShowStatusMessage(MessageText::nothingChanged());
        return;
    }
    // The transaction is started only when there is something to write.
    Transaction::run(database(), [&] {
        StoredProcedure procedure(database(), QStringLiteral("PR_ZX010MS_11"));
        for (const Call &call : calls) {
            procedure.setParams({call.date,
                                 call.name,
                                 call.fixed,
                                 call.action,
                                 login().empNo,
                                 login().localIP()});
            procedure.execProc();
        }
    });
    // The year is laid out again from what is stored: a cell must never keep a
    // name that another holiday of the same day would be compared with.
    loadHolidays();
    layOutYear();
    ShowStatusMessage(MessageText::saved());
}

void TfrmZXI021::bbtSaveClick()
{
    try {
        TfrmZZI010::bbtSaveClick();
    } catch (const SilentAbort &) {
        throw;
    } catch (...) {
        Abort(); // the save has shown its error box: once is enough
    }
}

void TfrmZXI021::DiscardChanges()
{
    TfrmZZI010::DiscardChanges();
    clearYear();
}
