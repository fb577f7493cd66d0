#pragma once

#include <QFrame>

class QPainter;

// The bevel of a panel edge.
enum class TPanelBevel { bvNone, bvLowered, bvRaised };

// A panel with an outer and an inner bevel and a centred caption, which can turn
// into a thin lowered bar along the top of its parent (TopBar). The bevels are
// painted here; QFrame's own frame settings play no part.
class TKxPanel : public QFrame {
    Q_OBJECT

public:
    static constexpr int TopBarHeight = 2;
    static constexpr int PanelHeight = 20;

    explicit TKxPanel(QWidget* parent = nullptr);

    bool TopBar() const { return m_topBar; }
    // true: aligned to the top of the parent, inner bevel lowered, no outer bevel,
    // 2 high; false: no alignment, no inner bevel, outer bevel raised, 20 high.
    void setTopBar(bool topBar);

    // Aligned to the top: the panel keeps the parent's top edge and full width.
    bool AlignedTop() const { return m_alignedTop; }
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void setBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TPanelBevel bevel);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setAlignedTop(bool aligned);
    void followParent();
    QRect paintBevel(QPainter& painter, QRect rect, TPanelBevel bevel) const;

    bool m_topBar = false;
    bool m_alignedTop = false;
    TPanelBevel m_bevelInner = TPanelBevel::bvNone;
    TPanelBevel m_bevelOuter = TPanelBevel::bvRaised;
    int m_bevelWidth = 1;
    QString m_caption = QStringLiteral(" "); // a blank: the panel shows no text
};
