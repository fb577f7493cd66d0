#include "widgets/Accelerator.h"

QString StripAccelerators(const QString& caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&') {
            plain += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == u'&') {
            plain += u'&';
            ++i;
        }
    }
    return plain;
}

QChar AcceleratorOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return caption[i + 1].toUpper();
        ++i; // "&&" is a literal ampersand
    }
    return {};
}
