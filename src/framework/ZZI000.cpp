#include "ZZI000.h"

#include "editcolour.h"
#include "firstshow.h"
#include "messagetexts.h"
#include "screenframe.h"
#include "screenhost.h"
#include "useraction.h"

#include "common/commonroutines.h"
#include "common/loginvalues.h"
#include "common/silentabort.h"
#include "db/database.h"
#include "db/sqlstatement.h"
#include "platform/inifile.h"
#include "platform/programdir.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

TfrmZZI000::TfrmZZI000(QWidget *parent)
    : QWidget(parent)
    , ScreenFrame(this, Qt::WidgetWithChildrenShortcut)
{
    setObjectName(QStringLiteral("frmZZI000"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1008, 670);

    bbtClose = createButton(QStringLiteral("bbtClose"), MessageText::closeCaption(), 0);
    addBarButton(bbtClose);

    // The message panel takes what the others leave, after the bar's own spacing.
    addStatusBar({Qt::AlignCenter,
                  Qt::AlignLeft | Qt::AlignVCenter,
                  Qt::AlignCenter,
                  Qt::AlignCenter},
                 1);
    stbMessage->setFixedHeight(23);
    for (int i = 0; i < 4; ++i)
        m_panels[i] = statusPanel(i);

    connectClick(bbtClose, [this] { bbtCloseClick(); });
    RunOnFirstShow(this, [this] {
        ensureCreated();
        FormFirstShow();
    });
}

TfrmZZI000::~TfrmZZI000() = default;

bool TfrmZZI000::ensureCreated()
{
    if (m_created)
        return !m_failed;
    m_created = true;
    setTabChain(m_tabChain);
    m_failed = !RunUserAction([this] { FormCreate(); });
    // Half set up is not usable: whatever the creation enabled before it failed.
    if (m_failed)
        setEnabled(false);
    return !m_failed;
}

bool TfrmZZI000::event(QEvent *event)
{
    if (event->type() == QEvent::Polish)
        ensureCreated();
    return QWidget::event(event);
}

QString TfrmZZI000::programId() const
{
    return objectName().mid(3);
}

QString TfrmZZI000::programIniPath()
{
    QString dir = login().programDir;
    if (dir.isEmpty())
        dir = programDirectory();
    return withTrailingSeparator(dir)
           + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
           + QStringLiteral(".ini");
}

void TfrmZZI000::FormCreate()
{
    m_panels[0]->setText(programId());
    m_panels[2]->setText(MessageText::userPrefix() + login().empName);
    readAffiliation();
    FormResize();
}

void TfrmZZI000::readAffiliation()
{
    const IniFile ini(programIniPath());
    const int type = ini.readInteger(QStringLiteral("Role"), QStringLiteral("Type"), 0);
    const QString name = ini.readString(QStringLiteral("Role"), QStringLiteral("Name"));
    QString text;
    if (!name.isEmpty()) {
        switch (type) {
        case 1:
            text = MessageText::businessSitePrefix() + name;
            break;
        case 2:
            text = MessageText::teamPrefix() + name;
            break;
        case 3:
            text = MessageText::salesOutletPrefix() + name;
            break;
        default:
            break;
        }
    }
    m_panels[3]->setText(text);
}

void TfrmZZI000::FormResize()
{
    const QFontMetrics metrics(font());
    const auto widthOf = [&](int panel) {
        const QString text = m_panels[panel]->text();
        return text.isEmpty() && panel == 3 ? 0 : metrics.horizontalAdvance(text) + 20;
    };
    const int widths[4] = {widthOf(0), 0, widthOf(2), widthOf(3)};
    const int message = std::max(0, width() - widths[0] - widths[2] - widths[3]);
    for (int i = 0; i < 4; ++i) {
        if (i == 1) {
            // Its share of the bar, never wider: a fixed width that ignores the
            // bar's spacing pushed it over its neighbour.
            m_panels[i]->setMinimumWidth(0);
            m_panels[i]->setMaximumWidth(message);
        } else {
            m_panels[i]->setFixedWidth(widths[i]);
        }
        m_panels[i]->setVisible(widths[i] > 0 || i != 3);
    }
}

void TfrmZZI000::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_created)
        RunUserAction([this] { FormResize(); });
}

void TfrmZZI000::RequestOpenProgram(const QString &caption, const QString &programId)
{
    if (ScreenHost *host = ScreenHost::current())
        host->openProgram(caption, programId);
}

void TfrmZZI000::ButtonGuard(QAbstractButton *button)
{
    ShowStatusMessage(QString());
    if (!isUsable(button)) {
        ShowStatusMessage(m_refusals.value(button));
        Abort();
    }
}

void TfrmZZI000::setRefusalText(const QAbstractButton *button, const QString &text)
{
    if (text.isEmpty())
        m_refusals.remove(button);
    else
        m_refusals.insert(button, text);
}

void TfrmZZI000::addToMain(QWidget *widget, int stretch)
{
    mainLayout()->insertWidget(m_mainInsert++, widget, stretch);
}

void TfrmZZI000::addToMain(QLayout *layout, int stretch)
{
    mainLayout()->insertLayout(m_mainInsert++, layout, stretch);
}

void TfrmZZI000::setTabChain(const QList<QWidget *> &widgets)
{
    // Each setTabOrder() moves its second widget behind its first, and a control
    // created later joins the chain before the screen, wherever that is now:
    // only a chain set from its start, after the last control, holds.
    m_tabChain = widgets;
    for (qsizetype i = 1; i < widgets.size(); ++i)
        setTabOrder(widgets.at(i - 1), widgets.at(i));
}

void TfrmZZI000::bbtCloseClick()
{
    ButtonGuard(bbtClose);
    // Embedded or not, the close request takes the same path: the host asks an
    // embedded screen to close exactly this way (its F12 item).
    close();
}

void TfrmZZI000::closeEvent(QCloseEvent *event)
{
    bool allowed = false;
    RunUserAction([&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose();
}

void TfrmZZI000::CloseStatements()
{
    closeQuery();
}

bool TfrmZZI000::FormCloseQuery()
{
    CloseStatements();
    if (hasBorder())
        return true;
    if (ScreenHost *host = ScreenHost::current())
        host->closeActiveTab(); // the host frees this screen once the close has returned
    return false;
}

void TfrmZZI000::ConfirmCloseWithChanges(bool changed, const std::function<bool()> &save)
{
    if (!changed || !AskYesNo(MessageText::closeQuestion()))
        return;
    bool saved = false;
    try {
        saved = save();
    } catch (...) {
        // The save has shown its error box.
    }
    if (!saved)
        Abort();
}

void TfrmZZI000::FormClose()
{
    // WA_DeleteOnClose frees the screen once the close has returned.
}
