#include "CardProfileFile.h"

#include "HexBytes.h"
#include "ProfileSections.h"

#include "base/KestrinError.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <algorithm>

namespace {

constexpr int kLargestFile = 0xFFFF;

QString FileId(quint16 id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QChar(u'0')).toUpper();
}

// Reads the sections of one file into a profile, naming the file and line of any fault.
class ProfileInterpreter {
public:
    explicit ProfileInterpreter(QString fileName) : m_fileName(std::move(fileName))
    {
        m_profile.files.clear();
        m_profile.pins.clear();
    }

    CardProfile read(const QList<ProfileSection>& sections)
    {
        for (const ProfileSection& section : sections)
            readSection(section);
        checkFolders();
        checkPins();
        return m_profile;
    }

private:
    [[noreturn]] void fail(int line, const QString& field, const QString& what) const
    {
        throw KestrinError(ProfileProblem(m_fileName, line, field, what));
    }
    [[noreturn]] void fail(const ProfileField& field, const QString& what) const { fail(field.line, field.key, what); }

    void readSection(const ProfileSection& section)
    {
        if (section.kind == u"card")
            readCard(section);
        else if (section.kind == u"pin")
            readPin(section);
        else if (section.kind == u"file")
            readFile(section);
        else if (section.kind == u"answer")
            readAnswer(section);
        else
            fail(section.line, {}, QStringLiteral("unknown section [%1]; a profile has [card], [pin N], [file PATH] "
                                                  "and [answer HEADER]").arg(section.kind));
    }

    void allowOnly(const ProfileSection& section, const QStringList& keys, bool records = false) const
    {
        for (const ProfileField& field : section.fields)
            if (!keys.contains(field.key) && !(records && field.key.startsWith(u"record ")))
                fail(field, QStringLiteral("unknown field in [%1]").arg(section.kind));
    }

    QByteArray bytes(const ProfileField& field, qsizetype most = kLargestFile) const
    {
        const std::optional<QByteArray> parsed = field.value.isEmpty() ? QByteArray() : ParseHexBytes(field.value);
        if (!parsed)
            fail(field, QStringLiteral("'%1' is not hexadecimal bytes").arg(field.value));
        if (parsed->size() > most)
            fail(field, QStringLiteral("more than %1 bytes").arg(most));
        return *parsed;
    }

    int number(const ProfileField& field, int least, int most) const
    {
        bool ok = false;
        const int value = field.value.toInt(&ok);
        if (!ok || value < least || value > most)
            fail(field, QStringLiteral("'%1' is not a number from %2 to %3").arg(field.value).arg(least).arg(most));
        return value;
    }

    int number(const ProfileSection& section, const QString& key, int least, int most, int fallback) const
    {
        const ProfileField* field = section.find(key);
        return field ? number(*field, least, most) : fallback;
    }

    void readCard(const ProfileSection& section)
    {
        allowOnly(section, {QStringLiteral("atr"), QStringLiteral("answer baud")});
        if (const ProfileField* atr = section.find(QStringLiteral("atr")))
            m_profile.atr = bytes(*atr, 33);
        m_profile.answerBaud = number(section, QStringLiteral("answer baud"), 0, 1'000'000, 0);
    }

    void readPin(const ProfileSection& section)
    {
        allowOnly(section, {QStringLiteral("value"), QStringLiteral("tries")});
        const int pinNumber = number(ProfileField{QStringLiteral("pin number"), section.name, section.line}, 1, kLastPin);
        const auto same = [pinNumber](const CardPin& pin) { return pin.number == pinNumber; };
        if (std::any_of(m_profile.pins.begin(), m_profile.pins.end(), same))
            fail(section.line, QStringLiteral("pin number"), QStringLiteral("PIN %1 is described twice").arg(pinNumber));
        const ProfileField* value = section.find(QStringLiteral("value"));
        if (!value || value->value.isEmpty())
            fail(section.line, QStringLiteral("value"), QStringLiteral("a PIN needs its value"));
        m_profile.pins.push_back({quint8(pinNumber), bytes(*value, 255), number(section, QStringLiteral("tries"), 1, 15, 3)});
    }

    void readAnswer(const ProfileSection& section)
    {
        allowOnly(section, {QStringLiteral("reply")});
        const QByteArray header = bytes(ProfileField{QStringLiteral("header"), section.name, section.line}, 5);
        if (header.isEmpty())
            fail(section.line, QStringLiteral("header"), QStringLiteral("an answer needs a header of 1 to 5 bytes"));
        if (m_profile.answers.contains(header))
            fail(section.line, QStringLiteral("header"), QStringLiteral("this header is answered twice"));
        const ProfileField* reply = section.find(QStringLiteral("reply"));
        m_profile.answers.insert(header, reply ? bytes(*reply, 258) : QByteArray());
    }

