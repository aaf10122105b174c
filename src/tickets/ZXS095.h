#pragma once

#include "ticketdesign.h"

#include "portchoosers.h"

#include "framework/ZZI000.h"

#include <QList>
#include <QPoint>
#include <QPointer>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class SerialLink;
class NumberLedger;
class TicketPrinter;

/// "보카 출력": the ticket designer. Labels and one barcode placed in whole
/// millimetres on a picture of the ticket (4 pixels a millimetre), a layout
/// file, and numbered print runs on the ticket printer with its status
/// checked before every ticket and after the last.
class TfrmZXS095 : public TfrmZZI000
{
    Q_OBJECT

public:
    static constexpr int PixelsPerMm = 4;
    /// How close to the picture's edges a dragged item may come (2 mm).
    static constexpr int Margin = 2 * PixelsPerMm;
    static constexpr int StatusAttempts = 4;

    explicit TfrmZXS095(QWidget *parent = nullptr);
    ~TfrmZXS095() override;

    /// The design as a run and the layout file see it.
    TicketDesign design() const;
    /// The label items in creation order.
    QList<QLabel *> labelItems() const;
    /// The selected item (a label or imgTicketBarcode), or nullptr.
    QWidget *selection() const { return m_selected; }
    /// The design's values of a label item.
    TicketLabel labelOf(const QLabel *item) const;
    /// The file the design was last opened from or saved to.
    QString layoutPath() const { return m_layoutPath; }
    /// The port and rate choosers with the settings file that keeps them.
    const PortChoosers &portChoosers() const { return m_choosers; }

    TicketPrinter *printer() const { return m_printer; }
    /// The CSV ledger earlier versions kept in the user's folder: read into
    /// the database's ledger once, while that is empty. Tests point it elsewhere.
    void setOldLedgerPath(const QString &path) { m_oldLedgerPath = path; }
    QString oldLedgerPath() const { return m_oldLedgerPath; }
    static QString defaultOldLedgerPath();
    bool isRunning() const { return m_running; }
    /// The direction chosen, 0 … 3.
    int direction() const;

    // Components.
    QGroupBox *grbProperty = nullptr;
    QComboBox *cbbPropertyFont = nullptr;
    QSpinBox *edtPropertySize = nullptr;
    QSpinBox *edtPropertySizeHeight = nullptr;
    QLabel *lblPropertySizeHeight = nullptr;
    QSpinBox *edtPropertyPosX = nullptr;
    QSpinBox *edtPropertyPosY = nullptr;
    QLineEdit *edtPropertyText = nullptr;
    QCheckBox *chkPropertySeq = nullptr;
    QPushButton *btnPropertyLabel = nullptr;
    QPushButton *btnPropertyBarcode = nullptr;
    QPushButton *btnPropertyDelete = nullptr;
    QGroupBox *grbSequence = nullptr;
    QLineEdit *edtPropertySeqFrom = nullptr;
    QLineEdit *edtPropertySeqTo = nullptr;
    QLineEdit *edtPropertySeqCount = nullptr;
    QGroupBox *grbDirection = nullptr;
    QWidget *rdgDirection = nullptr;
    QLabel *imgPaper = nullptr;
    QList<QLabel *> imgDirection;
    QGroupBox *grbSize = nullptr;
    QSpinBox *edtSizeWidth = nullptr;
    QSpinBox *edtSizeHeight = nullptr;
    QComboBox *cbbSizeCut = nullptr;
    QSpinBox *edtSizeCut = nullptr;
    QWidget *panTicket = nullptr;
    QLabel *imgTicketBarcode = nullptr;
    QFrame *shpCutLine = nullptr;
    QLabel *lblNote = nullptr;
    QComboBox *cbbComPort = nullptr;
    QComboBox *cbbComRate = nullptr;
    QPushButton *bbtPrint = nullptr;
    QPushButton *bbtOpen = nullptr;
    QPushButton *bbtSave = nullptr;
    SerialLink *comComPort = nullptr;

    // Handlers.
    void btnPropertyLabelClick();
    void btnPropertyBarcodeClick();
    void btnPropertyDeleteClick();
    void lblTicketTextClick(QLabel *item);
    void imgTicketBarcodeClick();
    void imgTicketBarcodeMouseDown(QWidget *item, const QPoint &pos);
    void imgTicketBarcodeMouseMove(QWidget *item, const QPoint &pos);
    void imgTicketBarcodeMouseUp(QWidget *item, const QPoint &pos);
    void rdgDirectionClick();
    void edtSizeWidthChange();
    void edtSizeHeightChange();
    void cbbSizeCutChange();
    void edtPropertySeqFromChange();
    void edtPropertySeqToChange();
    void bbtSaveClick();
    void bbtOpenClick();
    void bbtPrintClick();
    /// Before save and print: upper-cases OCR-A labels and asks about Hangul
    /// in a Latin font; true to go on.
    bool CheckLatinFontText();
    void ClearSelection();
    /// One status request: true when the printer answered ready.
    bool WaitPrinterReady();
    /// Bytes from the printer.
    void comComPortRxChar(const QByteArray &piece);

    /// The preview font of a font-list index (index 0 for any other).
    static QFont previewFont(int fontIndex, int multiplier);
    static QStringList fontNames();

protected:
    void FormCreate() override;
    /// Refused while a run waits for the printer: the screen must outlive its wait.
    bool FormCloseQuery() override;
    /// Writes the design to a layout file: the one last opened or saved when
    /// `toLayoutFile` is set and there is one, else one the user names. False
    /// when nothing was written (refused, cancelled or failed: said so).
    bool saveLayout(bool toLayoutFile);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Item
    {
        QLabel *label = nullptr;
        QString text;
        bool sequence = false;
        int fontIndex = 0;
        int multiplier = 1;
    };

    QWidget *buildProperty();
    QWidget *buildSequence();
    QWidget *buildDirection();
    QWidget *buildSize();
    QWidget *buildTicket();
    void buildBar();
    Item *itemOf(const QWidget *widget);
    const Item *itemOf(const QWidget *widget) const;
    QLabel *addLabel();
    void selectItem(QWidget *item);
    void showBarcode();
    void applyFont(Item &item);
    void applyText(Item &item);
    void fontOrSizeChanged();
    void heightChanged();
    void positionChanged();
    void textChanged();
    void sequenceToggled();
    void setDirection(int direction);
    /// Up to `attempts` status requests; reports an answer that said nothing.
    bool readyWithin(int attempts);
    void showPrinterError(const QString &text);
    void lockForRun(bool locked);
    void proposeNextNumber();
    /// The ledger of the layout on the screen's connection (the old CSV
    /// ledger read in first); throws DbError.
    NumberLedger ledger();
    /// A button press keeps the text where the last run stopped.
    void keepStopText();

    QList<Item> m_items;
    int m_labelCounter = 0;
    QPointer<QWidget> m_selected;
    bool m_filling = false;
    bool m_dragging = false;
    bool m_inRange = false;
    QPoint m_dragStart;
    QButtonGroup *m_directions = nullptr;
    QString m_layoutPath;
    /// The design as created, last opened or saved: a difference is an unsaved change.
    TicketDesign m_savedDesign;
    PortChoosers m_choosers;

    TicketPrinter *m_printer = nullptr;
    QString m_oldLedgerPath;
    QString m_stopText;
    bool m_running = false;
    bool m_stopRequested = false;
    int m_messagesShown = 0;
    QPointer<QWidget> m_focusBeforeRun;
};
