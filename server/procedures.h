#pragma once
// Stored procedures are C++ functions registered by name. Each file under
// server/procedures registers its own with a static registrar:
//
//   static const md::server::RegisterProcedure reg("P_UpdateGoodsSize", &updateGoodsSize);
#include "serverobjects.h"

namespace md::server {

struct RegisterProcedure {
    RegisterProcedure(const char* name, md::data::Procedure procedure);
};

// Every procedure registered so far, by lower-case name.
const QHash<QString, md::data::Procedure>& registeredProcedures();

// Helpers for procedure bodies.
using md::data::ProcedureCall;

}  // namespace md::server
