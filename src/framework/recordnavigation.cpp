#include "recordnavigation.h"

#include "messagetexts.h"
#include "screenframe.h"

#include "db/clientdataset.h"

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

void RecordNavigation::createNavigationButtons(ScreenFrame &frame)
{
    const struct
    {
        QToolButton *RecordNavigation::*button;
        void (RecordNavigation::*handler)();
        const char *objectName;
        QString hint;
        const char *arrow;
    } buttons[] = {
            {&RecordNavigation::sbtFirst,
             &RecordNavigation::sbtFirstClick,
             "sbtFirst",
             MessageText::firstHint(),
             "|◀"},
            {&RecordNavigation::sbtPrior,
             &RecordNavigation::sbtPriorClick,
             "sbtPrior",
             MessageText::priorHint(),
             "◀"},
            {&RecordNavigation::sbtNext,
             &RecordNavigation::sbtNextClick,
             "sbtNext",
             MessageText::nextHint(),
             "▶"},
            {&RecordNavigation::sbtLast,
             &RecordNavigation::sbtLastClick,
             "sbtLast",
             MessageText::lastHint(),
             "▶|"},
    };
    for (const auto &spec : buttons) {
        QToolButton *button = createButton(frame.panButtons,
                                           QString::fromLatin1(spec.objectName),
                                           spec.hint,
                                           QString::fromUtf8(spec.arrow));
        this->*spec.button = button;
        frame.addLeftBarButton(button);
        // Through the virtual handler: a screen may override it.
        const auto handler = spec.handler;
        frame.connectClick(button, [this, handler] { (this->*handler)(); });
    }
}

void RecordNavigation::moveDataSet(ClientDataSet *dataSet, Move move)
{
    if (!dataSet || !dataSet->isActive())
        return;
    switch (move) {
    case Move::First:
        dataSet->first();
        break;
    case Move::Prior:
        dataSet->prior();
        break;
    case Move::Next:
        dataSet->next();
        break;
    case Move::Last:
        dataSet->last();
        break;
    }
}
