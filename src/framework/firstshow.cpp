#include "firstshow.h"

#include "useraction.h"

#include <QEvent>
#include <QWidget>

namespace {

class FirstShowFilter : public QObject
{
public:
    FirstShowFilter(QWidget *widget, std::function<void()> action)
        : QObject(widget)
        , m_action(std::move(action))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // ShowToParent follows the show event and the mapping of the window.
        if (event->type() == QEvent::ShowToParent) {
            watched->removeEventFilter(this);
            const std::function<void()> action = std::move(m_action);
            deleteLater();
            RunUserAction(action);
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void RunOnFirstShow(QWidget *widget, std::function<void()> action)
{
    new FirstShowFilter(widget, std::move(action));
}
