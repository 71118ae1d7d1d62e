#pragma once
// User passwords are kept as salted, slow hashes (argon2id, libsodium's string
// format with its parameters inside), never as the password itself.
#include <QString>

namespace md::server {

QString hashPassword(const QString& password);
// False for a wrong password and for a stored value that is not such a hash.
bool verifyPassword(const QString& storedHash, const QString& password);

}  // namespace md::server
