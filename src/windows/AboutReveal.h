#pragma once

#include <QtGlobal>
#include <string_view>

// What the reveal needs from the splash window.
class RevealHost {
public:
    virtual ~RevealHost() = default;
    // The colour (0x00BBGGRR) of the characters inserted from now on.
    virtual void SetInsertColour(quint32 colour) = 0;
    // Shows one character; '\n' starts a new line.
    virtual void InsertCharacter(char character) = 0;
    // Lets the window repaint and handle clicks while the reveal goes on.
    virtual void PumpMessages() = 0;
};

// Reveals a marked-up text one step per timer tick: each step shows one character
// or applies one code. A tick that arrives while a step is still pumping messages
// does nothing.
class AboutReveal {
public:
    AboutReveal(RevealHost& host, std::string_view text);

    // The window became active: start, unless the whole text has been revealed.
    void Activate();
    // One timer tick.
    void Step();

    qsizetype AboutPos() const { return m_aboutPos; }
    bool AboutRunning() const { return m_aboutRunning; }
    bool AboutBusy() const { return m_aboutBusy; }

private:
    char Read();
    void ApplyCode();
    void ShowCharacter(char character);

    RevealHost& m_host;
    std::string_view m_text;
    // The text's length plus one: the terminating NUL is read as the last step.
    qsizetype m_endBound = 0;
    qsizetype m_aboutPos = 0;
    bool m_aboutRunning = false;
    bool m_aboutBusy = false;
};
