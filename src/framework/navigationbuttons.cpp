#include "navigationbuttons.h"

#include "messagetexts.h"

#include <QToolButton>

namespace {

QToolButton *createButton(QWidget *parent,
                          const QString &objectName,
                          const QString &hint,
                          const QString &arrow)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setToolTip(hint);
    button->setText(arrow);
    button->setFixedSize(25, 25);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

NavigationButtons createNavigationButtons(QWidget *parent,
                                          const std::function<void(QWidget *)> &place)
{
    NavigationButtons buttons;
    buttons.first = createButton(parent,
                                 QStringLiteral("sbtFirst"),
                                 MessageText::firstHint(),
                                 QStringLiteral("|◀"));
    place(buttons.first);
    buttons.prior = createButton(parent,
                                 QStringLiteral("sbtPrior"),
                                 MessageText::priorHint(),
                                 QStringLiteral("◀"));
    place(buttons.prior);
    buttons.next = createButton(parent,
                                QStringLiteral("sbtNext"),
                                MessageText::nextHint(),
                                QStringLiteral("▶"));
    place(buttons.next);
    buttons.last = createButton(parent,
                                QStringLiteral("sbtLast"),
                                MessageText::lastHint(),
                                QStringLiteral("▶|"));
    place(buttons.last);
    return buttons;
}