    void readFile(const ProfileSection& section)
    {
        allowOnly(section, {QStringLiteral("type"), QStringLiteral("data"), QStringLiteral("size"),
                            QStringLiteral("record size"), QStringLiteral("read"), QStringLiteral("update")},
                  true);
        const QList<quint16> path = filePath(section);
        CardFile file;
        file.id = path.last();
        file.parent = path.size() > 1 ? path[path.size() - 2] : 0;
        file.kind = kind(section, path.size() == 1);
        file.read = access(section, QStringLiteral("read"), Access::Always);
        file.update = access(section, QStringLiteral("update"), Access::Never);
        if (file.kind == FileKind::Transparent)
            file.data = transparentData(section);
        if (file.kind == FileKind::LinearFixed)
            readRecords(section, file);
        m_paths.insert(path, section.line);
        m_profile.files.insert(file.kind == FileKind::Master ? m_profile.files.begin() : m_profile.files.end(), file);
    }

    QList<quint16> filePath(const ProfileSection& section) const
    {
        const QString field = QStringLiteral("file path");
        QList<quint16> path;
        for (const QString& part : section.name.split(u'/')) {
            bool ok = false;
            const uint id = part.trimmed().toUInt(&ok, 16);
            if (!ok || part.trimmed().size() != 4)
                fail(section.line, field, QStringLiteral("'%1' is not a path of 4-digit file identifiers such as "
                                                          "3F00/7F20/6F3A").arg(section.name));
            path.append(quint16(id));
        }
        if (path.first() != kMasterFile)
            fail(section.line, field, QStringLiteral("a path begins at the MF, 3F00"));
        if (const auto earlier = m_paths.constFind(path); earlier != m_paths.constEnd())
            fail(section.line, field, QStringLiteral("file %1 is described twice (first on line %2)")
                                          .arg(section.name).arg(*earlier));
        return path;
    }

    FileKind kind(const ProfileSection& section, bool master) const
    {
        static const QMap<QString, FileKind> kinds{{QStringLiteral("master"), FileKind::Master},
                                                   {QStringLiteral("dedicated"), FileKind::Dedicated},
                                                   {QStringLiteral("transparent"), FileKind::Transparent},
                                                   {QStringLiteral("records"), FileKind::LinearFixed}};
        const ProfileField* type = section.find(QStringLiteral("type"));
        if (!type && master)
            return FileKind::Master;
        if (!type)
            fail(section.line, QStringLiteral("type"), QStringLiteral("a file needs a type"));
        const auto found = kinds.constFind(type->value.toLower());
        if (found == kinds.constEnd())
            fail(*type, QStringLiteral("'%1' is none of master, dedicated, transparent, records").arg(type->value));
        if ((*found == FileKind::Master) != master)
            fail(*type, QStringLiteral("the MF, 3F00, and only it is the master file"));
        return *found;
    }

    Access access(const ProfileSection& section, const QString& key, Access fallback) const
    {
        const ProfileField* field = section.find(key);
        if (!field)
            return fallback;
        const QString value = field->value.simplified().toLower();
        if (value == u"always" || value == u"never")
            return value == u"always" ? Access::Always : Access::Never;
        bool ok = false;
        const int pin = value.startsWith(u"pin ") ? value.mid(4).toInt(&ok) : 0;
        if (!ok || pin < 1 || pin > kLastPin)
            fail(*field, QStringLiteral("'%1' is none of always, pin N (1 to 14), never").arg(field->value));
        m_pinUses.append({quint8(pin), field->line, field->key});
        return AfterPin(quint8(pin));
    }

    QByteArray transparentData(const ProfileSection& section) const
    {
        const ProfileField* data = section.find(QStringLiteral("data"));
        QByteArray contents = data ? bytes(*data) : QByteArray();
        const ProfileField* size = section.find(QStringLiteral("size"));
        if (!size)
            return contents;
        const int length = number(*size, 0, kLargestFile);
        if (contents.size() > length)
            fail(*size, QStringLiteral("the data holds %1 bytes, more than the size").arg(contents.size()));
        return contents.leftJustified(length, char(0xFF));
    }

    void readRecords(const ProfileSection& section, CardFile& file) const
    {
        const ProfileField* size = section.find(QStringLiteral("record size"));
        if (!size)
            fail(section.line, QStringLiteral("record size"), QStringLiteral("a file of records needs its record size"));
        file.recordLength = number(*size, 1, 255);
        QMap<int, QByteArray> records;
        for (const ProfileField& field : section.fields) {
            if (!field.key.startsWith(u"record ") || field.key == u"record size")
                continue;
            const int index = number(ProfileField{field.key, field.key.mid(7), field.line}, 1, 254);
            const QByteArray record = bytes(field, file.recordLength);
            if (records.contains(index))
                fail(field, QStringLiteral("record %1 is given twice").arg(index));
            records.insert(index, record.leftJustified(file.recordLength, char(0xFF)));
        }
        const int count = records.isEmpty() ? 0 : records.lastKey();
        if (count * file.recordLength > kLargestFile)
            fail(*size, QStringLiteral("the records hold more than %1 bytes").arg(kLargestFile));
        for (int index = 1; index <= count; ++index)
            file.data += records.value(index, QByteArray(file.recordLength, char(0xFF)));
    }

