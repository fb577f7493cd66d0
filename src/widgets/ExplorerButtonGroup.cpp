// Toggle groups: the buttons of one parent that share a non-zero GroupIndex.
#include "widgets/ExplorerButton.h"

#include <QAccessible>
#include <QEvent>

QList<TExplorerButton*> TExplorerButton::groupMates() const
{
    QList<TExplorerButton*> mates;
    if (m_groupIndex == 0 || !parentWidget())
        return mates;
    for (auto* button : parentWidget()->findChildren<TExplorerButton*>(Qt::FindDirectChildrenOnly))
        if (button != this && button->m_groupIndex == m_groupIndex)
            mates << button;
    return mates;
}

void TExplorerButton::releaseGroupMates()
{
    for (auto* mate : groupMates()) {
        if (mate->m_down) {
            mate->m_down = false;
            mate->update();
        }
    }
}

void TExplorerButton::setDown(bool down)
{
    if (m_groupIndex == 0 || down == m_down)
        return;
    m_down = down;
    if (down)
        releaseGroupMates();
    update();
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TExplorerButton::setGroupIndex(int index)
{
    m_groupIndex = index;
    if (index == 0)
        m_down = false;
    update();
}

void TExplorerButton::setAllowAllUp(bool allow)
{
    m_allowAllUp = allow;
    for (auto* mate : groupMates())
        mate->m_allowAllUp = allow;
    update();
}

void TExplorerButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_pressed = false;
        m_mouseIn = false;
        if (m_groupIndex == 0)
            m_down = false;
        update();
    }
    QWidget::changeEvent(event);
}
