#pragma once
// The embedded engine: a Provider that runs the suite's SQL Server statements on a local
// database file, translating the dialect on the way.
#include <memory>

#include "platform/adodb/provider.h"

namespace adodb {

std::unique_ptr<Provider> CreateSqliteProvider();

}  // namespace adodb
