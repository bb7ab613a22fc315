// depuraciones-demo: builds a demo database of the suite for the purge tool.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "demo/generator.h"

namespace {

constexpr const char* kHelp = R"(Uso: depuraciones-demo [--scale X] [--seed N] [--replace] ARCHIVO

Crea ARCHIVO, una base de datos SQLite con las tablas del sistema y datos de
demostración reproducibles:
  - ejercicios 2019 a 2025: 2019, 2020 y 2021 cerrados; 2022 con CIERRE pero sin
    CERRADO; 2023, 2024 y 2025 abiertos;
  - asientos contables con sus aplicaciones, comprobantes de venta y de compra con
    sus filas dependientes (y algunas filas dependientes sin cabecera), movimientos
    de stock en varios depósitos, posiciones, números de serie y lotes (algunos
    anulados) y un saldo inicial anterior (SI 000100000041X, 31/12/2018);
  - tipos de comprobante (entre ellos SI, Saldo Inicial), claves de configuración
    (fechaoperdesde 01/01/2024, fechaoperhasta 31/12/2025, ...) y los usuarios
    "admin" (administrador) y "operador".
La base queda en modo WAL, lista para abrir con el programa de depuración.

Opciones:
  --scale X   Tamaño de los datos (por defecto 1; admite decimales, mínimo 0.05).
              Con escala 1: 5.000 asientos, 10.000 aplicaciones, 5.000 movimientos
              de stock y unas 5.000 filas de comprobantes (las nueve tablas de
              comprobantes juntas). Las cantidades crecen en proporción a la escala:
              con --scale 200, 1.000.000 de asientos, 2.000.000 de aplicaciones,
              1.000.000 de movimientos de stock y 1.000.000 de filas de comprobantes.
  --seed N    Semilla de los datos (entero de 0 a 4294967295, por defecto 1). La misma
              semilla y la misma escala dan siempre la misma base.
  --replace   Reemplaza ARCHIVO si ya existe. Sin esta opción un archivo existente
              no se toca y el programa termina con error.
  --help      Muestra esta ayuda.

Estado de salida: 0 base creada; 1 no se pudo crear; 2 argumentos incorrectos.
)";

int BadArguments(const std::string& message) {
    std::cerr << "depuraciones-demo: " << message << "\nUse --help para ver las opciones.\n";
    return 2;
}

bool ParseScale(std::string text, double& scale) {
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    char* end = nullptr;
    scale = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size();
}

bool ParseSeed(std::string_view text, std::uint32_t& seed) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    demo::GeneratorOptions options;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kHelp;
            return 0;
        }
        if (arg == "--replace") {
            options.replace = true;
        } else if (arg == "--scale" || arg == "--seed") {
            if (i + 1 >= argc) return BadArguments("falta el valor de " + std::string(arg));
            const std::string value = argv[++i];
            if (arg == "--scale") {
                if (!ParseScale(value, options.scale) || !std::isfinite(options.scale) ||
                    !(options.scale >= demo::kMinimumScale)) {
                    return BadArguments("escala no válida: " + value +
                                        " (debe ser un número de 0.05 en adelante)");
                }
            } else if (!ParseSeed(value, options.seed)) {
                return BadArguments("semilla no válida: " + value);
            }
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return BadArguments("opción desconocida: " + std::string(arg));
        } else if (!file.empty()) {
            return BadArguments("se indicó más de un archivo");
        } else {
            file = arg;
        }
    }
    if (file.empty()) return BadArguments("falta el nombre del archivo a crear");

    try {
        const demo::GeneratorStats stats = demo::GenerateDemoDatabase(file, options);
        std::cout << "Base de demostración creada: " << file << "\n";
        std::printf("Escala %g, semilla %u, %.2f segundos\n\n", options.scale,
                    static_cast<unsigned>(options.seed), stats.seconds);
        std::printf("%-28s %12s\n", "Tabla", "Filas");
        for (const auto& [table, rows] : stats.rows) {
            std::printf("%-28s %12lld\n", table.c_str(), rows);
        }
        std::printf("%-28s %12lld\n", "Total", stats.Total());
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "depuraciones-demo: " << error.what() << "\n";
        return 1;
    }
}
