#include "windows/AboutReveal.h"

#include "base/Colours.h"

namespace {
constexpr quint32 CodeRed = Colours::Rgb(255, 0, 0);
constexpr quint32 CodeGreen = Colours::Rgb(0, 128, 0);
} // namespace

AboutReveal::AboutReveal(RevealHost& host, std::string_view text)
    : m_host(host), m_text(text), m_endBound(qsizetype(text.size()) + 1)
{
}

void AboutReveal::Activate()
{
    if (m_aboutPos < m_endBound)
        m_aboutRunning = true;
}

void AboutReveal::Step()
{
    if (!m_aboutRunning || m_aboutBusy)
        return;
    m_aboutBusy = true;
    const char character = Read();
    if (character == '/')
        ApplyCode();
    else
        ShowCharacter(character);
    m_aboutBusy = false;
}

// Past the end of the text every read gives NUL, so a code cut short by the end
// of the text can never read outside it.
char AboutReveal::Read()
{
    const char character = m_aboutPos < qsizetype(m_text.size()) ? m_text[size_t(m_aboutPos)] : '\0';
    ++m_aboutPos;
    return character;
}

void AboutReveal::ApplyCode()
{
    if (Read() != 'C')
        return;
    const char colour = Read();
    if (colour == 'R')
        m_host.SetInsertColour(CodeRed);
    else if (colour == 'G')
        m_host.SetInsertColour(CodeGreen);
}

void AboutReveal::ShowCharacter(char character)
{
    if (character != '\0')
        m_host.InsertCharacter(character);
    m_host.PumpMessages();
    if (m_aboutPos >= m_endBound)
        m_aboutRunning = false;
}
