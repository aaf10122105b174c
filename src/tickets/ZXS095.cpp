#include "ZXS095.h"

#include "portchoosers.h"
#include "runnumbers.h"
#include "ticketcommands.h"
#include "ticketlayout.h"
#include "ticketpictures.h"
#include "ticketprinter.h"
#include "ticketstatus.h"
#include "tickettexts.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/messageservice.h"
#include "common/silentabort.h"
#include "db/dberror.h"
#include "db/numberledger.h"
#include "framework/inquirytexts.h"
#include "framework/messagetexts.h"
#include "framework/useraction.h"
#include "platform/cp949.h"
#include "platform/programfolders.h"
#include "platform/seriallink.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The program's own settings (port, rate, the file dialogs' folder) go under this name.
const QString ScreenId = QStringLiteral("ZXS095");

struct FontRow
{
    const char *name; // UTF-8
    const char *previewFamily;
    int basePoints;
};

// The font list: the name shown, the font the picture uses for it, its size.
const FontRow Fonts[] = {
        {"한글", "바탕체", 10},
        {"영문 5x7", "Arial", 5},
        {"영문 8x16", "Modern", 7},
        {"영문 OCRB 17x31", "Modern", 12},
        {"영문 OCRA 5x9", "Arial", 5},
        {"영문 OCRB 30x52", "Lucida Sans Unicode", 20},
        {"영문 CCRA 15x29", "Courier New", 12},
        {"영문 Courier 20x33", "Courier New", 12},
        {"영문 OCRB 13x20", "Arial", 8},
        {"영문 Prestige 25x41", "Times New Roman", 20},
        {"영문 Script 25x49", "Comic Sans MS", 16},
        {"영문 Orator 46x91", "Impact", 36},
        {"영문 Courier 20x42", "Courier New", 12},
};
constexpr int FontCount = int(std::size(Fonts));
constexpr int OcrAFont = 4;

QSpinBox *spinBox(const QString &objectName, int minimum, int maximum, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(objectName);
    box->setRange(minimum, maximum);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(64);
    return box;
}

QLineEdit *numberEdit(const QString &objectName, int digits, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(digits);
    edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(
                                                    QStringLiteral("[0-9]{0,%1}").arg(digits)),
                                            edit));
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

/// ASCII letters upper-cased, everything else as it is; the number's mark
/// is no text of the ticket and stays as it is.
QString upperAscii(const QString &text)
{
    if (TicketDesign::isSequenceMark(text))
        return text;
    QString result = text;
    for (QChar &c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return result;
}

} // namespace

TfrmZXS095::TfrmZXS095(QWidget *parent)
    : TfrmZZI000(parent)
    , m_oldLedgerPath(defaultOldLedgerPath())
{
    setObjectName(QStringLiteral("frmZXS095"));
    setWindowTitle(TicketText::caption());

    auto *columns = new QHBoxLayout;
    columns->setSpacing(10);
    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(buildProperty());
    left->addWidget(buildSequence());
    left->addWidget(buildDirection());
    left->addWidget(buildSize());
    left->addStretch(1);
    columns->addLayout(left);
    columns->addWidget(buildTicket(), 1);
    addToMain(columns, 1);

    comComPort = new SerialLink(this);
    comComPort->setObjectName(QStringLiteral("comComPort"));
    m_printer = new TicketPrinter(comComPort, this);
    connect(comComPort, &SerialLink::pieceReceived, this, [this](const QByteArray &piece) {
        RunUserAction([&] { comComPortRxChar(piece); });
    });
    buildBar();
}

TfrmZXS095::~TfrmZXS095() = default;

