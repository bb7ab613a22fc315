#include "platform/ui/console_prompter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(ConsolePrompter, WritesTheBoxAndAnswersConservativelyByDefault) {
    std::ostringstream out;
    ui::ConsolePrompter p(out);
    struct Case {
        ui::Buttons buttons;
        int expected;
    } cases[] = {
        {ui::Buttons::OK, ui::kOK},
        {ui::Buttons::OKCancel, ui::kOK},
        {ui::Buttons::AbortRetryIgnore, ui::kAbort},
        {ui::Buttons::YesNoCancel, ui::kCancel},
        {ui::Buttons::YesNo, ui::kNo},
        {ui::Buttons::RetryCancel, ui::kCancel},
    };
    for (const auto& c : cases)
        EXPECT_EQ(p.MsgBox("x", c.buttons, ui::Icon::None, "t"), c.expected);

    out.str("");
    p.MsgBox("Línea 1\rLínea 2", ui::Buttons::YesNo, ui::Icon::Question, "");
    EXPECT_EQ(out.str(), "[Depuraciones] PREGUNTA\nLínea 1\nLínea 2\n  (Sí/No) -> No\n");
}

TEST(ConsolePrompter, AnswersByTheCallersPolicy) {
    std::ostringstream out;
    ui::ConsolePrompter p(out);
    p.SetAnswer(ui::Buttons::YesNo, ui::kYes);
    EXPECT_EQ(p.MsgBox("¿Depurar?", ui::Buttons::YesNo, ui::Icon::Question, "Aviso"), ui::kYes);

    std::string seen;
    p.SetPolicy([&](const std::string& prompt, ui::Buttons, ui::Icon, const std::string&) {
        seen = prompt;
        return ui::kIgnore;
    });
    EXPECT_EQ(p.MsgBox("fallo", ui::Buttons::AbortRetryIgnore, ui::Icon::Critical, ""),
              ui::kIgnore);
    EXPECT_EQ(seen, "fallo");

    EXPECT_EQ(p.InputBox("Fecha", "", "01/01/2004"), "01/01/2004");
    p.SetInputPolicy([](const std::string&, const std::string&, const std::string&) {
        return std::string("31/12/2004");
    });
    EXPECT_EQ(p.InputBox("Fecha", "", "01/01/2004"), "31/12/2004");
}

}  // namespace
