#include "FuzzSupport.h"

#include "base/MessagePump.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {
namespace {

void StartApplication()
{
    // Qt's warnings about odd input (a file name holding NUL) are no findings; fatal errors still abort.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    static int argc = 1;
    static char name[] = "kestrin-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

} // namespace

QString ScratchFolder()
{
    // In memory where there is such a folder: saving a file waits for the disk otherwise.
    static QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                    ? QStringLiteral("/dev/shm/kestrin-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/kestrin-fuzz-XXXXXX"));
    Require(folder.isValid(), "a scratch folder can be made");
    return folder.path();
}

void Require(bool condition, const char* promise)
{
    if (condition)
        return;
    std::fprintf(stderr, "Broken promise: %s\n", promise);
    std::abort();
}

PumpBudget::PumpBudget(int turns) : m_left(turns)
{
    // A zero timer fires once in every turn of the event loop.
    m_turn.callOnTimeout([this] {
        if (--m_left == 0)
            MessagePump::SetClosing(true);
    });
    m_turn.start(0);
}

PumpBudget::~PumpBudget()
{
    m_turn.stop();
    MessagePump::SetClosing(false);
}

} // namespace Fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::StartApplication();
    return 0;
}
