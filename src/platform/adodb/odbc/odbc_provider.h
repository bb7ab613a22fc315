#pragma once
// The ODBC provider: SQL Server, Oracle and any ODBC data source through unixODBC.
// The ODBC headers stay inside this folder's sources.
#include <memory>

#include "platform/adodb/provider.h"

namespace adodb {

std::unique_ptr<Provider> CreateOdbcProvider();

}  // namespace adodb
