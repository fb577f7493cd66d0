#pragma once

#include <QLabel>

// A label that fills its box with its background colour and draws its caption
// shifted by (oLeft, OTop) inside it, wrapped at words. The text area keeps the
// label's size, so its right and bottom parts fall outside and are cut.
// Colours live in the palette: Window is the background, WindowText the text.
class TLabel3D : public QLabel {
    Q_OBJECT

public:
    static constexpr int MaxCaption = 255;

    explicit TLabel3D(QWidget* parent = nullptr);
    explicit TLabel3D(const QString& caption, QWidget* parent = nullptr);

    int oLeft() const { return m_oLeft; }
    void setOLeft(int offset);
    int OTop() const { return m_oTop; }
    void setOTop(int offset);

    // Transparent: the background is not filled.
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    // "&" marks the accelerator letter (underlined, not drawn); false: drawn as is.
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool show);

    // Colours as 0x00BBGGRR or system colour indexes, stored in the palette.
    void setColor(quint32 colour);
    void setFontColor(quint32 colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_oLeft = 5;
    int m_oTop = 2;
    bool m_transparent = false;
    bool m_showAccelChar = true;
};