QWidget *TfrmZXS095::buildProperty()
{
    grbProperty = new QGroupBox(QStringLiteral(" 속성 "), panMain);
    grbProperty->setObjectName(QStringLiteral("grbProperty"));
    auto *grid = new QGridLayout(grbProperty);
    grid->setVerticalSpacing(5);

    cbbPropertyFont = new QComboBox(grbProperty);
    cbbPropertyFont->setObjectName(QStringLiteral("cbbPropertyFont"));
    cbbPropertyFont->addItems(fontNames());
    edtPropertySize = spinBox(QStringLiteral("edtPropertySize"), 1, 6, grbProperty);
    edtPropertySizeHeight = spinBox(QStringLiteral("edtPropertySizeHeight"), 5, 30, grbProperty);
    edtPropertySizeHeight->setSuffix(QStringLiteral(" mm"));
    edtPropertySizeHeight->setFixedWidth(76);
    lblPropertySizeHeight = new QLabel(QStringLiteral("높이"), grbProperty);
    edtPropertyPosX = spinBox(QStringLiteral("edtPropertyPosX"), 2, 9999, grbProperty);
    edtPropertyPosY = spinBox(QStringLiteral("edtPropertyPosY"), 2, 9999, grbProperty);
    edtPropertyText = new QLineEdit(grbProperty);
    edtPropertyText->setObjectName(QStringLiteral("edtPropertyText"));
    chkPropertySeq = new QCheckBox(QStringLiteral("일련번호"), grbProperty);
    chkPropertySeq->setObjectName(QStringLiteral("chkPropertySeq"));
    btnPropertyLabel = new QPushButton(QStringLiteral("Label 추가"), grbProperty);
    btnPropertyLabel->setObjectName(QStringLiteral("btnPropertyLabel"));
    btnPropertyBarcode = new QPushButton(QStringLiteral("Barcode 추가"), grbProperty);
    btnPropertyBarcode->setObjectName(QStringLiteral("btnPropertyBarcode"));
    btnPropertyDelete = new QPushButton(QStringLiteral("객체 삭제"), grbProperty);
    btnPropertyDelete->setObjectName(QStringLiteral("btnPropertyDelete"));
    for (QPushButton *b : {btnPropertyLabel, btnPropertyBarcode, btnPropertyDelete})
        b->setAutoDefault(false);

    grid->addWidget(new QLabel(QStringLiteral("글    꼴"), grbProperty), 0, 0);
    grid->addWidget(cbbPropertyFont, 0, 1, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("크기(배)"), grbProperty), 1, 0);
    grid->addWidget(edtPropertySize, 1, 1);
    grid->addWidget(lblPropertySizeHeight, 1, 2, Qt::AlignRight);
    grid->addWidget(edtPropertySizeHeight, 1, 3, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("위    치"), grbProperty), 2, 0);
    grid->addWidget(edtPropertyPosX, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("X  Y"), grbProperty), 2, 2, Qt::AlignCenter);
    grid->addWidget(edtPropertyPosY, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("mm"), grbProperty), 2, 4);
    grid->addWidget(new QLabel(QStringLiteral("내    용"), grbProperty), 3, 0);
    grid->addWidget(edtPropertyText, 3, 1, 1, 4);
    grid->addWidget(chkPropertySeq, 4, 1, 1, 4);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnPropertyLabel);
    buttons->addWidget(btnPropertyBarcode);
    buttons->addWidget(btnPropertyDelete);
    grid->addLayout(buttons, 5, 0, 1, 5);

    connectClick(btnPropertyLabel, [this] { btnPropertyLabelClick(); });
    connectClick(btnPropertyBarcode, [this] { btnPropertyBarcodeClick(); });
    connectClick(btnPropertyDelete, [this] { btnPropertyDeleteClick(); });
    const auto guarded = [this](void (TfrmZXS095::*handler)()) {
        return [this, handler] { RunUserAction([this, handler] { (this->*handler)(); }); };
    };
    connect(cbbPropertyFont,
            &QComboBox::currentIndexChanged,
            this,
            guarded(&TfrmZXS095::fontOrSizeChanged));
    connect(edtPropertySize, &QSpinBox::valueChanged, this, guarded(&TfrmZXS095::fontOrSizeChanged));
    connect(edtPropertySizeHeight,
            &QSpinBox::valueChanged,
            this,
            guarded(&TfrmZXS095::heightChanged));
    connect(edtPropertyPosX, &QSpinBox::valueChanged, this, guarded(&TfrmZXS095::positionChanged));
    connect(edtPropertyPosY, &QSpinBox::valueChanged, this, guarded(&TfrmZXS095::positionChanged));
    connect(edtPropertyText, &QLineEdit::textChanged, this, guarded(&TfrmZXS095::textChanged));
    connect(chkPropertySeq, &QCheckBox::toggled, this, guarded(&TfrmZXS095::sequenceToggled));
    attachFocusColours({cbbPropertyFont, edtPropertyText});
    return grbProperty;
}

QWidget *TfrmZXS095::buildSequence()
{
    grbSequence = new QGroupBox(QStringLiteral(" 일련번호"), panMain);
    grbSequence->setObjectName(QStringLiteral("grbSequence"));
    auto *row = new QHBoxLayout(grbSequence);
    edtPropertySeqFrom = numberEdit(QStringLiteral("edtPropertySeqFrom"), 10, grbSequence);
    edtPropertySeqTo = numberEdit(QStringLiteral("edtPropertySeqTo"), 10, grbSequence);
    edtPropertySeqCount = numberEdit(QStringLiteral("edtPropertySeqCount"), 5, grbSequence);
    edtPropertySeqCount->setFixedWidth(52);
    row->addWidget(edtPropertySeqFrom, 2);
    row->addWidget(new QLabel(QStringLiteral("~"), grbSequence));
    row->addWidget(edtPropertySeqTo, 2);
    row->addWidget(edtPropertySeqCount);
    row->addWidget(new QLabel(QStringLiteral("장"), grbSequence));
    connect(edtPropertySeqFrom, &QLineEdit::textChanged, this, [this] {
        RunUserAction([this] { edtPropertySeqFromChange(); });
    });
    connect(edtPropertySeqCount, &QLineEdit::textChanged, this, [this] {
        RunUserAction([this] { edtPropertySeqFromChange(); });
    });
    connect(edtPropertySeqTo, &QLineEdit::textChanged, this, [this] {
        RunUserAction([this] { edtPropertySeqToChange(); });
    });
    attachFocusColours({edtPropertySeqFrom, edtPropertySeqTo, edtPropertySeqCount});
    return grbSequence;
}

QWidget *TfrmZXS095::buildDirection()
{
    grbDirection = new QGroupBox(QStringLiteral(" 인쇄 방향 "), panMain);
    grbDirection->setObjectName(QStringLiteral("grbDirection"));
    auto *row = new QHBoxLayout(grbDirection);
    rdgDirection = new QWidget(grbDirection);
    rdgDirection->setObjectName(QStringLiteral("rdgDirection"));
    auto *buttons = new QGridLayout(rdgDirection);
    buttons->setContentsMargins(0, 0, 0, 0);
    m_directions = new QButtonGroup(this);
    const QStringList names = {QStringLiteral("0˚"),
                               QStringLiteral("90˚"),
                               QStringLiteral("180˚"),
                               QStringLiteral("270˚")};
    for (int d = 0; d < 4; ++d) {
        auto *button = new QRadioButton(names[d], rdgDirection);
        button->setObjectName(QStringLiteral("rdgDirection%1").arg(d));
        m_directions->addButton(button, d);
        buttons->addWidget(button, d / 2, d % 2);
    }
    m_directions->button(0)->setChecked(true);
    connect(m_directions, &QButtonGroup::idClicked, this, [this] {
        RunUserAction([this] { rdgDirectionClick(); });
    });
    row->addWidget(rdgDirection);

    // The paper with the direction's picture over it.
    auto *picture = new QWidget(grbDirection);
    const QImage paper = TicketPictures::paper();
    picture->setFixedSize(paper.size());
    imgPaper = new QLabel(picture);
    imgPaper->setObjectName(QStringLiteral("imgPaper"));
    imgPaper->setPixmap(QPixmap::fromImage(paper));
    imgPaper->setGeometry(QRect(QPoint(0, 0), paper.size()));
    for (int d = 0; d < 4; ++d) {
        auto *arrow = new QLabel(picture);
        arrow->setObjectName(QStringLiteral("imgDirection%1").arg(d));
        const QImage image = TicketPictures::direction(d);
        arrow->setPixmap(QPixmap::fromImage(image));
        arrow->setGeometry(QRect(QPoint((paper.width() - image.width()) / 2 - 6,
                                        (paper.height() - image.height()) / 2),
                                 image.size()));
        arrow->setVisible(d == 0);
        imgDirection.append(arrow);
    }
    row->addWidget(picture);
    return grbDirection;
}

