#include "CardProfile.h"

QByteArray CardProfile::DefaultAtr()
{
    return QByteArray::fromHex("3F 65 25 00 2C 09 69 90 00");
}
