// Mouse, keyboard and accelerator handling of the picture button, and its click.
#include "widgets/ExplorerButton.h"

#include "base/MessagePump.h"
#include "widgets/ProgramLauncher.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QSoundEffect>

bool TExplorerButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && !m_showHint) {
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void TExplorerButton::enterEvent(QEnterEvent*) { mouseOver(true); }
void TExplorerButton::leaveEvent(QEvent*) { mouseOver(false); }

// While the left button is held the toolkit holds back enter and leave; the
// moves tell instead, so moving off a pressed button raises it.
void TExplorerButton::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressed)
        mouseOver(rect().contains(event->position().toPoint()));
}

// Repaints when mouse-in changes; the sound and the signals come once per
// entering and leaving, however the two are learnt.
void TExplorerButton::mouseOver(bool over)
{
    const bool changed = over != m_mouseIn;
    m_mouseIn = over;
    if (changed && !m_down && isEnabled())
        update();
    if (over == m_overReported)
        return;
    m_overReported = over;
    if (over && !m_down)
        playSound();
    if (over)
        emit entered();
    else
        emit left();
}

void TExplorerButton::playSound()
{
    if (m_sound.isEmpty() || !QFileInfo(m_sound).isFile())
        return;
    if (!m_soundEffect)
        m_soundEffect = new QSoundEffect(this);
    m_soundEffect->setSource(QUrl::fromLocalFile(m_sound));
    m_soundEffect->play();
}

void TExplorerButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    event->accept();
    leftDown();
}

void TExplorerButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    event->accept();
    leftUp(event->position().toPoint());
}

// With a drop-down menu the press shows the menu; the button never clicks then.
void TExplorerButton::leftDown()
{
    if (!window()->isActiveWindow())
        window()->activateWindow();
    if (!isEnabled() || !isVisible())
        return;
    m_pressed = true;
    m_mouseIn = true;
    update();
    if (!m_dropDownMenu)
        return;
    const QPointer<TExplorerButton> self(this);
    m_dropDownMenu->exec(mapToGlobal(QPoint(0, height())));
    if (self)
        afterMenu();
}

void TExplorerButton::afterMenu()
{
    m_mouseIn = cursorOver();
    m_pressed = false;
    update();
}

void TExplorerButton::leftUp(const QPoint& at)
{
    if (!isEnabled() || !isVisible() || !m_pressed)
        return;
    m_pressed = false;
    if (m_mouseIn && m_groupIndex != 0) {
        if (!m_down) {
            releaseGroupMates();
            m_down = true;
        } else if (m_allowAllUp) {
            m_down = false;
        }
    }
    update();
    if (!m_mouseIn)
        return;
    m_mouseIn = rect().contains(at);
    if (!m_dropDownMenu)
        Click(); // last: the click may delete this button
}

void TExplorerButton::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popupMenu)
        return QWidget::contextMenuEvent(event);
    const QPointer<TExplorerButton> self(this);
    m_popupMenu->exec(event->globalPos());
    if (self)
        afterMenu();
}

void TExplorerButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool pressKey = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!pressKey || event->isAutoRepeat() || (event->modifiers() & ~Qt::KeypadModifier))
        return QWidget::keyPressEvent(event);
    event->accept();
    Press();
}

bool TExplorerButton::cursorOver() const { return rect().contains(mapFromGlobal(QCursor::pos())); }

void TExplorerButton::Press()
{
    if (!isEnabled() || !isVisible())
        return;
    const QPointer<TExplorerButton> self(this);
    const auto pumpedAndAlive = [&self] {
        MessagePump::PumpOnce();
        return !self.isNull();
    };
    m_mouseIn = true;
    m_pressed = false;
    update();
    if (!pumpedAndAlive())
        return;
    leftDown();
    if (!self || !pumpedAndAlive())
        return;
    leftUp(mapFromGlobal(QCursor::pos()));
    if (!self || !pumpedAndAlive())
        return;
    if (!cursorOver()) {
        m_mouseIn = false;
        update();
    }
}

void TExplorerButton::Click()
{
    const QPointer<TExplorerButton> self(this);
    emit clicked();
    if (!self || !m_applicationLunch || !QFileInfo(m_app).isFile())
        return;
    const QString program = m_app;
    LaunchAndWait(program); // may outlast this button: nothing of it is used from here on
}
