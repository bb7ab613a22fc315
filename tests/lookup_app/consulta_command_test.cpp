// depuraciones-consulta end to end: the start-up on a demo database, the real list window
// offscreen with an operator scripted on its controls, the printed results and exit statuses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <functional>
#include <sstream>

#include "demo/generator.h"
#include "lookup_app/consulta_command.h"
#include "platform/text/regional.h"
#include "platform/ui/ports.h"
#include "platform/ui/scripted_prompter.h"
#include "startup/mod_global.h"
#include "startup/program_folder.h"
#include "startup/startup_state.h"
#include "support/temp_dir.h"

namespace {

void WhenShown(std::function<void(QWidget&)> operator_) {
    QTimer::singleShot(0, [operator_ = std::move(operator_)] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        QApplication::setActiveWindow(window);
        operator_(*window);
    });
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class ConsultaCommandTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        demoDir_ = std::make_unique<testsupport::TempDir>();
        demoPath_ = demoDir_->File("demo.db");
        demo::GeneratorOptions options;
        options.scale = demo::kMinimumScale;
        demo::GenerateDemoDatabase(demoPath_, options);
    }
    static void TearDownTestSuite() { demoDir_.reset(); }

    void SetUp() override {
        text::RegionalSettings::SetCurrent(text::RegionalSettings{});
        startup::ResetForTests();
        startup::SetProgramFolder(dir.Path().string());
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
    }
    void TearDown() override {
        startup::ResetForTests();
        startup::SetProgramFolder("");
    }

    Result Run(std::vector<std::string> args) {
        args.insert(args.begin(), "depuraciones-consulta");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        std::ostringstream out;
        std::ostringstream err;
        ui::ScopedPrompter scoped(prompter);
        const int status =
            lookupapp::RunConsulta(static_cast<int>(argv.size()), argv.data(), out, err);
        return {status, out.str(), err.str()};
    }

    std::string Parameters() const {
        return "@Server=local;@DbName=" + demoPath_ + ";@Usuario=admin;@Password=;";
    }

    static std::unique_ptr<testsupport::TempDir> demoDir_;
    static std::string demoPath_;
    testsupport::TempDir dir;
    std::shared_ptr<ui::ScriptedPrompter> prompter = std::make_shared<ui::ScriptedPrompter>();
};

std::unique_ptr<testsupport::TempDir> ConsultaCommandTest::demoDir_;
std::string ConsultaCommandTest::demoPath_;

TEST_F(ConsultaCommandTest, AcceptedRowIsPrinted) {
    WhenShown([](QWidget& w) {
        auto& box = *w.findChild<QLineEdit*>("CmbSearch_0");
        box.setFocus();
        QTest::keyClicks(&box, "Corral");
        QTest::keyClick(&box, Qt::Key_Down);
        QTest::keyClick(w.findChild<QTreeView*>("ListView1"), Qt::Key_Return);
    });
    const Result r = Run({"--campo-devuelto", "CODIGO", "--campos", "CODIGO,RAZON_SOCIAL",
                          "VT_CLIENTES", Parameters()});
    EXPECT_EQ(r.status, lookupapp::kExitAccepted) << r.err;
    // The default catalogue was written at start-up; its client entry gives the columns.
    EXPECT_TRUE(std::filesystem::exists(dir.File("consultas.ovl")));
    std::istringstream lines(r.out);
    std::string valor, codigo, razon;
    std::getline(lines, valor);
    std::getline(lines, codigo);
    std::getline(lines, razon);
    EXPECT_EQ(valor.front(), 'C');
    EXPECT_EQ(codigo, valor);
    EXPECT_EQ(razon.rfind("Corralón", 0), 0U) << razon;
}

TEST_F(ConsultaCommandTest, CancelAndBadArguments) {
    WhenShown([](QWidget& w) {
        QTest::mouseClick(w.findChild<QPushButton*>("CmdCancelar"), Qt::LeftButton);
    });
    Result r = Run({"--marcas", "V_MA_ARTICULOS", Parameters()});
    EXPECT_EQ(r.status, lookupapp::kExitCancelled) << r.err;
    EXPECT_EQ(r.out, "");

    r = Run({"--no-existe", "VT_CLIENTES"});
    EXPECT_EQ(r.status, lookupapp::kExitNotStarted);
    EXPECT_NE(r.err.find("Opción desconocida: --no-existe."), std::string::npos);
    r = Run({"--clave"});
    EXPECT_EQ(r.status, lookupapp::kExitNotStarted);
    r = Run({});
    EXPECT_EQ(r.status, lookupapp::kExitNotStarted);
    EXPECT_NE(r.err.find("Falta la tabla"), std::string::npos);
}

TEST_F(ConsultaCommandTest, NoConnectionEndsWithStatusTwo) {
    // The operator declines every offer to retry or to give other data.
    for (int i = 0; i < 4; ++i) prompter->Answer(ui::kNo);
    const Result r = Run({"VT_CLIENTES", "@Server=local;@DbName=" + dir.File("no.db") +
                                             ";@Usuario=admin;@Password=;"});
    EXPECT_EQ(r.status, lookupapp::kExitNotStarted);
    EXPECT_NE(r.err.find("Sin conexión"), std::string::npos);
}

TEST(ConsultaProgram, HelpAndNoConnectionAsAProcess) {
    const std::string program =
        std::string(DEPURACIONES_BINARY_DIR) + "/src/lookup_app/depuraciones-consulta";
    ASSERT_TRUE(std::filesystem::exists(program));
    testsupport::TempDir dir;
    const auto run = [&](const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.File("config")));
        p.setProcessEnvironment(env);
        p.start(QString::fromStdString(program), args);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::make_pair(p.exitCode(), p.readAllStandardOutput().toStdString());
    };
    const auto [helpStatus, help] = run({"--help"});
    EXPECT_EQ(helpStatus, 0);
    EXPECT_NE(help.find("Uso: depuraciones-consulta [opciones] TABLA|SENTENCIA"),
              std::string::npos);
    const auto [status, out] = run({"--campos"});
    EXPECT_EQ(status, 2);
    EXPECT_EQ(out, "");
}

}  // namespace
