#include "ZXS090.h"

#include "couponcommands.h"
#include "couponlayout.h"
#include "couponpreview.h"
#include "couponprinter.h"
#include "coupontexts.h"
#include "portchoosers.h"
#include "runnumbers.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/messageservice.h"
#include "common/silentabort.h"
#include "db/dberror.h"
#include "db/numberledger.h"
#include "framework/bytelengthvalidator.h"
#include "framework/inquirytexts.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"
#include "platform/cp949.h"
#include "platform/programfolders.h"
#include "platform/seriallink.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

// The program's own settings (port, rate, the file dialogs' folder) go under this name.
const QString ScreenId = QStringLiteral("ZXS090");

const char *const LineProperty = "kesaCouponLine";

QLabel *label(const QString &text, QWidget *parent)
{
    auto *result = new QLabel(text, parent);
    return result;
}

QLineEdit *numberEdit(const QString &objectName, int digits, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    // The validator limits what is typed; a count the screen works out from the
    // range is shown whole, however many digits it takes.
    edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(
                                                    QStringLiteral("[0-9]{0,%1}").arg(digits)),
                                            edit));
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(digits * 8 + 12);
    return edit;
}

} // namespace

TfrmZXS090::TfrmZXS090(QWidget *parent)
    : TfrmZZI000(parent)
{
    setObjectName(QStringLiteral("frmZXS090"));
    setWindowTitle(CouponText::caption());

    auto *columns = new QHBoxLayout;
    columns->setSpacing(12);
    auto *linesBox = new QGroupBox(QStringLiteral("출력 내용"), panMain);
    linesBox->setObjectName(QStringLiteral("grbLines"));
    buildLines(linesBox);
    columns->addWidget(linesBox, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    right->setSpacing(10);
    right->addWidget(buildPreview(panMain));
    right->addWidget(buildRange(panMain));
    auto *note = new QLabel(CouponText::printerNote(), panMain);
    note->setObjectName(QStringLiteral("lblPrinterNote"));
    QPalette grey = note->palette();
    grey.setColor(QPalette::WindowText, Qt::darkGray);
    note->setPalette(grey);
    right->addWidget(note);
    right->addStretch(1);
    columns->addLayout(right);
    columns->addStretch(1);
    addToMain(columns, 1);

    comComPort = new SerialLink(this);
    comComPort->setObjectName(QStringLiteral("comComPort"));
    m_printer = new CouponPrinter(comComPort, this);
    connect(comComPort, &SerialLink::pieceReceived, this, [this](const QByteArray &piece) {
        RunUserAction([&] { comComPortRxChar(piece); });
    });

    buildBar();
    setFocusProxy(prn(1));
    m_savedLines = lines();
}

TfrmZXS090::~TfrmZXS090() = default;

void TfrmZXS090::buildLines(QWidget *parent)
{
    auto *grid = new QGridLayout(parent);
    // Rows 29 pixels apart.
    grid->setContentsMargins(8, 0, 8, 2);
    grid->setVerticalSpacing(8);
    grid->setHorizontalSpacing(6);
    const QFontMetrics metrics(font());
    for (int n = 1; n <= LineCount; ++n) {
        auto *number = new QLabel(QString::number(n), parent);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("00")) + 2);

        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("Prn%1").arg(n));
        edit->setFixedHeight(21);
        // Room for a full line: 44 digits or 22 Hangul syllables of the screen's
        // font, whichever is wider, and the frame (wide Latin capitals scroll).
        edit->setFixedWidth(
                std::max(metrics.horizontalAdvance(QString(LineBytes, QLatin1Char('0'))),
                         metrics.horizontalAdvance(QString(LineBytes / 2, QChar(0xD55C))))
                + 10);
        edit->setProperty(LineProperty, n);
        auto *limit = new ByteLengthValidator(LineBytes, edit);
        edit->setValidator(limit);
        edit->installEventFilter(this);

        auto *tall = new QCheckBox(QStringLiteral("세로"), parent);
        tall->setObjectName(QStringLiteral("Ver%1").arg(n));
        auto *wide = new QCheckBox(QStringLiteral("가로"), parent);
        wide->setObjectName(QStringLiteral("Hor%1").arg(n));

        grid->addWidget(number, n - 1, 0);
        grid->addWidget(edit, n - 1, 1);
        grid->addWidget(tall, n - 1, 2);
        grid->addWidget(wide, n - 1, 3);
        m_prn.append(edit);
        m_ver.append(tall);
        m_hor.append(wide);
        m_limits.append(limit);

        connect(edit, &QLineEdit::textChanged, this, [this, n] {
            RunUserAction([this, n] { edtPrnChange(n); });
        });
        // Toggled, not clicked: the rules also run when the program sets a box
        // (opening a layout, the rule unchecking boxes itself).
        connect(tall, &QCheckBox::toggled, this, [this, n] {
            RunUserAction([this, n] { ckbVerClick(n); });
        });
        connect(wide, &QCheckBox::toggled, this, [this, n] {
            RunUserAction([this, n] { ckbHorClick(n); });
        });
    }
    attachFocusColours({m_prn.cbegin(), m_prn.cend()});
}