    void checkFolders()
    {
        if (m_profile.files.empty() || m_profile.files.front().kind != FileKind::Master)
            m_profile.files.insert(m_profile.files.begin(), MasterFile());
        for (auto path = m_paths.constBegin(); path != m_paths.constEnd(); ++path) {
            if (path.key().size() < 2)
                continue;
            const QList<quint16> folder = path.key().first(path.key().size() - 1);
            if (folder.size() > 1 && !isDedicated(folder))
                fail(*path, QStringLiteral("file path"), QStringLiteral("%1 is not described as a dedicated file")
                                                             .arg(FileId(folder.last())));
        }
    }

    bool isDedicated(const QList<quint16>& path) const
    {
        const auto found = std::find_if(m_profile.files.begin(), m_profile.files.end(), [&path](const CardFile& file) {
            return file.id == path.last() && file.parent == path[path.size() - 2];
        });
        return found != m_profile.files.end() && found->kind == FileKind::Dedicated && m_paths.contains(path);
    }

    void checkPins() const
    {
        for (const PinUse& use : m_pinUses) {
            const auto same = [&use](const CardPin& pin) { return pin.number == use.pin; };
            if (std::none_of(m_profile.pins.begin(), m_profile.pins.end(), same))
                fail(use.line, use.key, QStringLiteral("PIN %1 is not described in a [pin %1] section").arg(use.pin));
        }
    }

    struct PinUse {
        quint8 pin;
        int line;
        QString key;
    };

    const QString m_fileName;
    CardProfile m_profile;
    QMap<QList<quint16>, int> m_paths; // each file's path and line
    mutable QList<PinUse> m_pinUses;
};

QString AccessText(Access access)
{
    if (access == Access::Always || access == Access::Never)
        return access == Access::Always ? QStringLiteral("always") : QStringLiteral("never");
    return QStringLiteral("pin %1").arg(quint8(access));
}

QString KindText(FileKind kind)
{
    switch (kind) {
    case FileKind::Master: return QStringLiteral("master");
    case FileKind::Dedicated: return QStringLiteral("dedicated");
    case FileKind::Transparent: return QStringLiteral("transparent");
    case FileKind::LinearFixed: return QStringLiteral("records");
    }
    return {};
}

// The identifiers from the MF down to the file, parents looked up by identifier.
QString PathText(const CardProfile& profile, const CardFile& file)
{
    QStringList path{FileId(file.id)};
    for (quint16 parent = file.parent; parent != 0 && path.size() < 8;) {
        path.prepend(FileId(parent));
        const auto up = std::find_if(profile.files.begin(), profile.files.end(),
                                     [parent](const CardFile& f) { return f.id == parent; });
        parent = up == profile.files.end() ? 0 : up->parent;
    }
    return path.join(u'/');
}

QStringList FileLines(const CardProfile& profile, const CardFile& file)
{
    QStringList lines{QStringLiteral("[file %1]").arg(PathText(profile, file)),
                      QStringLiteral("type = %1").arg(KindText(file.kind))};
    if (file.kind == FileKind::Transparent)
        lines << QStringLiteral("data = %1").arg(HexText(file.data));
    if (file.kind == FileKind::LinearFixed) {
        lines << QStringLiteral("record size = %1").arg(file.recordLength);
        for (int index = 0; index < file.recordCount(); ++index)
            lines << QStringLiteral("record %1 = %2").arg(index + 1).arg(HexText(file.data.mid(index * file.recordLength, file.recordLength)));
    }
    // Folders carry access conditions too: SELECT shows them in the file information.
    lines << QStringLiteral("read = %1").arg(AccessText(file.read)) << QStringLiteral("update = %1").arg(AccessText(file.update));
    return lines << QString();
}

} // namespace

CardProfile ReadCardProfile(const QByteArray& contents, const QString& fileName)
{
    return ProfileInterpreter(fileName).read(ReadProfileSections(contents, fileName));
}

CardProfile LoadCardProfile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open the profile %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return ReadCardProfile(file.readAll(), QDir::toNativeSeparators(path));
}

QString CardProfileText(const CardProfile& profile, const QStringList& comment)
{
    QStringList lines;
    for (const QString& line : comment)
        lines << (line.isEmpty() ? QStringLiteral("#") : QStringLiteral("# ") + line);
    lines << QStringLiteral("[card]") << QStringLiteral("atr = %1").arg(HexText(profile.atr));
    if (profile.answerBaud != 0)
        lines << QStringLiteral("answer baud = %1").arg(profile.answerBaud);
    lines << QString();
    for (const CardPin& pin : profile.pins)
        lines << QStringLiteral("[pin %1]").arg(pin.number) << QStringLiteral("value = %1").arg(HexText(pin.value))
              << QStringLiteral("tries = %1").arg(pin.tries) << QString();
    for (const CardFile& file : profile.files)
        lines << FileLines(profile, file);
    for (auto answer = profile.answers.constBegin(); answer != profile.answers.constEnd(); ++answer)
        lines << QStringLiteral("[answer %1]").arg(HexText(answer.key())) << QStringLiteral("reply = %1").arg(HexText(*answer)) << QString();
    return lines.join(u'\n');
}
