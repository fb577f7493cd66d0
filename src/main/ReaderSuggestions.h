#pragma once

#include <QObject>
#include <QStringList>

class QCompleter;
class QLineEdit;
class QStringListModel;

// The PC/SC readers present, offered beside the device name typed on the Setup
// page: "pcsc:" (the first reader with a card) and "pcsc:" with each reader's
// name, as completions. The list is read again whenever the edit takes the
// focus from another control; typing any part of an entry, or Down, shows them. The edit keeps
// whatever is typed. Owned by the edit.
class ReaderSuggestions : public QObject {
    Q_OBJECT
public:
    explicit ReaderSuggestions(QLineEdit& edit);

    // The device names of the readers pcscd knows; none when it cannot be reached.
    static QStringList DeviceNames();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringListModel* m_names;
    QCompleter* m_completer;
};
