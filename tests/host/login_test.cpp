// The login: wrong passwords make the next attempt wait longer (with a clock
// the test moves), an unknown user costs the same work as a wrong password,
// failures reach the operation log, and the dialogs that ask for passwords.
#include <QLineEdit>
#include <QPushButton>

#include "demo/passwords.h"
#include "hostfixture.h"
#include "logindialog.h"
#include "logingate.h"
#include "passworddialog.h"

namespace {

using namespace md::test;
using md::host::LoginGate;
using md::host::LoginResult;
using Outcome = md::host::LoginResult::Outcome;

class Login : public HostTest {
  protected:
    // A gate on a clock that moves only when the test says so.
    LoginGate gate() {
        return LoginGate(db.conn(), [this] { return now; });
    }
    QDateTime now = QDateTime(QDate(2026, 1, 6), QTime(9, 0, 0));
};

// The argon2id parameters of a stored hash ("$argon2id$v=19$m=65536,t=2,p=1$").
QString hashParameters(const QString& hash) {
    return hash.section('$', 0, 3);
}

TEST_F(Login, EachFailureBeyondTheFirstFewDoublesTheWaitUpToItsCap) {
    EXPECT_EQ(LoginGate::waitAfter(2), 0);
    EXPECT_EQ(LoginGate::waitAfter(3), 1);
    EXPECT_EQ(LoginGate::waitAfter(4), 2);
    EXPECT_EQ(LoginGate::waitAfter(10), 128);
    EXPECT_EQ(LoginGate::waitAfter(30), LoginGate::kMaxWaitSeconds);

    LoginGate admin = gate();
    // 30 wrong passwords, each as soon as the gate takes it.
    for (int failure = 1; failure <= 30; ++failure) {
        const LoginResult wrong =
            admin.attempt(demo::kAdminUser, "guess" + QString::number(failure));
        ASSERT_EQ(wrong.outcome, Outcome::Refused) << failure;
        EXPECT_EQ(wrong.message(), "用户名或密码错误，请重新输入！");
        now = now.addSecs(LoginGate::waitAfter(failure));
    }
    EXPECT_EQ(db.rows("select failures from md_loginfailure where userno='admin'"),
              QStringList{"30"});
    EXPECT_EQ(db.count("syslog where modename='用户登录' and fstate='登录失败' and userno='admin'"),
              30);

    // The right password right after the last failure: not yet.
    now = now.addSecs(-LoginGate::kMaxWaitSeconds + 10);
    const LoginResult early = admin.attempt(demo::kAdminUser, demo::kAdminPassword);
    EXPECT_EQ(early.outcome, Outcome::TooSoon);
    EXPECT_EQ(early.waitSeconds, LoginGate::kMaxWaitSeconds - 10);
    EXPECT_EQ(early.message(), "登录失败次数过多，请 290 秒后再试！");

    now = now.addSecs(LoginGate::kMaxWaitSeconds - 10);
    const LoginResult right = admin.attempt(demo::kAdminUser, demo::kAdminPassword);
    EXPECT_EQ(right.outcome, Outcome::Accepted);
    EXPECT_EQ(right.userName, "系统管理员");
    EXPECT_EQ(db.count("md_loginfailure"), 0) << "a login starts the count again";
    EXPECT_EQ(db.count("syslog"), 30) << "only failures are logged";

    // Another user's failures are theirs alone.
    EXPECT_TRUE(gate().attempt(demo::kShopUser, demo::kShopPassword).accepted());
}

TEST_F(Login, AnUnknownUserCostsTheSameWorkAsAWrongPassword) {
    QStringList checked;  // the hashes the gate verified, in order
    LoginGate counting(
        db.conn(), [this] { return now; },
        [&checked](const QString& hash, const QString& password) {
            checked << hash;
            return md::server::verifyPassword(hash, password);
        });
    const QString stored =
        db.scalar("select fpassword from usermain where userno='admin'").toString();

    EXPECT_EQ(counting.attempt(demo::kAdminUser, "wrong").outcome, Outcome::Refused);
    EXPECT_EQ(checked, QStringList{stored});
    checked.clear();
    const LoginResult unknown = counting.attempt("nobody", demo::kAdminPassword);
    EXPECT_EQ(unknown.outcome, Outcome::Refused);
    EXPECT_EQ(unknown.message(), "用户名或密码错误，请重新输入！");
    ASSERT_EQ(checked.size(), 1) << "a hash is checked for an unknown user too";
    EXPECT_EQ(checked.first(), LoginGate::dummyHash());
    EXPECT_EQ(hashParameters(checked.first()), hashParameters(stored)) << "made the same way";

    // Unknown numbers are counted like users, so waiting tells nothing either.
    EXPECT_EQ(db.rows("select userno,failures from md_loginfailure order by userno"),
              (QStringList{"admin|1", "nobody|1"}));
    EXPECT_FALSE(counting.attempt("admin' or '1'='1", "x").accepted());
}

TEST_F(Login, TheDialogSaysWhatWentWrongAndLetsTheUserRetry) {
    md::host::TLoginDialog login(db.conn());
    login.setUserNo(demo::kAdminUser);
    auto* password = login.findChild<QLineEdit*>("edt_password");
    ASSERT_NE(password, nullptr);
    EXPECT_FALSE(login.findChild<QPushButton*>("btn_connection")->isVisibleTo(&login))
        << "only offered where a new connection can take effect";

    password->setText("wrong");
    login.accept();
    EXPECT_NE(login.result(), QDialog::Accepted);
    ASSERT_EQ(script.texts(), QStringList{"用户名或密码错误，请重新输入！"});
    EXPECT_EQ(script.shown().first().title, "系统提示");
    EXPECT_EQ(password->text(), "");  // cleared for the next try

    password->setText(demo::kAdminPassword);
    login.accept();
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(login.userNo(), demo::kAdminUser);
    EXPECT_EQ(login.userName(), "系统管理员");
    EXPECT_EQ(script.shown().size(), 1);
}

TEST_F(Login, ChangingThePasswordChecksTheOldOneAndStoresAHashOfTheNewOne) {
    md::host::TPasswordDialog dialog(db.conn(), demo::kShopUser);
    const auto type = [&dialog](const char* field, const QString& text) {
        auto* edit = dialog.findChild<QLineEdit*>(field);
        edit->setFocus();
        edit->setText(text);
    };
    const auto attempt = [&](const QString& old, const QString& fresh, const QString& again) {
        script.clear();
        type("edt_oldpassword", old);
        type("edt_newpassword", fresh);
        type("edt_confirmpassword", again);
        dialog.findChild<QPushButton*>("btn_ok")->click();
        return script.texts();
    };
    const QString before =
        db.scalar("select fpassword from usermain where userno='lixiao'").toString();
    EXPECT_EQ(attempt(demo::kShopPassword, "", ""), QStringList{"新密码不能为空！"});
    EXPECT_EQ(attempt(demo::kShopPassword, "abc789", "abc788"),
              QStringList{"两次输入的新密码不一致！"});
    EXPECT_EQ(attempt("654321", "abc789", "abc789"), QStringList{"原密码错误，请重新输入！"});
    EXPECT_EQ(db.scalar("select fpassword from usermain where userno='lixiao'").toString(), before);
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    EXPECT_EQ(attempt(demo::kShopPassword, "abc789", "abc789"),
              QStringList{"密码已修改，下次登录请使用新密码。"});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const QString after =
        db.scalar("select fpassword from usermain where userno='lixiao'").toString();
    EXPECT_TRUE(after.startsWith("$argon2id$")) << after.toStdString();
    EXPECT_FALSE(gate().attempt(demo::kShopUser, demo::kShopPassword).accepted());
    EXPECT_TRUE(gate().attempt(demo::kShopUser, "abc789").accepted());
}

}  // namespace
