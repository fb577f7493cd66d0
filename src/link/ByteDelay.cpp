#include "link/ByteDelay.h"

#include "base/MessagePump.h"
#include "base/TextToInt.h"

void RunByteDelay(const std::function<QString()>& delayText)
{
    for (qint64 passes = 0; passes < TextToInt(delayText()); ++passes) {
        if (MessagePump::Closing())
            return;
        MessagePump::PumpOnce();
    }
}