QWidget *TfrmZXS090::buildPreview(QWidget *parent)
{
    auto *box = new QGroupBox(QStringLiteral("미리보기"), parent);
    box->setObjectName(QStringLiteral("grbPreview"));
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(8, 8, 8, 8);

    // The picture and the tear-line caption beside it, placed by the picture's own coordinates.
    auto *canvas = new QWidget(box);
    auto *tear = new QLabel(QStringLiteral("절취선"), canvas);
    tear->setObjectName(QStringLiteral("lblTearLine"));
    tear->adjustSize();
    imgPreview = new QLabel(canvas);
    imgPreview->setObjectName(QStringLiteral("imgPreview"));
    imgPreview->setGeometry(0, 0, CouponPreview::Width, CouponPreview::Height);
    tear->move(CouponPreview::Width + 6, CouponPreview::TearLineY - tear->height() / 2);
    canvas->setFixedSize(CouponPreview::Width + 6 + tear->width(), CouponPreview::Height);
    row->addWidget(canvas);
    row->addStretch(1);
    return box;
}

QWidget *TfrmZXS090::buildRange(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    lblNo = label(CouponText::serialLabel(), box);
    lblNo->setObjectName(QStringLiteral("lblNo"));
    edtNoFrom = numberEdit(QStringLiteral("edtNoFrom"), 10, box);
    edtNoTo = numberEdit(QStringLiteral("edtNoTo"), 10, box);
    edtNoCount = numberEdit(QStringLiteral("edtNoCount"), 5, box);
    row->addWidget(lblNo);
    row->addSpacing(6);
    row->addWidget(edtNoFrom);
    row->addWidget(label(QStringLiteral("부터"), box));
    row->addWidget(edtNoTo);
    row->addWidget(label(QStringLiteral("까지"), box));
    row->addSpacing(10);
    row->addWidget(label(QStringLiteral("또는"), box));
    row->addWidget(edtNoCount);
    row->addWidget(label(QStringLiteral("장"), box));
    row->addStretch(1);
    column->addLayout(row);

    auto *hint = new QLabel(MessageService::displayText(CouponText::serialHint()), box);
    hint->setObjectName(QStringLiteral("lblSerialHint"));
    column->addWidget(hint);

    attachFocusColours({edtNoFrom, edtNoTo, edtNoCount});
    connect(edtNoFrom, &QLineEdit::textChanged, this, [this] {
        RunUserAction([this] { edtNoCountChange(); });
    });
    connect(edtNoCount, &QLineEdit::textChanged, this, [this] {
        RunUserAction([this] { edtNoCountChange(); });
    });
    connect(edtNoTo, &QLineEdit::textChanged, this, [this] {
        RunUserAction([this] { edtNoToChange(); });
    });
    return box;
}

