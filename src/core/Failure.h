#pragma once

#include <QString>
#include <stdexcept>

// A failure that ends the handler it escapes from: a value that is not a number, a file or a port
// that cannot be used. The handler guard shows its text through the error report.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};