QWidget *TfrmZXS095::buildSize()
{
    grbSize = new QGroupBox(QStringLiteral(" 용지 크기 "), panMain);
    grbSize->setObjectName(QStringLiteral("grbSize"));
    auto *grid = new QGridLayout(grbSize);
    edtSizeWidth = spinBox(QStringLiteral("edtSizeWidth"), 10, 200, grbSize);
    edtSizeHeight = spinBox(QStringLiteral("edtSizeHeight"), 10, 200, grbSize);
    cbbSizeCut = new QComboBox(grbSize);
    cbbSizeCut->setObjectName(QStringLiteral("cbbSizeCut"));
    cbbSizeCut->addItems({QStringLiteral("없음"), QStringLiteral("가로"), QStringLiteral("세로")});
    edtSizeCut = spinBox(QStringLiteral("edtSizeCut"), 0, 200, grbSize);
    grid->addWidget(new QLabel(QStringLiteral("가로"), grbSize), 0, 0);
    grid->addWidget(edtSizeWidth, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("세로"), grbSize), 0, 2);
    grid->addWidget(edtSizeHeight, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("mm"), grbSize), 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("절취선"), grbSize), 1, 0);
    grid->addWidget(cbbSizeCut, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("위치"), grbSize), 1, 2);
    grid->addWidget(edtSizeCut, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("mm"), grbSize), 1, 4);
    connect(edtSizeWidth, &QSpinBox::valueChanged, this, [this] {
        RunUserAction([this] { edtSizeWidthChange(); });
    });
    connect(edtSizeHeight, &QSpinBox::valueChanged, this, [this] {
        RunUserAction([this] { edtSizeHeightChange(); });
    });
    connect(cbbSizeCut, &QComboBox::currentIndexChanged, this, [this] {
        RunUserAction([this] { cbbSizeCutChange(); });
    });
    connect(edtSizeCut, &QSpinBox::valueChanged, this, [this] {
        RunUserAction([this] { cbbSizeCutChange(); });
    });
    attachFocusColours({cbbSizeCut});
    return grbSize;
}

QWidget *TfrmZXS095::buildTicket()
{
    auto *column = new QWidget(panMain);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(column);
    scroll->setObjectName(QStringLiteral("scrTicket"));
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll->setBackgroundRole(QPalette::Dark);
    panTicket = new QWidget;
    panTicket->setObjectName(QStringLiteral("panTicket"));
    panTicket->setAutoFillBackground(true);
    // Else it takes the scroll area's dark role, and its labels light text.
    panTicket->setBackgroundRole(QPalette::Window);
    QPalette white = panTicket->palette();
    white.setColor(QPalette::Window, Qt::white);
    panTicket->setPalette(white);
    scroll->setWidget(panTicket);

    imgTicketBarcode = new QLabel(panTicket);
    imgTicketBarcode->setObjectName(QStringLiteral("imgTicketBarcode"));
    imgTicketBarcode->setPixmap(QPixmap::fromImage(TicketPictures::barcode()));
    imgTicketBarcode->setScaledContents(true);
    imgTicketBarcode->setGeometry(0, 0, 88, 28);
    imgTicketBarcode->hide();
    imgTicketBarcode->installEventFilter(this);

    shpCutLine = new QFrame(panTicket);
    shpCutLine->setObjectName(QStringLiteral("shpCutLine"));
    shpCutLine->setStyleSheet(QStringLiteral("border: 1px dotted #808080;"));
    shpCutLine->hide();

    lblNote = new QLabel(MessageService::displayText(TicketText::designNote()), column);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    layout->addWidget(scroll, 1);
    layout->addWidget(lblNote);
    return column;
}

void TfrmZXS095::buildBar()
{
    m_choosers = PortChoosers::create(panButtons, comComPort, ScreenId);
    const PortChoosers &choosers = m_choosers;
    cbbComPort = choosers.port;
    cbbComRate = choosers.rate;
    for (QWidget *widget : choosers.widgets())
        addLeftBarButton(widget);
    choosers.takeFreeRoom();
    attachFocusColours({cbbComPort, cbbComRate});

    bbtPrint = createButton(QStringLiteral("bbtPrint"), QStringLiteral("출력"), 1048576);
    bbtOpen = createButton(QStringLiteral("bbtOpen"), QStringLiteral("불러오기"), 1);
    bbtSave = createButton(QStringLiteral("bbtSave"), QStringLiteral("저장"), 4096);
    insertBarButton(bbtPrint, bbtClose);
    insertBarButton(bbtOpen, bbtClose);
    insertBarButton(bbtSave, bbtClose);
    connectClick(bbtPrint, [this] { bbtPrintClick(); });
    connectClick(bbtOpen, [this] { bbtOpenClick(); });
    connectClick(bbtSave, [this] { bbtSaveClick(); });
    addHotkey(QStringLiteral("mnuSave"), QKeySequence(Qt::Key_F2), [this] { bbtSaveClick(); });
    addHotkey(QStringLiteral("mnuOpen"), QKeySequence(Qt::Key_F3), [this] { bbtOpenClick(); });
    addHotkey(QStringLiteral("mnuPrint"), QKeySequence(Qt::Key_F11), [this] { bbtPrintClick(); });
    addHotkey(QStringLiteral("mnuStop"), QKeySequence(Qt::Key_Escape), [this] {
        if (m_running && !m_stopRequested) {
            m_stopRequested = true;
            ShowStatusMessage(TicketText::stopping());
            m_printer->cancelWait();
        }
    });
}

