#pragma once

#include "couponline.h"

#include "portchoosers.h"

#include "framework/ZZI000.h"

#include <QList>
#include <QPointer>

class ByteLengthValidator;
class CouponPrinter;
class QCheckBox;
class RunNumbers;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SerialLink;

/// "할인쿠폰 출력": numbered discount coupons of up to 21 lines of text on the
/// coupon printer, with a preview, a layout file and a serial-number range.
class TfrmZXS090 : public TfrmZZI000
{
    Q_OBJECT

public:
    static constexpr int LineCount = 21;
    /// Bytes a line holds (cp949), and while it is double width.
    static constexpr int LineBytes = 44;
    static constexpr int WideLineBytes = 22;

    explicit TfrmZXS090(QWidget *parent = nullptr);
    ~TfrmZXS090() override;

    /// Line n (1 … LineCount): its entry and its two boxes.
    QLineEdit *prn(int n) const { return m_prn.at(n - 1); }
    QCheckBox *ver(int n) const { return m_ver.at(n - 1); }
    QCheckBox *hor(int n) const { return m_hor.at(n - 1); }

    /// The lines as the screen holds them (disabled ones included).
    QList<CouponLine> lines() const;
    /// Sets every line as the layout file does: "세로", then "가로", then the text.
    void setLines(const QList<CouponLine> &lines);
    /// The bytes line n holds at most now.
    int lineLimit(int n) const;

    /// The printer's side of a run (its time-outs can be shortened).
    CouponPrinter *printer() const { return m_printer; }
    /// True while a run holds the port.
    bool isRunning() const { return m_running; }
    /// The layout file last opened or saved; its name keys the ledger.
    QString layoutPath() const { return m_layoutPath; }
    /// The port and rate choosers with the settings file that keeps them.
    const PortChoosers &portChoosers() const { return m_choosers; }

    // Components.
    QLabel *lblNo = nullptr;
    QLineEdit *edtNoFrom = nullptr;
    QLineEdit *edtNoTo = nullptr;
    QLineEdit *edtNoCount = nullptr;
    QLabel *imgPreview = nullptr;
    QComboBox *cbbComPort = nullptr;
    QComboBox *cbbComRate = nullptr;
    QLabel *lblCountCurrent = nullptr;
    QLabel *lblCountSlash = nullptr;
    QLabel *lblCountTotal = nullptr;
    QPushButton *bbtOpen = nullptr;
    QPushButton *bbtSave = nullptr;
    QPushButton *bbtPrint = nullptr;
    SerialLink *comComPort = nullptr;

    // Handlers.
    void bbtPrintClick();
    void bbtSaveClick();
    void bbtOpenClick();
    void edtPrnChange(int n);
    /// Enter or Down: next line; Up: previous line. True when the key was taken.
    bool edtPrnKeyDown(int n, int key);
    void ckbVerClick(int n);
    void ckbHorClick(int n);
    void edtNoToChange();
    /// Also runs when the first number changes.
    void edtNoCountChange();
    /// Bytes from the printer.
    void comComPortRxChar(const QByteArray &piece);

protected:
    void FormCreate() override;
    /// Refused while a run waits for the printer: the screen must outlive its wait.
    bool FormCloseQuery() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLines(QWidget *parent);
    QWidget *buildPreview(QWidget *parent);
    QWidget *buildRange(QWidget *parent);
    void buildBar();
    void applyLineLimit(int n);
    /// Writes the lines to a layout file: the one last opened or saved when
    /// `toLayoutFile` is set and there is one, else one the user names. False
    /// when nothing was written (refused, cancelled or failed: said so).
    bool saveLayout(bool toLayoutFile);
    void focusLine(int from, int step);
    void drawPreview();
    /// Prints the coupons of the range; the port is open. `numbers` is null
    /// for an unnumbered coupon.
    void runCoupons(const QList<CouponLine> &lines, RunNumbers *numbers);
    /// A button press keeps the text where the last run stopped.
    void keepStopText();
    /// The counter of the button bar; empty texts empty it.
    void setCounter(const QString &current, const QString &total);
    /// Locks the screen during a run (only Esc works) and unlocks it.
    void lockForRun(bool locked);

    QList<QLineEdit *> m_prn;
    QList<QCheckBox *> m_ver;
    QList<QCheckBox *> m_hor;
    QList<ByteLengthValidator *> m_limits;
    bool m_inVerRule = false;
    bool m_inRange = false;
    CouponPrinter *m_printer = nullptr;
    bool m_running = false;
    bool m_stopRequested = false;
    QPointer<QWidget> m_focusBeforeRun;
    QString m_layoutPath;
    /// The lines as last opened or saved: a difference is an unsaved change.
    QList<CouponLine> m_savedLines;
    PortChoosers m_choosers;
    QString m_stopText;
};
