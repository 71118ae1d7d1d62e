#include "logingate.h"

#include <QRandomGenerator>
#include <QSysInfo>
#include <cmath>

#include "demo/passwords.h"
#include "field.h"
#include "remoteudpconnection.h"

namespace md::host {

QString LoginResult::message() const {
    switch (outcome) {
        case Outcome::Accepted:
            return QString();
        case Outcome::Refused:
            return QStringLiteral("用户名或密码错误，请重新输入！");
        case Outcome::TooSoon:
            return QStringLiteral("登录失败次数过多，请 %1 秒后再试！").arg(waitSeconds);
    }
    return QString();
}

LoginGate::LoginGate(TRemoteUdpConnection& connection, Clock clock, Verifier verify)
    : m_connection(connection),
      m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); })),
      m_verify(verify ? std::move(verify) : Verifier(&md::server::verifyPassword)) {}

int LoginGate::waitAfter(int failures) {
    if (failures < kFreeFailures) return 0;
    const int doublings = failures - kFreeFailures;
    return doublings >= 9 ? kMaxWaitSeconds : qMin(kMaxWaitSeconds, 1 << doublings);
}

const QString& LoginGate::dummyHash() {
    static const QString hash =
        md::server::hashPassword(QString::number(QRandomGenerator::system()->generate64(), 36));
    return hash;
}

LoginResult LoginGate::attempt(const QString& userNo, const QString& password) {
    // Made before anything is looked up, so that the first attempt costs the
    // same whether the user exists or not.
    const QString& dummy = dummyHash();
    const QDateTime now = m_clock();
    LoginResult result;

    const Failures failures = failuresOf(userNo);
    if (failures.count > 0) {
        const QDateTime allowed = failures.last.addSecs(waitAfter(failures.count));
        if (allowed > now) {
            result.outcome = LoginResult::Outcome::TooSoon;
            result.waitSeconds = int(std::ceil(double(now.msecsTo(allowed)) / 1000.0));
            return result;
        }
    }

    ResultTable user;
    const ParamMap who{{QStringLiteral("userno"), userNo}};
    m_connection.OpenSQL(
        QStringLiteral("select username,fpassword from usermain where userno=:userno"), user, &who);
    const bool known = user.rowCount > 0;
    const bool matches = m_verify(known ? user.at(0, 1).toString() : dummy, password) && known;
    if (!matches) {
        recordFailure(userNo, failures, now);
        result.outcome = LoginResult::Outcome::Refused;
        return result;
    }
    if (failures.count > 0) clearFailures(userNo);
    result.outcome = LoginResult::Outcome::Accepted;
    result.userName = user.at(0, 0).toString();
    return result;
}

LoginGate::Failures LoginGate::failuresOf(const QString& userNo) {
    ResultTable rows;
    const ParamMap who{{QStringLiteral("userno"), userNo}};
    m_connection.OpenSQL(QStringLiteral("select failures,lastfailure from md_loginfailure "
                                        "where userno=:userno"),
                         rows, &who);
    Failures failures;
    if (rows.rowCount == 0) return failures;
    failures.count = rows.at(0, 0).toInt();
    failures.last = TField::dateTimeOf(rows.at(0, 1));
    return failures;
}

void LoginGate::recordFailure(const QString& userNo, const Failures& before, const QDateTime& now) {
    TRemoteUdpConnection::Unit unit(m_connection);
    const ParamMap failure{{QStringLiteral("userno"), userNo},
                           {QStringLiteral("failures"), before.count + 1},
                           {QStringLiteral("lastfailure"), now}};
    if (m_connection.ExecSQL(QStringLiteral("update md_loginfailure set failures=:failures,"
                                            "lastfailure=:lastfailure where userno=:userno"),
                             &failure) == 0)
        m_connection.ExecSQL(QStringLiteral("insert into md_loginfailure(userno,failures,"
                                            "lastfailure) values(:userno,:failures,:lastfailure)"),
                             &failure);
    // The operation log shows who tried, from which workstation, and when.
    const ParamMap entry{
        {QStringLiteral("logindate"), now.date().toString(QStringLiteral("yyyy-MM-dd"))},
        {QStringLiteral("begintime"), now.time().toString(QStringLiteral("HH:mm:ss"))},
        {QStringLiteral("userno"), userNo},
        {QStringLiteral("clientname"), QSysInfo::machineHostName()},
        {QStringLiteral("modename"), QStringLiteral("用户登录")},
        {QStringLiteral("fstate"), QStringLiteral("登录失败")}};
    m_connection.ExecSQL(
        QStringLiteral("insert into syslog(logindate,begintime,userno,clientname,modename,fbillid,"
                       "fstate) values(:logindate,:begintime,:userno,:clientname,:modename,'',"
                       ":fstate)"),
        &entry);
    unit.commit();
}

void LoginGate::clearFailures(const QString& userNo) {
    const ParamMap who{{QStringLiteral("userno"), userNo}};
    m_connection.ExecSQL(QStringLiteral("delete from md_loginfailure where userno=:userno"), &who);
}

void changePassword(TRemoteUdpConnection& connection, const QString& userNo,
                    const QString& newPassword) {
    const ParamMap change{{QStringLiteral("userno"), userNo},
                          {QStringLiteral("fpassword"), md::server::hashPassword(newPassword)}};
    connection.ExecSQL(
        QStringLiteral("update usermain set fpassword=:fpassword where userno=:userno"), &change);
}

}  // namespace md::host
