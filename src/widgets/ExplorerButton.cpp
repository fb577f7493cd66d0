#include "widgets/ExplorerButton.h"

#include "base/IniFile.h"
#include "widgets/Accelerator.h"
#include "widgets/DownPattern.h"
#include "widgets/GlyphImages.h"
#include "widgets/Pictures.h"
#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

namespace {
constexpr QSize InitialSize(50, 40);
} // namespace

TExplorerButton::TExplorerButton(QWidget* parent) : QWidget(parent)
{
    InstallWidgetAccessibility(); // before the toolkit caches a plain interface for this widget
    resize(InitialSize);
    setFocusPolicy(Qt::StrongFocus);
    m_accelerator = new QShortcut(this);
    m_accelerator->setEnabled(false);
    connect(m_accelerator, &QShortcut::activated, this, &TExplorerButton::Press);
}

TExplorerButton::~TExplorerButton() { ReleaseDownPattern(); }

// Stores a setting and repaints when it changed.
template <typename T>
static void Assign(TExplorerButton* button, T& member, const T& value)
{
    if (member == value)
        return;
    member = value;
    button->update();
}

void TExplorerButton::setAlignment(TAlignment alignment) { Assign(this, m_alignment, alignment); }
void TExplorerButton::setLayout(TButtonLayout layout) { Assign(this, m_layout, layout); }
void TExplorerButton::setBevelStyle(TBevelStyle style) { Assign(this, m_bevelStyle, style); }
void TExplorerButton::setShowDownPattern(bool show) { Assign(this, m_showDownPattern, show); }
void TExplorerButton::setWordWrap(bool wrap) { Assign(this, m_wordWrap, wrap); }
void TExplorerButton::setFontColor(quint32 colour) { Assign(this, m_fontColor, colour); }
void TExplorerButton::setUnselectedFontColor(quint32 colour) { Assign(this, m_unselectedFontColor, colour); }
void TExplorerButton::setFrameHighLite(quint32 colour) { Assign(this, m_frameHighLite, colour); }
void TExplorerButton::setFrameShadow(quint32 colour) { Assign(this, m_frameShadow, colour); }
void TExplorerButton::setNoFocusBitmap(const QImage& bitmap) { Assign(this, m_noFocusBitmap, bitmap); }
void TExplorerButton::setDisabledBitmap(const QImage& bitmap) { Assign(this, m_disabledBitmap, bitmap); }
void TExplorerButton::setOvLeft(int left) { Assign(this, m_ovLeft, left); }
void TExplorerButton::setOvTop(int top) { Assign(this, m_ovTop, top); }
void TExplorerButton::setOvWidth(int right) { Assign(this, m_ovWidth, right); }
void TExplorerButton::setShowHint(bool show) { m_showHint = show; }
void TExplorerButton::setSound(const QString& waveFile) { m_sound = waveFile; }
void TExplorerButton::setApp(const QString& program) { m_app = program; }
void TExplorerButton::setApplicationLunch(bool launch) { m_applicationLunch = launch; }
void TExplorerButton::setPopupMenu(QMenu* menu) { m_popupMenu = menu; }

void TExplorerButton::setOvActive(const QString& text)
{
    Assign(this, m_ovActive, text);
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void TExplorerButton::setShadingType(TShadingType shading)
{
    m_unfocusedStale = true;
    Assign(this, m_shadingType, shading);
}

void TExplorerButton::setBitmap(const QImage& bitmap)
{
    m_unfocusedStale = true;
    Assign(this, m_bitmap, bitmap);
}

const QImage& TExplorerButton::IBitmap() const
{
    if (m_unfocusedStale) {
        m_unfocusedGlyph = UnfocusedGlyph(m_bitmap, m_shadingType, colour(SystemColour::ButtonHighlight),
                                          colour(SystemColour::ButtonShadow));
        m_unfocusedStale = false;
    }
    return m_unfocusedGlyph;
}

void TExplorerButton::setPicture(const TPicture& picture)
{
    m_picture = picture;
    if (const auto* icon = std::get_if<QIcon>(&m_picture))
        setBitmap(IconOnSilver(*icon));
    else if (const auto* bitmap = std::get_if<QImage>(&m_picture))
        setBitmap(*bitmap);
}

void TExplorerButton::setOptions(TButtonOptions options)
{
    m_options = options;
    updateHint();
    update();
}

void TExplorerButton::setCaption(const QString& caption)
{
    m_caption = caption;
    updateShortcut();
    if (m_options & TButtonOption::boIconOnly)
        setToolTip(StripAccelerators(caption));
    else
        update();
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

// An icon-only button shows its caption as its hint; a button that shows its
// caption again drops a hint that only repeated it.
void TExplorerButton::updateHint()
{
    const QString plain = StripAccelerators(m_caption);
    if (m_options & TButtonOption::boIconOnly) {
        if (toolTip().isEmpty()) {
            setToolTip(plain);
            m_showHint = true;
        }
    } else if (toolTip() == plain) {
        setToolTip(QString());
        m_showHint = false;
    }
}

void TExplorerButton::updateShortcut()
{
    const QChar letter = AcceleratorOf(m_caption);
    m_accelerator->setEnabled(!letter.isNull());
    if (!letter.isNull())
        m_accelerator->setKey(QKeySequence(QStringLiteral("Alt+") + letter));
}

void TExplorerButton::setDropDownMenu(QMenu* menu)
{
    if (menu == m_dropDownMenu)
        return;
    m_dropDownMenu = menu;
    if (menu)
        connect(menu, &QObject::destroyed, this, [this] {
            if (m_options & TButtonOption::boPopupMark)
                update();
        });
    if (m_options & TButtonOption::boPopupMark)
        update();
}

// The section named after the button gives the caption ("Description") and the
// program ("Application"); a missing key gives an empty text.
void TExplorerButton::setApplicationIni(const QString& fileName)
{
    m_applicationIni = fileName;
    if (fileName.isEmpty())
        return;
    const IniFile ini(fileName);
    setCaption(ini.ReadString(objectName(), QStringLiteral("Description"), QString()));
    m_app = ini.ReadString(objectName(), QStringLiteral("Application"), QString());
}

void TExplorerButton::setApplicationIcon(bool fromApp)
{
    m_applicationIcon = fromApp;
    if (!fromApp || m_app.isEmpty())
        return;
    const QIcon icon = ProgramIcon(m_app);
    if (!icon.isNull())
        setPicture(icon);
}
