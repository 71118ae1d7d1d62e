#include "serverobjects.h"

namespace md::data {

const Procedure* ServerObjects::procedure(QStringView name) const {
    const QString key = md::sql::Catalog::normalizedName(name);
    auto it = procedures.constFind(key);
    return it == procedures.constEnd() ? nullptr : &it.value();
}

}  // namespace md::data
