#include "passwords.h"

#include <sodium.h>

#include "errors.h"

namespace md::server {

namespace {
void initSodium() {
    if (sodium_init() < 0) throw EDatabaseError(QStringLiteral("密码库初始化失败"));
}
}  // namespace

QString hashPassword(const QString& password) {
    initSodium();
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, utf8.constData(), quint64(utf8.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw EDatabaseError(QStringLiteral("生成密码散列时内存不足"));
    return QString::fromLatin1(out);
}

bool verifyPassword(const QString& storedHash, const QString& password) {
    initSodium();
    const QByteArray hash = storedHash.toLatin1();
    if (hash.isEmpty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
    const QByteArray utf8 = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), quint64(utf8.size())) == 0;
}

}  // namespace md::server
