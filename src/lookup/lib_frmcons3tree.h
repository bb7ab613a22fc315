#pragma once
// The tree lookup window the lookup service shows for lookups declared as a tree.
#include <memory>

#include "lookup/lib_clscons3.h"

namespace lookup {

std::unique_ptr<LookupWindow> MakeTreeWindow(const ConfigReader& leerConfiguracion);

}  // namespace lookup
