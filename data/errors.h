#pragma once
// Failures of the data layer. Every failure reaches the caller as an exception:
// EAbort is the silent stop after a refused check, everything else is shown by
// the framework's one error box.
#include <QString>
#include <QStringList>
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

// The rule of the database a statement broke, when the backend can tell. The
// message box names the field and the value in the user's words from these.
struct TConstraintViolation {
    enum class Kind { None, Duplicate, NotNull };
    Kind kind = Kind::None;
    QString table;
    QStringList columns;  // as the database names them (any case)
    QStringList values;   // the offending values, one per column; empty when not known
};

class EDatabaseError : public std::exception {
  public:
    explicit EDatabaseError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    // The engine's words and, after a line break, the statement when one failed.
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // The failed statement's text as it was sent (also the end of message()).
    const QString& statement() const { return m_statement; }
    void setStatement(const QString& statement) { m_statement = statement; }
    // The message without the statement.
    QString reason() const {
        if (m_statement.isEmpty() || !m_message.endsWith(m_statement)) return m_message;
        return m_message.left(m_message.size() - m_statement.size()).trimmed();
    }

    const TConstraintViolation& violation() const { return m_violation; }
    TConstraintViolation& violation() { return m_violation; }

  private:
    QString m_message;
    QByteArray m_utf8;
    QString m_statement;
    TConstraintViolation m_violation;
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