void TfrmZXS095::FormCreate()
{
    TfrmZZI000::FormCreate();
    setDirection(0);
    edtSizeWidth->setValue(155);
    edtSizeHeight->setValue(60);
    edtSizeWidthChange();
    edtSizeHeightChange();
    m_labelCounter = 0;
    ClearSelection();
    m_savedDesign = design();
}

QStringList TfrmZXS095::fontNames()
{
    QStringList names;
    for (const FontRow &row : Fonts)
        names.append(QString::fromUtf8(row.name));
    return names;
}

QFont TfrmZXS095::previewFont(int fontIndex, int multiplier)
{
    const FontRow &row = Fonts[fontIndex >= 0 && fontIndex < FontCount ? fontIndex : 0];
    QFont font(QString::fromUtf8(row.previewFamily));
    font.setPointSize(row.basePoints * std::max(multiplier, 1));
    return font;
}

// --- The design ---------------------------------------------------------------

TfrmZXS095::Item *TfrmZXS095::itemOf(const QWidget *widget)
{
    for (Item &item : m_items) {
        if (item.label == widget)
            return &item;
    }
    return nullptr;
}

const TfrmZXS095::Item *TfrmZXS095::itemOf(const QWidget *widget) const
{
    return const_cast<TfrmZXS095 *>(this)->itemOf(widget);
}

QList<QLabel *> TfrmZXS095::labelItems() const
{
    QList<QLabel *> labels;
    for (const Item &item : m_items)
        labels.append(item.label);
    return labels;
}

TicketLabel TfrmZXS095::labelOf(const QLabel *label) const
{
    const Item *item = itemOf(label);
    if (!item)
        return TicketLabel();
    return {label->objectName(),
            item->text,
            item->fontIndex,
            item->multiplier,
            label->x(),
            label->y()};
}

TicketDesign TfrmZXS095::design() const
{
    TicketDesign d;
    d.direction = direction();
    d.widthMm = edtSizeWidth->value();
    d.heightMm = edtSizeHeight->value();
    d.cutType = cbbSizeCut->currentIndex();
    d.cutLineMm = edtSizeCut->value();
    for (const Item &item : m_items)
        d.labels.append(labelOf(item.label));
    d.barcodeVisible = !imgTicketBarcode->isHidden();
    d.barcodeLeftPx = imgTicketBarcode->x();
    d.barcodeTopPx = imgTicketBarcode->y();
    d.barcodeWidthPx = imgTicketBarcode->width();
    d.barcodeHeightPx = imgTicketBarcode->height();
    return d;
}

int TfrmZXS095::direction() const
{
    return std::max(m_directions->checkedId(), 0);
}

void TfrmZXS095::ClearSelection()
{
    for (const Item &item : m_items)
        item.label->setAutoFillBackground(false);
    m_selected = nullptr;
    for (QWidget *editor : std::initializer_list<QWidget *>{cbbPropertyFont,
                                                            edtPropertySize,
                                                            edtPropertySizeHeight,
                                                            edtPropertyPosX,
                                                            edtPropertyPosY,
                                                            edtPropertyText,
                                                            chkPropertySeq,
                                                            btnPropertyDelete})
        editor->setEnabled(false);
}

QLabel *TfrmZXS095::addLabel()
{
    ++m_labelCounter;
    const QString name = QStringLiteral("Label%1").arg(m_labelCounter);
    auto *label = new QLabel(name, panTicket);
    label->setObjectName(name);
    QPalette blue = label->palette();
    blue.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));
    label->setPalette(blue);
    label->installEventFilter(this);
    m_items.append({label, name, false, 0, 1});
    applyFont(m_items.last());
    label->move((panTicket->width() - label->width()) / 2,
                (panTicket->height() - label->height()) / 2);
    label->show();
    selectItem(label);
    return label;
}

void TfrmZXS095::applyFont(Item &item)
{
    item.label->setFont(previewFont(item.fontIndex, item.multiplier));
    item.label->adjustSize();
}

void TfrmZXS095::applyText(Item &item)
{
    item.label->setText(item.text);
    item.label->adjustSize();
}

