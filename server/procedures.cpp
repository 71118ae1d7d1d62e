#include "procedures.h"

namespace md::server {

namespace {
QHash<QString, md::data::Procedure>& registry() {
    static QHash<QString, md::data::Procedure> procedures;
    return procedures;
}
}  // namespace

RegisterProcedure::RegisterProcedure(const char* name, md::data::Procedure procedure) {
    registry().insert(QString::fromLatin1(name).toLower(), std::move(procedure));
}

const QHash<QString, md::data::Procedure>& registeredProcedures() {
    return registry();
}

}  // namespace md::server