void TfrmZXS090::buildBar()
{
    m_choosers = PortChoosers::create(panButtons, comComPort, ScreenId);
    const PortChoosers &choosers = m_choosers;
    cbbComPort = choosers.port;
    cbbComRate = choosers.rate;

    const QFontMetrics metrics(font());
    lblCountCurrent = new QLabel(panButtons);
    lblCountCurrent->setObjectName(QStringLiteral("lblCountCurrent"));
    lblCountCurrent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCountCurrent->setFixedWidth(metrics.horizontalAdvance(QString(10, QLatin1Char('0'))));
    lblCountSlash = new QLabel(panButtons);
    lblCountSlash->setObjectName(QStringLiteral("lblCountSlash"));
    lblCountTotal = new QLabel(panButtons);
    lblCountTotal->setObjectName(QStringLiteral("lblCountTotal"));
    lblCountTotal->setMinimumWidth(metrics.horizontalAdvance(QString(10, QLatin1Char('0'))));

    for (QWidget *widget :
         choosers.widgets() + QList<QWidget *>{lblCountCurrent, lblCountSlash, lblCountTotal})
        addLeftBarButton(widget);
    choosers.takeFreeRoom();
    attachFocusColours({cbbComPort, cbbComRate});

    bbtOpen = createButton(QStringLiteral("bbtOpen"), QStringLiteral("불러오기"), 1);
    bbtSave = createButton(QStringLiteral("bbtSave"), MessageText::saveCaption(), 4096);
    bbtPrint = createButton(QStringLiteral("bbtPrint"), MessageText::printCaption(), 1048576);
    insertBarButton(bbtOpen, bbtClose);
    insertBarButton(bbtSave, bbtClose);
    insertBarButton(bbtPrint, bbtClose);
    connectClick(bbtOpen, [this] { bbtOpenClick(); });
    connectClick(bbtSave, [this] { bbtSaveClick(); });
    connectClick(bbtPrint, [this] { bbtPrintClick(); });
    addHotkey(QStringLiteral("mnuSave"), QKeySequence(Qt::Key_F2), [this] { bbtSaveClick(); });
    addHotkey(QStringLiteral("mnuPrint"), QKeySequence(Qt::Key_F11), [this] { bbtPrintClick(); });
    addHotkey(QStringLiteral("mnuStop"), QKeySequence(Qt::Key_Escape), [this] {
        if (m_running && !m_stopRequested) {
            m_stopRequested = true;
            ShowStatusMessage(CouponText::stopping());
            m_printer->cancelWait();
        }
    });
}

void TfrmZXS090::FormCreate()
{
    TfrmZZI000::FormCreate();
    drawPreview();
    prn(1)->setFocus();
}

QList<CouponLine> TfrmZXS090::lines() const
{
    QList<CouponLine> result;
    for (int n = 1; n <= LineCount; ++n)
        result.append(
                {prn(n)->text(), ver(n)->isChecked(), hor(n)->isChecked(), prn(n)->isEnabled()});
    return result;
}

void TfrmZXS090::setLines(const QList<CouponLine> &lines)
{
    for (int n = 1; n <= LineCount; ++n) {
        const CouponLine line = n <= lines.size() ? lines.at(n - 1) : CouponLine();
        // The boxes first: a text meets its own line's limit, never the one
        // the screen had before.
        ver(n)->setChecked(line.doubleHeight);
        hor(n)->setChecked(line.doubleWidth);
        prn(n)->setText(line.text);
    }
}

int TfrmZXS090::lineLimit(int n) const
{
    return m_limits.at(n - 1)->maxBytes();
}

void TfrmZXS090::applyLineLimit(int n)
{
    m_limits.at(n - 1)->setMaxBytes(hor(n)->isChecked() ? WideLineBytes : LineBytes);
    QLineEdit *edit = prn(n);
    if (Cp949::byteLength(edit->text()) > lineLimit(n))
        edit->setText(Cp949::truncateToBytes(edit->text(), lineLimit(n)));
}

void TfrmZXS090::edtPrnChange(int n)
{
    // Text set by the program passes no validator: the limit holds here.
    QLineEdit *edit = prn(n);
    if (Cp949::byteLength(edit->text()) > lineLimit(n)) {
        const int cursor = edit->cursorPosition();
        const QString kept = Cp949::truncateToBytes(edit->text(), lineLimit(n));
        edit->setText(kept); // runs this handler again, within the limit
        edit->setCursorPosition(std::min(cursor, int(kept.size())));
        return;
    }
    drawPreview();
}

