#include "waitcursor.h"

#include <QCursor>
#include <QGuiApplication>

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

NormalCursor::NormalCursor()
    : m_active(QGuiApplication::overrideCursor() != nullptr)
{
    if (m_active)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
}

NormalCursor::~NormalCursor()
{
    if (m_active)
        QGuiApplication::restoreOverrideCursor();
}
