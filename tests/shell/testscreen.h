#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include "framework/ZZI000.h"

class QLineEdit;

/// A small program screen for the main-window tests: a base screen with one
/// entry field that records what the host asks of it.
class TestScreen : public TfrmZZI000
{
    Q_OBJECT

public:
    explicit TestScreen(const QString &programId);
    ~TestScreen() override;

    QLineEdit *edtFirst = nullptr;
    QList<QSize> resizes;

    static int destroyed;
    static QList<QString> closeOrder;
    /// Whether the screen still lived when the host returned from closeActiveTab().
    static bool aliveAfterCloseTab;

protected:
    bool FormCloseQuery() override;
    void resizeEvent(QResizeEvent *event) override;
};
