#include "BenchHost.h"

BenchHost::BenchHost(QString portName) : m_portName(std::move(portName))
{
    log.resize(324, 600); // the Active Log's size in the main window
    log.show();
}

void BenchHost::LogAtCaret(const QString& text) { log.InsertAtCaret(text); }

void BenchHost::AppendResponse(const QByteArray& bytes)
{
    response += bytes;
    if (onResponse)
        onResponse();
}
