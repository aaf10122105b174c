#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

class QLineEdit;

/// A small program screen for the main-window tests. It keeps the host
/// protocol of the real screens: asked to close, it refuses the close and
/// asks the host to remove its tab, and then does nothing more.
class TestScreen : public QWidget
{
    Q_OBJECT

public:
    explicit TestScreen(const QString &programId);
    ~TestScreen() override;

    QString programId;
    QLineEdit *edtFirst = nullptr;
    QList<QSize> resizes;
    int closeRequests = 0;

    static int destroyed;
    static bool aliveAfterCloseTab;
    static QList<QString> closeOrder;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