void TfrmZXS095::selectItem(QWidget *widget)
{
    const QScopedValueRollback filling(m_filling, true);
    ClearSelection();
    m_selected = widget;
    const bool barcode = widget == imgTicketBarcode;
    Item *item = itemOf(widget);
    // The editors are filled without their change handlers: the font chooser's
    // handler would otherwise copy the size still shown for the previous item
    // into this one. Then the item takes the values shown, in whole millimetres.
    {
        const QSignalBlocker b1(cbbPropertyFont), b2(edtPropertySize), b3(edtPropertySizeHeight),
                b4(edtPropertyPosX), b5(edtPropertyPosY), b6(edtPropertyText), b7(chkPropertySeq);
        cbbPropertyFont->setEnabled(!barcode);
        cbbPropertyFont->setCurrentIndex(
                barcode || item->fontIndex < 0 || item->fontIndex >= FontCount ? -1
                                                                               : item->fontIndex);
        lblPropertySizeHeight->setVisible(barcode);
        edtPropertySizeHeight->setVisible(barcode);
        edtPropertySizeHeight->setEnabled(barcode);
        edtPropertySize->setEnabled(true);
        if (barcode) {
            edtPropertySizeHeight->setValue(widget->height() / PixelsPerMm);
            edtPropertySize->setValue(widget->width() / (11 * PixelsPerMm));
        } else {
            edtPropertySize->setValue(item->multiplier);
        }
        edtPropertyPosX->setEnabled(true);
        edtPropertyPosY->setEnabled(true);
        edtPropertyPosX->setValue(widget->x() / PixelsPerMm);
        edtPropertyPosY->setValue(widget->y() / PixelsPerMm);
        chkPropertySeq->setEnabled(!barcode);
        chkPropertySeq->setChecked(barcode || item->sequence);
        edtPropertyText->setEnabled(!barcode && !item->sequence);
        edtPropertyText->setText(barcode ? TicketDesign::sequenceMark() : item->text);
    }
    if (barcode) {
        widget->resize(edtPropertySize->value() * 11 * PixelsPerMm,
                       edtPropertySizeHeight->value() * PixelsPerMm);
    } else {
        item->multiplier = edtPropertySize->value();
        applyFont(*item);
        item->label->setAutoFillBackground(true);
    }
    widget->move(edtPropertyPosX->value() * PixelsPerMm, edtPropertyPosY->value() * PixelsPerMm);
    btnPropertyDelete->setEnabled(true);
}

void TfrmZXS095::btnPropertyLabelClick()
{
    addLabel();
}

void TfrmZXS095::btnPropertyBarcodeClick()
{
    showBarcode();
}

void TfrmZXS095::showBarcode()
{
    btnPropertyBarcode->setEnabled(false);
    imgTicketBarcode->show();
    imgTicketBarcode->raise();
    if (imgTicketBarcode->pos() == QPoint(0, 0))
        imgTicketBarcode->move((panTicket->width() - imgTicketBarcode->width()) / 2,
                               (panTicket->height() - imgTicketBarcode->height()) / 2);
    selectItem(imgTicketBarcode);
}

void TfrmZXS095::lblTicketTextClick(QLabel *item)
{
    selectItem(item);
}

void TfrmZXS095::imgTicketBarcodeClick()
{
    selectItem(imgTicketBarcode);
}

void TfrmZXS095::btnPropertyDeleteClick()
{
    QWidget *selected = m_selected;
    ClearSelection();
    if (!selected)
        return;
    if (selected == imgTicketBarcode) {
        btnPropertyBarcode->setEnabled(true);
        imgTicketBarcode->hide();
        return;
    }
    const QString name = selected->objectName();
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).label->objectName() == name) {
            m_items.removeAt(i);
            break;
        }
    }
    delete selected;
}

void TfrmZXS095::fontOrSizeChanged()
{
    if (!m_selected)
        return;
    if (m_selected == imgTicketBarcode) {
        imgTicketBarcode->resize(edtPropertySize->value() * 11 * PixelsPerMm,
                                 imgTicketBarcode->height());
        return;
    }
    Item *item = itemOf(m_selected);
    item->fontIndex = cbbPropertyFont->currentIndex();
    item->multiplier = edtPropertySize->value();
    applyFont(*item);
}

void TfrmZXS095::heightChanged()
{
    if (m_selected == imgTicketBarcode)
        imgTicketBarcode->resize(imgTicketBarcode->width(),
                                 edtPropertySizeHeight->value() * PixelsPerMm);
}

void TfrmZXS095::positionChanged()
{
    if (m_selected)
        m_selected->move(edtPropertyPosX->value() * PixelsPerMm,
                         edtPropertyPosY->value() * PixelsPerMm);
}

void TfrmZXS095::textChanged()
{
    if (m_filling || !m_selected || m_selected == imgTicketBarcode)
        return;
    Item *item = itemOf(m_selected);
    item->text = edtPropertyText->text();
    applyText(*item);
}

void TfrmZXS095::sequenceToggled()
{
    if (m_filling || !m_selected || m_selected == imgTicketBarcode)
        return;
    Item *item = itemOf(m_selected);
    const bool checked = chkPropertySeq->isChecked();
    edtPropertyText->setEnabled(!checked);
    {
        const QSignalBlocker blocker(edtPropertyText);
        if (checked)
            edtPropertyText->setText(TicketDesign::sequenceMark());
        else if (edtPropertyText->text() == TicketDesign::sequenceMark())
            edtPropertyText->setText(item->label->objectName());
    }
    item->text = edtPropertyText->text();
    item->sequence = checked;
    applyText(*item);
}

// --- Dragging -----------------------------------------------------------------

bool TfrmZXS095::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    const bool isItem = widget && (widget == imgTicketBarcode || itemOf(widget));
    if (isItem && !m_running) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                RunUserAction(
                        [&] { imgTicketBarcodeMouseDown(widget, mouse->position().toPoint()); });
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            RunUserAction([&] { imgTicketBarcodeMouseMove(widget, mouse->position().toPoint()); });
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                RunUserAction([&] {
                    imgTicketBarcodeMouseUp(widget, mouse->position().toPoint());
                    // The click that follows the release selects the item.
                    if (widget == imgTicketBarcode)
                        imgTicketBarcodeClick();
                    else
                        lblTicketTextClick(static_cast<QLabel *>(widget));
                });
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return TfrmZZI000::eventFilter(watched, event);
}

void TfrmZXS095::imgTicketBarcodeMouseDown(QWidget *, const QPoint &pos)
{
    m_dragging = true;
    m_dragStart = pos;
}

