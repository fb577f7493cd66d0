// The main window's own look: heading strips, the framed client area, the status
// label and the two picture buttons of the run band.
#include "base/Colours.h"
#include "main/TMainForm.h"
#include "ui_TMainForm.h"
#include "widgets/Pictures.h"

namespace {

constexpr QSize GlyphSize{40, 40};

void StyleHeading(TLabel3D& heading)
{
    heading.setColor(Colours::Black);
    heading.setFontColor(Colours::White);
}

void StyleRunButton(TExplorerButton& button, const QString& caption, const QString& glyph, const QString& overlay)
{
    button.setOptions(TButtonOption::boIconOnly); // the caption becomes the hint; Alt+letter still presses
    button.setCaption(caption);
    button.setLayout(TButtonLayout::blBitmapLeft);
    button.setAlignment(TAlignment::taLeftJustify);
    button.setShadingType(TShadingType::stLight);
    button.setBitmap(RenderSvg(glyph, GlyphSize));
    button.setOvActive(overlay);
    button.setOvLeft(GlyphSize.width() + 7);
    button.setOvTop(17);
    button.setOvWidth(button.maximumWidth());
    button.setFont(QFont(QStringLiteral("Arial"), 8, QFont::Bold));
    button.setUnselectedFontColor(Colours::Rgb(96, 96, 96));
    button.setFontColor(Colours::Navy);
}

} // namespace

void TMainForm::StyleControls()
{
    StyleHeading(*m_ui->ActiveLogHeading);
    StyleHeading(*m_ui->DataFileHeading);
    m_ui->CommPanel->setBevelInner(TPanelBevel::bvLowered);
    StyleRunButton(*m_ui->ExplorerButton2, QStringLiteral("&Initialize"), QStringLiteral(":/pictures/initialize.svg"),
                   QStringLiteral("INITIALIZE"));
    StyleRunButton(*m_ui->ExplorerButton4, QStringLiteral("&Send Data"), QStringLiteral(":/pictures/transmit.svg"),
                   QStringLiteral("TRANSMIT"));
}
