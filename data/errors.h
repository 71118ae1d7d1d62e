#pragma once
// Failures of the data layer. Every failure reaches the caller as an exception:
// EAbort is the silent stop after a refused check, everything else is shown by
// the framework's one error box.
#include <QString>
#include <exception>

// Silent stop: a check has already shown its message; the action dispatcher
// swallows this without a word.
class EAbort : public std::exception {
  public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] inline void Abort() {
    throw EAbort();
}

class EDatabaseError : public std::exception {
  public:
    explicit EDatabaseError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

  private:
    QString m_message;
    QByteArray m_utf8;
};

// T-SQL that the translator cannot take: a syntax error or a construct outside
// the supported subset. Nothing of the batch has run.
class ETranslateError : public EDatabaseError {
  public:
    ETranslateError(QString message, int line, int column)
        : EDatabaseError(std::move(message)), m_line(line), m_column(column) {}
    int line() const { return m_line; }
    int column() const { return m_column; }

  private:
    int m_line;
    int m_column;
};

// A cached update or delete found no row: somebody else changed or deleted it
// since it was read. The batch is refused as a whole.
class EConcurrencyError : public EDatabaseError {
  public:
    using EDatabaseError::EDatabaseError;
};