void TfrmZXS095::imgTicketBarcodeMouseMove(QWidget *item, const QPoint &pos)
{
    if (m_dragging)
        item->move(item->pos() + pos - m_dragStart);
}

void TfrmZXS095::imgTicketBarcodeMouseUp(QWidget *item, const QPoint &pos)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    QPoint p = item->pos() + pos - m_dragStart;
    // The item's corner stays on the picture; its own size is not counted.
    const auto keep = [](int value, int extent) {
        if (value + 10 > extent - Margin)
            return extent - Margin - 10;
        return value < Margin ? Margin : value;
    };
    p.setX(keep(p.x(), panTicket->width()));
    p.setY(keep(p.y(), panTicket->height()));
    item->move(p);
}

// --- Ticket and range -----------------------------------------------------------

void TfrmZXS095::setDirection(int d)
{
    if (QAbstractButton *button = m_directions->button(d))
        button->setChecked(true);
    rdgDirectionClick();
}

void TfrmZXS095::rdgDirectionClick()
{
    for (int d = 0; d < imgDirection.size(); ++d)
        imgDirection.at(d)->setVisible(d == direction());
}

void TfrmZXS095::edtSizeWidthChange()
{
    panTicket->setFixedWidth(edtSizeWidth->value() * PixelsPerMm);
}

void TfrmZXS095::edtSizeHeightChange()
{
    panTicket->setFixedHeight(edtSizeHeight->value() * PixelsPerMm);
}

void TfrmZXS095::cbbSizeCutChange()
{
    const int at = edtSizeCut->value() * PixelsPerMm;
    switch (cbbSizeCut->currentIndex()) {
    case 1:
        shpCutLine->setGeometry(0, at, panTicket->width(), 1);
        shpCutLine->show();
        break;
    case 2:
        shpCutLine->setGeometry(at, 0, 1, panTicket->height());
        shpCutLine->show();
        break;
    default:
        shpCutLine->hide();
        break;
    }
}

void TfrmZXS095::edtPropertySeqFromChange()
{
    if (m_inRange)
        return;
    const QScopedValueRollback inRange(m_inRange, true);
    const qint64 count = TextToInt64(edtPropertySeqCount->text());
    if (count > 0)
        edtPropertySeqTo->setText(
                QString::number(TextToInt64(edtPropertySeqFrom->text()) + count - 1));
}

void TfrmZXS095::edtPropertySeqToChange()
{
    if (m_inRange)
        return;
    const QScopedValueRollback inRange(m_inRange, true);
    const qint64 first = TextToInt64(edtPropertySeqFrom->text());
    const qint64 last = TextToInt64(edtPropertySeqTo->text());
    if (last >= first)
        edtPropertySeqCount->setText(QString::number(last - first + 1));
}

// --- The layout file ------------------------------------------------------------

bool TfrmZXS095::CheckLatinFontText()
{
    for (Item &item : m_items) {
        if (item.fontIndex <= 0)
            continue;
        if (item.fontIndex == OcrAFont) {
            item.text = upperAscii(item.text);
            applyText(item);
            if (m_selected == item.label) {
                const QSignalBlocker blocker(edtPropertyText);
                edtPropertyText->setText(item.text);
            }
        }
        if (Cp949::byteLength(item.text) != item.text.size())
            return MessageService::instance().titledYesNo(TicketText::caption(),
                                                          TicketText::latinFontQuestion(item.text));
    }
    return true;
}

void TfrmZXS095::bbtSaveClick()
{
    ButtonGuard(bbtSave);
    keepStopText();
    saveLayout(false);
}

bool TfrmZXS095::saveLayout(bool toLayoutFile)
{
    if ((m_items.isEmpty() && imgTicketBarcode->isHidden()) || !CheckLatinFontText())
        return false;
    if (const QString label = TicketLayout::unencodableLabel(design()); !label.isEmpty()) {
        MessageService::instance().titledError(TicketText::caption(),
                                               TicketText::cannotEncode(label));
        return false;
    }
    QString path = toLayoutFile ? m_layoutPath : QString();
    if (path.isEmpty()) {
        path = MessageService::instance().saveFileName(QString(),
                                                       m_layoutPath.isEmpty()
                                                               ? ProgramFolders::dialogFolder(
                                                                       ScreenId)
                                                               : m_layoutPath,
                                                       TicketText::layoutFilter());
        if (path.isEmpty())
            return false;
        ProgramFolders::rememberDialogFile(ScreenId, path);
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".ini");
        if (QFileInfo::exists(path)
            && !MessageService::instance().titledYesNo(TicketText::caption(),
                                                       MessageText::overwriteQuestion()))
            return false;
    }
    if (!TicketLayout::save(path, design())) {
        MessageService::instance().titledError(TicketText::caption(),
                                               TicketText::cannotWriteLayout(path));
        return false;
    }
    m_layoutPath = path;
    m_savedDesign = design();
    return true;
}