bool TfrmZXS090::edtPrnKeyDown(int n, int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        focusLine(n, 1);
        return true;
    case Qt::Key_Up:
        focusLine(n, -1);
        return true;
    default:
        return false;
    }
}

void TfrmZXS090::focusLine(int from, int step)
{
    // Disabled lines take no focus: go on to the next enabled one, round the list.
    int n = from;
    for (int tries = 0; tries < LineCount; ++tries) {
        n = (n - 1 + step + LineCount) % LineCount + 1;
        if (prn(n)->isEnabled()) {
            prn(n)->setFocus();
            return;
        }
    }
}

void TfrmZXS090::ckbVerClick(int n)
{
    if (m_inVerRule)
        return;
    {
        // A double-height line takes the room of two: each checked box gives up
        // one line at the end of the list, and no box may stay checked there.
        // Unchecking inside the rule would run it again; one pass with the first
        // count leaves the same boxes checked.
        const QScopedValueRollback inRule(m_inVerRule, true);
        const auto checked = [this] {
            return int(std::count_if(m_ver.cbegin(), m_ver.cend(), [](const QCheckBox *box) {
                return box->isChecked();
            }));
        };
        const int k = checked();
        for (int line = 22 - k; line <= LineCount; ++line)
            ver(line)->setChecked(false);
        const int firstDisabled = 22 - checked();
        for (int line = 1; line <= LineCount; ++line) {
            const bool enabled = line < firstDisabled;
            prn(line)->setEnabled(enabled);
            ver(line)->setEnabled(enabled);
            hor(line)->setEnabled(enabled);
        }
    }
    prn(n)->setFocus();
    drawPreview();
}

void TfrmZXS090::ckbHorClick(int n)
{
    applyLineLimit(n);
    prn(n)->setFocus();
    drawPreview();
}

void TfrmZXS090::edtNoCountChange()
{
    if (m_inRange)
        return;
    const QScopedValueRollback inRange(m_inRange, true);
    const qint64 count = TextToInt64(edtNoCount->text());
    if (count > 0)
        edtNoTo->setText(QString::number(TextToInt64(edtNoFrom->text()) + count - 1));
    drawPreview();
}

void TfrmZXS090::edtNoToChange()
{
    if (m_inRange)
        return;
    const QScopedValueRollback inRange(m_inRange, true);
    const qint64 first = TextToInt64(edtNoFrom->text());
    const qint64 last = TextToInt64(edtNoTo->text());
    if (last >= first)
        edtNoCount->setText(QString::number(last - first + 1));
    drawPreview();
}

void TfrmZXS090::drawPreview()
{
    if (!imgPreview)
        return;
    imgPreview->setPixmap(QPixmap::fromImage(CouponPreview::draw(lines(), edtNoFrom->text())));
}

bool TfrmZXS090::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const QVariant line = watched->property(LineProperty);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (line.isValid() && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            bool taken = false;
            RunUserAction([&] { taken = edtPrnKeyDown(line.toInt(), key->key()); });
            if (taken)
                return true;
        }
    }
    return TfrmZZI000::eventFilter(watched, event);
}

void TfrmZXS090::keepStopText()
{
    if (!m_stopText.isEmpty())
        ShowStatusMessage(m_stopText);
}

void TfrmZXS090::bbtSaveClick()
{
    ButtonGuard(bbtSave);
    keepStopText();
    saveLayout(false);
}

bool TfrmZXS090::saveLayout(bool toLayoutFile)
{
    if (const int line = CouponLayout::unencodableLine(lines()); line > 0) {
        ShowErrorMessage(CouponText::cannotEncode(line));
        prn(line)->setFocus();
        return false;
    }
    QString path = toLayoutFile ? m_layoutPath : QString();
    if (path.isEmpty()) {
        path = MessageService::instance().saveFileName(QString(),
                                                       ProgramFolders::dialogFolder(ScreenId),
                                                       CouponText::layoutFilter());
        if (path.isEmpty())
            return false;
        ProgramFolders::rememberDialogFile(ScreenId, path);
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".ini");
        if (QFileInfo::exists(path) && !AskYesNo(MessageText::overwriteQuestion()))
            return false;
    }
    if (!CouponLayout::save(path, lines())) {
        ShowErrorMessage(CouponText::cannotWriteLayout(path));
        return false;
    }
    m_layoutPath = path;
    m_savedLines = lines();
    return true;
}

