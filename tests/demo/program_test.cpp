// The depuraciones-demo program: arguments, exit statuses and what it prints.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

#ifdef DEPURACIONES_BINARY_DIR
namespace {

TEST(DemoProgram, ArgumentsExitStatusesAndOutput) {
    const std::string program =
        std::string(DEPURACIONES_BINARY_DIR) + "/src/demo/depuraciones-demo";
    if (!std::filesystem::exists(program)) GTEST_SKIP() << "depuraciones-demo not built";
    testsupport::TempDir dir;
    std::string output;
    const auto run = [&](const std::string& arguments) {
        const std::string log = dir.File("salida.txt");
        const int status = std::system(("cd '" + dir.Path().string() + "' && '" + program + "' " +
                                        arguments + " >'" + log + "' 2>&1")
                                           .c_str());
        std::stringstream text;
        text << std::ifstream(log).rdbuf();
        output = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };

    EXPECT_EQ(run("--help"), 0);
    EXPECT_NE(output.find("Uso: depuraciones-demo [--scale X] [--seed N] [--replace] ARCHIVO"),
              std::string::npos);
    EXPECT_NE(output.find("--scale 200"), std::string::npos);

    const std::pair<const char*, const char*> refused[] = {
        {"", "falta el nombre"},
        {"--scale 0.01 a.db", "escala no válida"},
        {"--scale diez a.db", "escala no válida"},
        {"--seed -1 a.db", "semilla no válida"},
        {"--seed", "falta el valor de --seed"},
        {"--bogus a.db", "opción desconocida"},
        {"a.db b.db", "más de un archivo"},
    };
    for (const auto& [arguments, message] : refused) {
        EXPECT_EQ(run(arguments), 2) << arguments;
        EXPECT_NE(output.find(message), std::string::npos) << arguments << ": " << output;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.db")));

    ASSERT_EQ(run("--scale 0,05 --seed 3 demo.db"), 0) << output;
    EXPECT_NE(output.find("MV_ASIENTOS                           250"), std::string::npos)
        << output;
    EXPECT_EQ(run("--scale 0.05 demo.db"), 1);
    EXPECT_NE(output.find("ya existe"), std::string::npos) << output;
    EXPECT_EQ(run("--replace --scale 0.05 demo.db"), 0) << output;
}

}  // namespace
#endif
