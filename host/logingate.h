#pragma once
// The login check: a user number and password against usermain, with a wait
// that grows with the failed attempts in a row. Failures are kept per user
// number in md_loginfailure (for numbers that are no user too, so the answers
// never tell which users exist) and each one is written to the operation log.
// A user number that does not exist costs the same work as a wrong password:
// a dummy hash is checked in its place.
#include <QDateTime>
#include <QString>
#include <functional>

class TRemoteUdpConnection;

namespace md::host {

struct LoginResult {
    enum class Outcome { Accepted, Refused, TooSoon };
    Outcome outcome = Outcome::Refused;
    QString userName;     // Accepted
    int waitSeconds = 0;  // TooSoon: how long until an attempt is taken again

    bool accepted() const { return outcome == Outcome::Accepted; }
    // What the user is told when the login is not accepted.
    QString message() const;
};

class LoginGate {
  public:
    using Clock = std::function<QDateTime()>;
    using Verifier = std::function<bool(const QString& storedHash, const QString& password)>;

    // Failures in a row that cost no wait, and the longest wait.
    static constexpr int kFreeFailures = 3;
    static constexpr int kMaxWaitSeconds = 300;

    // clock: the time now (the local clock by default); verify: the password
    // hash check (argon2id by default). Tests pass their own of both.
    explicit LoginGate(TRemoteUdpConnection& connection, Clock clock = {}, Verifier verify = {});

    LoginResult attempt(const QString& userNo, const QString& password);

    // The wait after this many failures in a row: none for the first few, then
    // one second doubling with every further failure, up to kMaxWaitSeconds.
    static int waitAfter(int failures);
    // What is checked for a user number that does not exist: a hash of a
    // random password, made like the stored ones.
    static const QString& dummyHash();

  private:
    struct Failures {
        int count = 0;
        QDateTime last;
    };
    Failures failuresOf(const QString& userNo);
    void recordFailure(const QString& userNo, const Failures& before, const QDateTime& now);
    void clearFailures(const QString& userNo);

    TRemoteUdpConnection& m_connection;
    Clock m_clock;
    Verifier m_verify;
};

// Stores a new password (its salted hash) for the user.
void changePassword(TRemoteUdpConnection& connection, const QString& userNo,
                    const QString& newPassword);

}  // namespace md::host