void TfrmZXS090::bbtOpenClick()
{
    ButtonGuard(bbtOpen);
    keepStopText();
    const QString path = MessageService::instance().openFileName(QString(),
                                                                 ProgramFolders::dialogFolder(
                                                                         ScreenId),
                                                                 CouponText::layoutFilter());
    ProgramFolders::rememberDialogFile(ScreenId, path);
    if (!path.isEmpty()) {
        const auto layout = CouponLayout::load(path);
        if (layout) {
            setLines(*layout);
            m_layoutPath = path;
            m_savedLines = lines();
        } else
            ShowErrorMessage(CouponText::notALayout(path));
    }
    prn(1)->setFocus();
}

void TfrmZXS090::bbtPrintClick()
{
    ButtonGuard(bbtPrint);
    keepStopText();
    const qint64 first = TextToInt64(edtNoFrom->text());
    const qint64 last = TextToInt64(edtNoTo->text());
    if (first > 0 && (last == 0 || last < first)) {
        ShowErrorMessage(lblNo->text() + MessageText::enterCorrectly());
        edtNoTo->setFocus();
        Abort();
    }
    if (first > 0 && last > RunNumbers::Largest) {
        ShowErrorMessage(CouponText::pastLargest(QString::number(RunNumbers::Largest)));
        edtNoTo->setFocus();
        Abort();
    }
    const QList<CouponLine> current = lines();
    const bool anyText = std::any_of(current.cbegin(), current.cend(), [](const CouponLine &line) {
        return line.enabled && !line.text.isEmpty();
    });
    if (!anyText) {
        ShowErrorMessage(CouponText::nothingToPrint());
        prn(1)->setFocus();
        Abort();
    }
    std::optional<RunNumbers> numbers;
    if (first > 0) {
        try {
            numbers.emplace(NumberLedger(database(),
                                         ScreenId,
                                         NumberLedger::layoutName(m_layoutPath),
                                         login().empNo,
                                         LocalIPAddress()),
                            first,
                            last);
            const NumberLedger::Issued issued = numbers->readIssued();
            if (issued.count > 0) {
                if (!AskYesNo(CouponText::reprintQuestion(QString::number(issued.first),
                                                          issued.count)))
                    return;
                numbers->allowReprints();
            }
        } catch (const DbError &e) {
            ShowErrorMessage(CouponText::ledgerFailed(e.message()));
            return;
        }
    }
    m_stopText.clear();
    setCounter(QString(), QString()); // what a stopped run left
    comComPort->setPortName(cbbComPort->currentText());
    comComPort->setRateName(cbbComRate->currentText());
    m_choosers.remember();
    if (!comComPort->open()) {
        ShowErrorMessage(CouponText::cannotOpenPort(cbbComPort->currentText()));
        return;
    }
    lockForRun(true);
    const auto finish = qScopeGuard([this] {
        comComPort->close();
        lockForRun(false);
    });
    if (m_printer->statusCheck())
        runCoupons(current, numbers ? &*numbers : nullptr);
}

