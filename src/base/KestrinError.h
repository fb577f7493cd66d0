#pragma once

#include <QString>
#include <exception>

// An error that ends the action under way; the handler that started the action
// shows its message to the operator.
class KestrinError : public std::exception {
public:
    explicit KestrinError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text that should have been a whole number.
class ConversionError : public KestrinError {
public:
    explicit ConversionError(const QString& text)
        : KestrinError(QStringLiteral("'%1' is not a valid integer value").arg(text)) {}
};

// A line of hexadecimal bytes with a token that is no hexadecimal number: the
// token's byte would be unsettled, so nothing of the line may reach the card.
class HexLineError : public KestrinError {
public:
    using KestrinError::KestrinError;
};

// A file that cannot be opened, read or written.
class FileError : public KestrinError {
public:
    using KestrinError::KestrinError;
};