void TfrmZXS095::bbtOpenClick()
{
    ButtonGuard(bbtOpen);
    keepStopText();
    const QString path = MessageService::instance().openFileName(QString(),
                                                                 ProgramFolders::dialogFolder(
                                                                         ScreenId),
                                                                 TicketText::layoutFilter());
    if (path.isEmpty())
        return;
    ProgramFolders::rememberDialogFile(ScreenId, path);
    const auto file = TicketLayout::load(path);
    if (!file) {
        // Another kind of file would wipe the design: it stays as it is.
        MessageService::instance().titledError(TicketText::caption(),
                                               QFileInfo(path).isReadable()
                                                       ? TicketText::notATicketLayout(path)
                                                       : TicketText::cannotReadLayout(path));
        return;
    }
    imgTicketBarcode->hide();
    btnPropertyBarcode->setEnabled(true);
    ClearSelection();
    for (const Item &item : std::as_const(m_items))
        delete item.label;
    m_items.clear();
    m_labelCounter = 0;

    setDirection(file->direction);
    edtSizeWidth->setValue(file->widthMm);
    edtSizeHeight->setValue(file->heightMm);
    edtSizeCut->setValue(file->cutLineMm);
    cbbSizeCut->setCurrentIndex(file->cutType >= 0 && file->cutType <= 2 ? file->cutType : 0);
    cbbSizeCutChange();
    if (file->barcode) {
        showBarcode();
        edtPropertySize->setValue(file->barcodeMultiplier);
        edtPropertySizeHeight->setValue(file->barcodeHeightMm);
        edtPropertyPosX->setValue(file->barcodeLeftMm);
        edtPropertyPosY->setValue(file->barcodeTopMm);
        // The editors keep their ranges: the item takes what they show.
        fontOrSizeChanged();
        heightChanged();
        positionChanged();
    }
    for (const TicketLayout::LabelEntry &entry : file->labels) {
        addLabel();
        edtPropertyText->setText(entry.text);
        if (entry.fontIndex >= 0 && entry.fontIndex < FontCount)
            cbbPropertyFont->setCurrentIndex(entry.fontIndex);
        else
            cbbPropertyFont->setCurrentIndex(-1);
        edtPropertySize->setValue(entry.multiplier);
        fontOrSizeChanged();
        edtPropertyPosX->setValue(entry.leftMm);
        edtPropertyPosY->setValue(entry.topMm);
        positionChanged();
        chkPropertySeq->setChecked(TicketDesign::isSequenceMark(entry.text));
        sequenceToggled();
    }
    m_layoutPath = path;
    m_savedDesign = design();
    proposeNextNumber();
}

// --- Printing -------------------------------------------------------------------

QString TfrmZXS095::defaultOldLedgerPath()
{
    return ProgramFolders::data() + QStringLiteral("/ticket-ledger.csv");
}

NumberLedger TfrmZXS095::ledger()
{
    NumberLedger::importCsv(database(), m_oldLedgerPath);
    return NumberLedger(database(),
                        ScreenId,
                        NumberLedger::layoutName(m_layoutPath),
                        login().empNo,
                        LocalIPAddress());
}

void TfrmZXS095::keepStopText()
{
    if (!m_stopText.isEmpty())
        ShowStatusMessage(m_stopText);
}

void TfrmZXS095::proposeNextNumber()
{
    if (m_layoutPath.isEmpty())
        return;
    qint64 last = 0;
    try {
        last = ledger().highest();
    } catch (const DbError &error) {
        // Only a proposal: the run itself stops on a ledger it cannot read.
        ShowStatusMessage(TicketText::ledgerUnreadable(error.message()));
        return;
    }
    if (last <= 0 || last >= RunNumbers::Largest)
        return;
    edtPropertySeqFrom->setText(QString::number(last + 1));
    ShowStatusMessage(TicketText::nextNumberProposed(QString::number(last + 1)));
}

void TfrmZXS095::showPrinterError(const QString &text)
{
    ++m_messagesShown;
    MessageService::instance().titledError(TicketText::caption(), text);
}

void TfrmZXS095::comComPortRxChar(const QByteArray &piece)
{
    m_printer->takePiece(piece);
    const QString message = TicketStatus::message(piece);
    if (!message.isEmpty())
        showPrinterError(message);
}

bool TfrmZXS095::WaitPrinterReady()
{
    switch (m_printer->requestStatus()) {
    case TicketPrinter::Answer::Ready:
        return true;
    case TicketPrinter::Answer::NotReady:
        break; // the receive handler has shown the byte's message
    case TicketPrinter::Answer::Silent:
        showPrinterError(TicketText::noAnswer());
        break;
    case TicketPrinter::Answer::Failed:
        showPrinterError(TicketText::unknownError());
        break;
    case TicketPrinter::Answer::Cancelled:
        break; // Esc: the run stops without a box
    }
    return false;
}

bool TfrmZXS095::readyWithin(int attempts)
{
    m_messagesShown = 0;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (WaitPrinterReady())
            return true;
        // Esc ends the wait for a silent printer at once.
        if (m_stopRequested)
            return false;
        // A pulled cable does not come back between two attempts.
        if (m_printer->lineLost())
            return false;
    }
    // Bytes outside the printer's table say nothing: the run must not end in silence.
    if (m_messagesShown == 0)
        showPrinterError(TicketText::unknownError());
    return false;
}

