#include "MainWindowFixture.h"

#include "base/MessagePump.h"
#include "base/ProgramFolder.h"
#include "ui_TMainForm.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

namespace {
// A bound that only ends a failing test; nothing is timed by it.
constexpr int PatienceMs = 30000;
constexpr qint64 SettlingPasses = 400;
} // namespace

const QColor MainWindowTest::Green(0, 128, 0);
const QColor MainWindowTest::Red(255, 0, 0);

MainWindowTest::MainWindowTest()
{
    MessagePump::SetClosing(false);
    SetProgramFolder(m_folder.path());
    m_form = std::make_unique<TMainForm>(m_dialogs, *m_display);
}

MainWindowTest::~MainWindowTest()
{
    m_form.reset();
    m_display.reset();
    m_simulator.reset();
    MessagePump::SetClosing(false);
    SetProgramFolder({});
}

CardSimulator& MainWindowTest::simulator()
{
    if (!m_simulator)
        m_simulator = std::make_unique<CardSimulator>();
    return *m_simulator;
}

void MainWindowTest::writeFile(const QString& name, const QByteArray& content) const
{
    QFile file(folderPath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    file.write(content);
}

QByteArray MainWindowTest::readFile(const QString& name) const
{
    QFile file(folderPath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void MainWindowTest::writeSettings(const QStringList& keyLines) const
{
    writeFile(QStringLiteral("kestrin.ini"), (QStringList{QStringLiteral("[SYSTEM]")} + keyLines).join('\n').toLatin1());
}

void MainWindowTest::showForm()
{
    m_form->show();
    ASSERT_TRUE(pumpUntil([this] { return m_form->ui().dat->toPlainText().isEmpty(); }));
}

void MainWindowTest::useSimulator()
{
    ui().COMLIST->setText(simulator().devicePath());
    ui().Delay->setText(QStringLiteral("0"));
    ui().CmdDelay->setText(QStringLiteral("10"));
}

void MainWindowTest::startLink()
{
    useSimulator();
    const int opens = simulator().opens();
    m_form->ExplorerButton2Click();
    ASSERT_TRUE(m_form->Link().Polling());
    ASSERT_TRUE(simulator().waitForOpens(opens + 1, std::chrono::milliseconds(PatienceMs)));
    ASSERT_TRUE(pumpUntil([this] { return m_form->Response().startsWith(QStringLiteral("3F ")); }));
}

void MainWindowTest::copySampleScripts() const
{
    // A copy of the tests run by another user names the folder in the environment.
    const QDir samples(qEnvironmentVariable("KESTRIN_SAMPLE_SCRIPTS", QStringLiteral(KESTRIN_SAMPLE_SCRIPTS)));
    for (const QString& name : samples.entryList({QStringLiteral("*.scr")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(samples.filePath(name), folderPath(name))) << name.toStdString();
}

bool MainWindowTest::pumpUntil(const std::function<bool()>& condition)
{
    const QDeadlineTimer patience(PatienceMs);
    while (!condition()) {
        if (patience.hasExpired())
            return false;
        MessagePump::PumpOnce();
    }
    return true;
}

void MainWindowTest::settle()
{
    for (qint64 pass = 0; pass < SettlingPasses; ++pass)
        MessagePump::PumpOnce();
}

void MainWindowTest::onceWhen(std::function<bool()> condition, std::function<void()> action)
{
    auto* timer = new QTimer(&m_timers);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, condition = std::move(condition), action = std::move(action)] {
        if (!condition())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start(0);
}

void MainWindowTest::atNextPass(std::function<void()> action)
{
    onceWhen([] { return true; }, std::move(action));
}

QString MainWindowTest::log() const { return m_form->ui().Memo1->Text(); }

QString MainWindowTest::displayText() const
{
    return m_display->findChild<QTextEdit*>(QStringLiteral("display"))->toPlainText();
}

QStringList MainWindowTest::lines(const QPlainTextEdit& editor)
{
    QStringList result;
    if (editor.document()->isEmpty())
        return result;
    for (QTextBlock block = editor.document()->begin(); block.isValid(); block = block.next())
        result << block.text();
    return result;
}

QString MainWindowTest::statText() const { return m_form->ui().Stat->text(); }

QColor MainWindowTest::statColour() const { return m_form->ui().Stat->palette().color(QPalette::Window); }

// The colour the light is drawn in, away from its caption.
QColor MainWindowTest::lightColour() const
{
    return m_form->ui().Light1->grab().toImage().pixelColor(1, 1);
}

QString MainWindowTest::received()
{
    return QString::fromLatin1(simulator().received().toHex(' ').toUpper());
}
