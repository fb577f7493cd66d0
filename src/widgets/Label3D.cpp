#include "widgets/Label3D.h"

#include "base/Colours.h"
#include "widgets/SystemColours.h"
#include "widgets/WidgetAccessibility.h"

#include <QApplication>
#include <QPainter>

TLabel3D::TLabel3D(QWidget* parent) : QLabel(parent)
{
    InstallWidgetAccessibility(); // before the toolkit caches a plain interface for this widget
    setTextFormat(Qt::PlainText);
    setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
    setColor(Colours::Teal);
    setFontColor(Colours::White);
}

TLabel3D::TLabel3D(const QString& caption, QWidget* parent) : TLabel3D(parent)
{
    setText(caption);
}

void TLabel3D::setOLeft(int offset)
{
    if (offset == m_oLeft)
        return;
    m_oLeft = offset;
    update();
}

void TLabel3D::setOTop(int offset)
{
    if (offset == m_oTop)
        return;
    m_oTop = offset;
    update();
}

void TLabel3D::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TLabel3D::setShowAccelChar(bool show)
{
    m_showAccelChar = show;
    update();
}

void TLabel3D::setColor(quint32 colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ResolveColour(colour, colours));
    setPalette(colours);
}

void TLabel3D::setFontColor(quint32 colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ResolveColour(colour, colours));
    setPalette(colours);
}

void TLabel3D::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), palette().color(QPalette::Window));
    const int flags = int(alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextExpandTabs
                      | Qt::TextWordWrap | (m_showAccelChar ? Qt::TextShowMnemonic : 0);
    const QColor grey = ResolveColour(SystemColour::GrayText, QApplication::palette(this));
    painter.setPen(isEnabled() ? palette().color(QPalette::WindowText) : grey);
    painter.setFont(font());
    painter.drawText(rect().translated(m_oLeft, m_oTop), flags, text().left(MaxCaption));
}