void TfrmZXS095::bbtPrintClick()
{
    ButtonGuard(bbtPrint);
    keepStopText();
    if (!CheckLatinFontText())
        return;
    const TicketDesign ticket = design();
    const qint64 first = TextToInt64(edtPropertySeqFrom->text());
    const qint64 count = TextToInt64(edtPropertySeqCount->text());
    const qint64 n = count > 0 ? count : 1;
    const bool numbered = first > 0;
    const qint64 last = first + n - 1;
    const auto error = [](const QString &text) {
        MessageService::instance().titledError(TicketText::caption(), text);
    };
    if (numbered && last > RunNumbers::Largest) {
        error(TicketText::pastLargest(QString::number(RunNumbers::Largest)));
        return;
    }
    std::optional<RunNumbers> numbers;
    if (numbered) {
        try {
            numbers.emplace(ledger(), first, last);
            const NumberLedger::Issued issued = numbers->readIssued();
            if (issued.count > 0) {
                if (!MessageService::instance().titledYesNo(
                            TicketText::caption(),
                            TicketText::reprintQuestion(TicketCommands::sequenceText(issued.first,
                                                                                     0),
                                                        issued.count)))
                    return;
                numbers->allowReprints();
            }
        } catch (const DbError &e) {
            error(TicketText::ledgerFailed(e.message()));
            return;
        }
    }
    const QString port = cbbComPort->currentText();

    m_stopText.clear();
    comComPort->setPortName(port);
    comComPort->setRateName(cbbComRate->currentText());
    m_choosers.remember();
    lockForRun(true);
    const auto finish = qScopeGuard([this] {
        comComPort->close();
        lockForRun(false);
    });
    if (!comComPort->open())
        error(TicketText::cannotOpenPort());

    // Ticket k is confirmed by the ready answer before ticket k + 1 (or after
    // the last): a stop names what was sent and what the printer confirmed.
    int sent = 0;
    int confirmed = 0;
    const auto text = [](qint64 number) { return TicketCommands::sequenceText(number, 0); };
    const auto stopped = [&] {
        QString status;
        if (numbers) {
            const qint64 lastSent = numbers->lastSent();
            const qint64 lastConfirmed = numbers->lastConfirmed();
            status = TicketText::stopped(lastSent > 0 ? text(lastSent) : QString(),
                                         lastConfirmed > 0 ? text(lastConfirmed) : QString());
            QStringList check;
            for (const qint64 number : numbers->unconfirmed())
                check.append(text(number));
            if (!check.isEmpty())
                status += TicketText::checkByHand(check);
            // The next run starts after the last number sent, with what is left of the range.
            const qint64 from = numbers->resumeFrom();
            if (from <= last) {
                const QScopedValueRollback inRange(m_inRange, true);
                edtPropertySeqCount->setText(QString::number(last - from + 1));
                edtPropertySeqFrom->setText(QString::number(from));
                edtPropertySeqTo->setText(QString::number(last));
            } else {
                edtPropertySeqFrom->setText(QString::number(last + 1));
            }
        } else {
            status = TicketText::stoppedUnnumbered(sent, confirmed);
        }
        m_stopText = status;
        ShowStatusMessage(status);
    };
    // A ledger that cannot be written stops the run before the next ticket.
    const auto ledgerWrite = [&](const auto &write) {
        if (!numbers)
            return true;
        try {
            write();
            return true;
        } catch (const DbError &e) {
            error(TicketText::ledgerFailed(e.message()));
            return false;
        }
    };
    const auto settle = [&](bool ready) {
        if (sent > confirmed && ready)
            confirmed = sent;
        return ledgerWrite([&] { ready ? numbers->confirm() : numbers->leaveUnconfirmed(); });
    };

    for (qint64 i = 0; i < n; ++i) {
        const qint64 number = numbered ? first + i : 0;
        const QString sequence = TicketCommands::sequenceText(first, i);
        if (!readyWithin(StatusAttempts)) {
            settle(false);
            stopped();
            return;
        }
        if (!settle(true)) {
            stopped();
            return;
        }
        // Esc stops here, after the ticket before has been confirmed.
        if (m_stopRequested) {
            stopped();
            return;
        }
        bool mine = true;
        if (!ledgerWrite([&] { mine = numbers->claim(number); })) {
            stopped();
            return;
        }
        if (!mine) {
            error(TicketText::numberTaken(sequence));
            stopped();
            return;
        }
        const QList<QByteArray> writes = TicketCommands::ticketWrites(ticket, sequence);
        for (qsizetype w = 0; w < writes.size(); ++w) {
            if (!comComPort->write(writes.at(w))) {
                // The printer prints at the last command: before it, nothing printed.
                if (w + 1 < writes.size()) {
                    ledgerWrite([&] { numbers->notSent(number); });
                } else {
                    ++sent;
                    if (numbers)
                        numbers->sent(number);
                    settle(false);
                }
                error(TicketText::unknownError());
                stopped();
                return;
            }
        }
        ++sent;
        if (numbers)
            numbers->sent(number);
    }
    // The ticket just printed may have jammed: only a ready answer confirms it.
    const bool ready = readyWithin(1);
    if (!settle(ready) || !ready) {
        stopped();
        return;
    }
    if (n > 1)
        MessageService::instance().plainMessage(TicketText::completed());
    if (numbered)
        edtPropertySeqFrom->setText(QString::number(first + n));
}

void TfrmZXS095::lockForRun(bool locked)
{
    m_running = locked;
    m_stopRequested = false;
    for (QWidget *widget : std::initializer_list<QWidget *>{
                 panMain, cbbComPort, cbbComRate, bbtOpen, bbtSave, bbtPrint, bbtClose})
        widget->setEnabled(!locked);
    if (locked) {
        // The screen itself holds the focus, so that Esc reaches it.
        m_focusBeforeRun = QApplication::focusWidget();
        setFocusPolicy(Qt::StrongFocus);
        setFocus();
        ShowStatusMessage(TicketText::running());
    } else {
        setFocusPolicy(Qt::NoFocus);
        if (statusMessage() == TicketText::running() || statusMessage() == TicketText::stopping()
            || statusMessage() == TicketText::closeRefused())
            ShowStatusMessage(QString());
        if (m_focusBeforeRun && isAncestorOf(m_focusBeforeRun) && m_focusBeforeRun->isEnabled())
            m_focusBeforeRun->setFocus();
        m_focusBeforeRun = nullptr;
    }
}

bool TfrmZXS095::FormCloseQuery()
{
    // The base would ask the host to free the screen while the run's wait
    // still runs inside it.
    if (m_running) {
        ShowStatusMessage(TicketText::closeRefused());
        return false;
    }
    ConfirmCloseWithChanges(design() != m_savedDesign, [this] { return saveLayout(true); });
    return TfrmZZI000::FormCloseQuery();
}
