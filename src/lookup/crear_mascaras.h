#pragma once
// The default lookup catalogue.
#include <vector>

#include "lookup/mascara_consulta.h"

namespace lookup {

// The eight default entries, in the order they are written.
const std::vector<MascaraConsulta>& DefaultMascaras();

// Appends the default entries to the catalogue file named by the shared service's
// gRutaMascaraConsultas, creating the file when missing. Raises text::RuntimeError 75 when
// the file cannot be written.
void CrearMascarasConsultas();

}  // namespace lookup
