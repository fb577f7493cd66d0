#include "base/IniFile.h"
#include "base/KestrinError.h"
#include "base/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("kestrin.ini"); }
    void write(const QByteArray& text) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray read() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SettingsFile, ProfileLookupIgnoresCaseAndTheBlanksAroundValues)
{
    write("; comment\r\n[other]\r\nCOM=X\r\n[system]\r\n com = COM3 \r\nbdelay=500\r\n[SYSTEM]\r\nCOM=later\r\n");
    const IniFile ini(path());
    EXPECT_EQ(ini.ReadString("SYSTEM", "COM", "NA"), "COM3");
    EXPECT_EQ(ini.ReadString("System", "BDELAY", "NA"), "500");
    EXPECT_EQ(ini.ReadString("SYSTEM", "CDELAY", "NA"), "NA");
    EXPECT_EQ(ini.ReadString("MISSING", "COM", "NA"), "NA");
}

TEST_F(SettingsFile, IntegersAreWholeTextNumbersOrTheFallback)
{
    write("[SYSTEM]\nA=1\nB=0x10\nC=$0\nD=yes\nE=1x\n");
    const IniFile ini(path());
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "A", 0), 1);
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "B", 0), 16);
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "C", 7), 0);
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "D", 0), 0);
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "E", 0), 0);
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "F", 5), 5);
}

TEST_F(SettingsFile, WritingKeepsTheRestOfTheFileAndItsLineEnds)
{
    write("; mine\r\n[SYSTEM]\r\nCOM=COM1\r\nEXTRA=keep\r\n\r\n[OTHER]\r\nX=1\r\n");
    IniFile ini(path());
    ini.WriteString("SYSTEM", "com", "ttyUSB0");
    ini.WriteString("SYSTEM", "BDELAY", "0");
    ini.WriteString("NEW", "K", "v");
    EXPECT_EQ(read(), "; mine\r\n[SYSTEM]\r\ncom=ttyUSB0\r\nEXTRA=keep\r\nBDELAY=0\r\n\r\n[OTHER]\r\nX=1\r\n[NEW]\r\nK=v\r\n");
}

TEST_F(SettingsFile, SavingWritesExactlyTheFourKeysAndLoadsThemBack)
{
    SaveSettings(path(), {"COM7", " 12 ", "abc", true});
    EXPECT_EQ(read(), "[SYSTEM]\nCOM=COM7\nBDELAY= 12 \nCDELAY=abc\nAUTOINIT=1\n");
    const auto loaded = LoadSettings(path());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->com, "COM7");
    EXPECT_EQ(loaded->commandDelay, "abc");
    EXPECT_TRUE(loaded->autoInit);
    SaveSettings(path(), {"COM7", "1", "2", false});
    EXPECT_FALSE(LoadSettings(path())->autoInit);
}

// Whoever keeps the reader's echo on keeps a file of the four keys alone.
TEST_F(SettingsFile, TheReaderEchoIsWrittenWhenOffOrWhereItsSectionIs)
{
    SaveSettings(path(), {"pcsc:", "500", "20000", false, true});
    EXPECT_EQ(read(), "[SYSTEM]\nCOM=pcsc:\nBDELAY=500\nCDELAY=20000\nAUTOINIT=0\n");
    EXPECT_TRUE(LoadSettings(path())->pcscEcho);
    SaveSettings(path(), {"pcsc:", "500", "20000", false, false});
    EXPECT_EQ(read(), "[SYSTEM]\nCOM=pcsc:\nBDELAY=500\nCDELAY=20000\nAUTOINIT=0\n[PCSC]\nECHO=0\n");
    EXPECT_FALSE(LoadSettings(path())->pcscEcho);
    SaveSettings(path(), {"pcsc:", "500", "20000", false, true});
    EXPECT_TRUE(read().endsWith("[PCSC]\nECHO=1\n"));
    EXPECT_TRUE(LoadSettings(path())->pcscEcho);
}

TEST_F(SettingsFile, NoComOrComNaLoadsNothingAndMissingDelaysReadNa)
{
    EXPECT_FALSE(LoadSettings(path()));
    write("[SYSTEM]\nCOM=NA\nBDELAY=1\nCDELAY=2\nAUTOINIT=1\n");
    EXPECT_FALSE(LoadSettings(path()));
    write("[SYSTEM]\nCOM=COM2\nAUTOINIT=junk\n");
    const auto loaded = LoadSettings(path());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->byteDelay, "NA");
    EXPECT_EQ(loaded->commandDelay, "NA");
    EXPECT_FALSE(loaded->autoInit);
}

TEST_F(SettingsFile, AnUnwritableFileFailsWithItsPath)
{
    const QString folder = m_dir.filePath("missing-folder/kestrin.ini");
    try {
        SaveSettings(folder, {"COM1", "500", "20000", false});
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.message(), "Unable to write to " + folder);
    }
}
