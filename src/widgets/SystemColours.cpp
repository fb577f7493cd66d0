#include "widgets/SystemColours.h"

#include "base/Colours.h"

#include <QGuiApplication>
#include <array>

namespace {

struct PaletteEntry {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr quint32 SystemFlag = 0x80000000;

// System colour indexes 0 to 24, in the order the desktop numbers them.
constexpr std::array<PaletteEntry, 25> SystemEntries{{
    {QPalette::Active, QPalette::Button},           // scroll bar
    {QPalette::Active, QPalette::Window},           // desktop
    {QPalette::Active, QPalette::Highlight},        // active caption
    {QPalette::Inactive, QPalette::Highlight},      // inactive caption
    {QPalette::Active, QPalette::Window},           // menu
    {QPalette::Active, QPalette::Base},             // window
    {QPalette::Active, QPalette::Shadow},           // window frame
    {QPalette::Active, QPalette::WindowText},       // menu text
    {QPalette::Active, QPalette::WindowText},       // window text
    {QPalette::Active, QPalette::HighlightedText},  // caption text
    {QPalette::Active, QPalette::Button},           // active border
    {QPalette::Inactive, QPalette::Button},         // inactive border
    {QPalette::Active, QPalette::Mid},              // application workspace
    {QPalette::Active, QPalette::Highlight},        // highlight
    {QPalette::Active, QPalette::HighlightedText},  // highlighted text
    {QPalette::Active, QPalette::Button},           // button face
    {QPalette::Active, QPalette::Dark},             // button shadow
    {QPalette::Disabled, QPalette::WindowText},     // grey text
    {QPalette::Active, QPalette::ButtonText},       // button text
    {QPalette::Inactive, QPalette::HighlightedText},// inactive caption text
    {QPalette::Active, QPalette::Light},            // button highlight
    {QPalette::Active, QPalette::Shadow},           // dark 3D shadow
    {QPalette::Active, QPalette::Midlight},         // 3D light
    {QPalette::Active, QPalette::ToolTipText},      // tooltip text
    {QPalette::Active, QPalette::ToolTipBase},      // tooltip background
}};

} // namespace

QColor ResolveColour(quint32 colour, const QPalette& palette)
{
    if ((colour & 0xFF000000) != SystemFlag)
        return QColor(Colours::RedOf(colour), Colours::GreenOf(colour), Colours::BlueOf(colour));
    const quint32 index = colour & 0x00FFFFFF;
    if (index >= SystemEntries.size())
        return palette.color(QPalette::Active, QPalette::WindowText);
    const PaletteEntry entry = SystemEntries[index];
    return palette.color(entry.group, entry.role);
}

QColor ResolveColour(quint32 colour) { return ResolveColour(colour, QGuiApplication::palette()); }
