#pragma once

#include "widgets/ButtonLayout.h"
#include "widgets/ButtonTypes.h"
#include "widgets/SystemColours.h"

#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <variant>

class QPainter;
class QShortcut;
class QSoundEffect;

// A bitmap, an icon, or nothing: what a button's Picture can hold.
using TPicture = std::variant<std::monostate, QImage, QIcon>;

// A flat picture button without a background of its own: a glyph and a caption on
// the parent's background, a bevel under the mouse, a sunken look while pressed,
// toggle groups among the buttons of one parent, a drop-down menu, an overlay
// text, and optionally a program started after each click.
class TExplorerButton : public QWidget {
    Q_OBJECT

public:
    explicit TExplorerButton(QWidget* parent = nullptr);
    ~TExplorerButton() override;

    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout layout);
    using QWidget::setLayout;
    TButtonOptions Options() const { return m_options; }
    void setOptions(TButtonOptions options);
    TShadingType ShadingType() const { return m_shadingType; }
    void setShadingType(TShadingType shading);
    TBevelStyle BevelStyle() const { return m_bevelStyle; }
    void setBevelStyle(TBevelStyle style);
    bool ShowDownPattern() const { return m_showDownPattern; }
    void setShowDownPattern(bool show);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap);

    // Colours as 0x00BBGGRR or system colour indexes.
    quint32 FontColor() const { return m_fontColor; }
    void setFontColor(quint32 colour);
    quint32 UnselectedFontColor() const { return m_unselectedFontColor; }
    void setUnselectedFontColor(quint32 colour);
    quint32 FrameHighLite() const { return m_frameHighLite; }
    void setFrameHighLite(quint32 colour);
    quint32 FrameShadow() const { return m_frameShadow; }
    void setFrameShadow(quint32 colour);

    // Glyphs: pixel (0, 0) gives each one's transparent colour.
    const QImage& Bitmap() const { return m_bitmap; }
    void setBitmap(const QImage& bitmap);
    const QImage& NoFocusBitmap() const { return m_noFocusBitmap; }
    void setNoFocusBitmap(const QImage& bitmap);
    const QImage& DisabledBitmap() const { return m_disabledBitmap; }
    void setDisabledBitmap(const QImage& bitmap);
    // The generated glyph shown while the mouse is away with boMonoDisplay.
    const QImage& IBitmap() const;
    const TPicture& Picture() const { return m_picture; }
    void setPicture(const TPicture& picture);

    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // Hints (tool tips) shown or hidden; the hint itself is the tool tip.
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool show);

    QString ovActive() const { return m_ovActive; }
    void setOvActive(const QString& text);
    int ovLeft() const { return m_ovLeft; }
    void setOvLeft(int left);
    int ovTop() const { return m_ovTop; }
    void setOvTop(int top);
    int ovWidth() const { return m_ovWidth; }
    void setOvWidth(int right);

    bool Down() const { return m_down; }
    void setDown(bool down);
    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);
    bool AllowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool allow);
    QMenu* DropDownMenu() const { return m_dropDownMenu; }
    void setDropDownMenu(QMenu* menu);
    QMenu* PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu* menu);

    QString Sound() const { return m_sound; }
    void setSound(const QString& waveFile);
    QString App() const { return m_app; }
    void setApp(const QString& program);
    bool ApplicationLunch() const { return m_applicationLunch; }
    void setApplicationLunch(bool launch);
    QString ApplicationIni() const { return m_applicationIni; }
    void setApplicationIni(const QString& fileName);
    bool ApplicationIcon() const { return m_applicationIcon; }
    void setApplicationIcon(bool fromApp);

    bool IsPressed() const { return m_pressed; }
    bool IsMouseIn() const { return m_mouseIn; }

    // Raises clicked and, with ApplicationLunch, runs App until it ends.
    void Click();
    // What the accelerator, Space, Enter and accessibility tools do: a press and a
    // release of the left button on the button.
    void Press();

signals:
    void clicked();
    void entered();
    void left();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // input
    void mouseOver(bool over);
    void leftDown();
    void leftUp(const QPoint& at);
    bool cursorOver() const;
    void afterMenu();
    void playSound();
    // groups
    QList<TExplorerButton*> groupMates() const;
    void releaseGroupMates();
    // hints and accelerator
    void updateHint();
    void updateShortcut();
    // painting
    ButtonGeometry geometry() const;
    QColor colour(quint32 value) const { return ResolveColour(value, palette()); }
    void paintDisabled(QPainter& painter, const ButtonGeometry& g);
    void paintDown(QPainter& painter, const ButtonGeometry& g, QColor& font);
    void paintUp(QPainter& painter, const ButtonGeometry& g, QColor& font);
    void paintBevel(QPainter& painter, bool sunken) const;
    void paintCaption(QPainter& painter, QRect rect, const QColor& colour) const;
    void paintPopupMark(QPainter& painter, const ButtonGeometry& g, bool pressedLook, const QColor& colour) const;
    void paintOverlay(QPainter& painter, const QColor& colour) const;
    bool captionShown() const { return !(m_options & TButtonOption::boIconOnly) && !m_caption.isEmpty(); }
    bool popupMarkShown() const { return (m_options & TButtonOption::boPopupMark) && m_dropDownMenu; }

    TAlignment m_alignment = TAlignment::taCenter;
    TButtonLayout m_layout = TButtonLayout::blBitmapTop;
    TButtonOptions m_options = TButtonOption::boPopupMark | TButtonOption::boShowBevel;
    TShadingType m_shadingType = TShadingType::stLight;
    TBevelStyle m_bevelStyle = TBevelStyle::bsRaised;
    bool m_showDownPattern = true;
    bool m_wordWrap = false;
    quint32 m_fontColor = SystemColour::WindowText;
    quint32 m_unselectedFontColor = SystemColour::WindowText;
    quint32 m_frameHighLite = SystemColour::ButtonHighlight;
    quint32 m_frameShadow = SystemColour::ButtonShadow;
    QImage m_bitmap;
    QImage m_noFocusBitmap;
    QImage m_disabledBitmap;
    mutable QImage m_unfocusedGlyph;
    mutable bool m_unfocusedStale = true;
    TPicture m_picture;
    QString m_caption;
    bool m_showHint = true;
    QString m_ovActive;
    int m_ovLeft = 0;
    int m_ovTop = 0;
    int m_ovWidth = 50;
    bool m_down = false;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    QPointer<QMenu> m_dropDownMenu;
    QPointer<QMenu> m_popupMenu;
    QString m_sound;
    QString m_app;
    bool m_applicationLunch = false;
    QString m_applicationIni;
    bool m_applicationIcon = false;

    bool m_pressed = false;      // the left button went down here and is not yet up
    bool m_mouseIn = false;      // the mouse is over the button
    bool m_overReported = false; // the last enter or leave reported
    QShortcut* m_accelerator = nullptr;
    QSoundEffect* m_soundEffect = nullptr;
};