void TfrmZXS090::runCoupons(const QList<CouponLine> &lines, RunNumbers *numbers)
{
    const qint64 from = numbers ? numbers->first() : 0;
    const qint64 to = numbers ? numbers->last() : 0;
    const QString total = QString::number(to - from + 1);
    setCounter(QStringLiteral("0"), total);

    // A stop keeps the counter, names the last coupon the printer confirmed,
    // the one it did not confirm and the first not sent, and moves the range
    // on to the number after the last one sent.
    const auto stopped = [&](qint64 notSent) {
        const auto text = [](qint64 n) { return n > 0 ? QString::number(n) : QString(); };
        QString status;
        if (numbers) {
            const QList<qint64> unconfirmed = numbers->unconfirmed();
            status = CouponText::stopped(text(numbers->lastConfirmed()),
                                         unconfirmed.isEmpty() ? QString()
                                                               : text(unconfirmed.last()),
                                         text(notSent));
            const qint64 resume = numbers->resumeFrom();
            const QScopedValueRollback inRange(m_inRange, true);
            if (resume <= to) {
                edtNoCount->setText(QString::number(to - resume + 1));
                edtNoFrom->setText(QString::number(resume));
                edtNoTo->setText(QString::number(to));
            } else {
                edtNoFrom->setText(QString::number(to + 1));
                edtNoTo->setText(QString::number(to + to - from + 1));
            }
            drawPreview();
        } else {
            status = CouponText::stopped(QString(), QString());
        }
        m_stopText = status;
        ShowStatusMessage(status);
    };
    const auto ledgerWrite = [&](const auto &write) {
        if (!numbers)
            return true;
        try {
            write();
            return true;
        } catch (const DbError &e) {
            ShowErrorMessage(CouponText::ledgerFailed(e.message()));
            return false;
        }
    };

    for (qint64 serial = from; serial <= to; ++serial) {
        if (m_stopRequested) {
            stopped(0);
            return;
        }
        setCounter(QString::number(serial - from + 1), total);
        if (!m_printer->readyForCoupon()) {
            stopped(numbers ? serial : 0);
            return;
        }
        bool mine = true;
        if (!ledgerWrite([&] { mine = numbers->claim(serial); })) {
            stopped(serial);
            return;
        }
        if (!mine) {
            ShowErrorMessage(CouponText::numberTaken(QString::number(serial)));
            stopped(serial);
            return;
        }
        if (numbers)
            numbers->sent(serial);
        const bool confirmed = m_printer->printCoupon(CouponCommands::couponText(lines, serial));
        if (!ledgerWrite([&] { confirmed ? numbers->confirm() : numbers->leaveUnconfirmed(); })
            || !confirmed) {
            stopped(0);
            return;
        }
    }
    setCounter(QString(), QString());
    if (numbers) {
        const QScopedValueRollback inRange(m_inRange, true);
        edtNoFrom->setText(QString::number(to + 1));
        edtNoTo->setText(QString::number(to + to - from + 1));
        drawPreview();
    }
    // As the ticket run: a run of several coupons says that it is over.
    if (to > from)
        MessageService::instance().plainMessage(CouponText::completed());
}

void TfrmZXS090::setCounter(const QString &current, const QString &total)
{
    lblCountCurrent->setText(current);
    lblCountSlash->setText(total.isEmpty() ? QString() : QStringLiteral("/"));
    lblCountTotal->setText(total);
}

void TfrmZXS090::lockForRun(bool locked)
{
    m_running = locked;
    m_stopRequested = false;
    m_printer->setCancelled(false);
    if (locked)
        m_focusBeforeRun = QApplication::focusWidget();
    for (QWidget *widget : std::initializer_list<QWidget *>{
                 panMain, cbbComPort, cbbComRate, bbtOpen, bbtSave, bbtPrint, bbtClose})
        widget->setEnabled(!locked);
    if (locked) {
        // The screen itself holds the focus, so that Esc reaches it.
        setFocusProxy(nullptr);
        setFocusPolicy(Qt::StrongFocus);
        setFocus();
        ShowStatusMessage(CouponText::running());
    } else {
        setFocusPolicy(Qt::NoFocus);
        setFocusProxy(prn(1));
        if (statusMessage() == CouponText::running() || statusMessage() == CouponText::stopping()
            || statusMessage() == CouponText::closeRefused())
            ShowStatusMessage(QString());
        QWidget *focus = m_focusBeforeRun && isAncestorOf(m_focusBeforeRun) ? m_focusBeforeRun
                                                                            : prn(1);
        m_focusBeforeRun = nullptr;
        focus->setFocus();
    }
}

void TfrmZXS090::comComPortRxChar(const QByteArray &piece)
{
    m_printer->takePiece(piece);
}

bool TfrmZXS090::FormCloseQuery()
{
    // The base would ask the host to free the screen while the run's wait
    // still runs inside it.
    if (m_running) {
        ShowStatusMessage(CouponText::closeRefused());
        return false;
    }
    ConfirmCloseWithChanges(lines() != m_savedLines, [this] { return saveLayout(true); });
    return TfrmZZI000::FormCloseQuery();
}
