#include "run/RunStop.h"

#include "base/MessagePump.h"
#include "run/ConsoleText.h"

void RunStop::Stop(ExitStatus status, const QString& why)
{
    if (Stopped())
        return;
    m_status = status;
    m_why = why;
    ConsoleText::SayError(why);
    MessagePump::SetClosing(true);
}
