#include "platform/ui/ports.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/text/runtime_error.h"
#include "platform/ui/clocks.h"
#include "platform/ui/scripted_prompter.h"

namespace {

TEST(Ports, WithoutAPrompterEveryBoxFailsLoudly) {
    EXPECT_THROW(ui::prompter().MsgBox("¿Seguro?", ui::Buttons::YesNo), text::RuntimeError);
    EXPECT_THROW(ui::prompter().InputBox("Fecha"), text::RuntimeError);
}

TEST(Ports, ScopedPortsPutThePreviousOneBack) {
    auto outer = std::make_shared<ui::ScriptedPrompter>();
    ui::ScopedPrompter scopeOuter(outer);
    {
        auto inner = std::make_shared<ui::ScriptedPrompter>();
        ui::ScopedPrompter scopeInner(inner);
        inner->Answer(ui::kOK);
        ui::prompter().MsgBox("dentro");
        EXPECT_EQ(inner->Boxes().size(), 1u);
    }
    outer->Answer(ui::kOK);
    ui::prompter().MsgBox("fuera");
    ASSERT_EQ(outer->Boxes().size(), 1u);
    EXPECT_EQ(outer->Boxes()[0].prompt, "fuera");
}

TEST(Ports, ClockCanBeFixed) {
    const text::DateTime fixed{2004, 12, 31, 10, 0, 0};
    {
        ui::ScopedClock scope(std::make_shared<ui::FixedClock>(fixed));
        EXPECT_EQ(ui::clock().Now(), fixed);
    }
    const auto now = ui::clock().Now();
    EXPECT_GE(now.year, 2024);
    EXPECT_TRUE(text::DateTime::IsValidDate(now.year, now.month, now.day));
}

TEST(Ports, ApplicationTitle) {
    EXPECT_EQ(ui::ApplicationTitle(), "Depuraciones");
    ui::SetApplicationTitle("Otra");
    EXPECT_EQ(ui::ApplicationTitle(), "Otra");
    ui::SetApplicationTitle("Depuraciones");
}

TEST(ScriptedPrompter, RecordsEveryBoxAndAnswersInOrder) {
    ui::ScriptedPrompter p;
    p.Answer(ui::kRetry);
    p.Answer(ui::kIgnore);
    p.AnswerInput("31/12/2004");
    EXPECT_EQ(p.MsgBox("uno", ui::Buttons::AbortRetryIgnore, ui::Icon::Critical, "Aviso"),
              ui::kRetry);
    EXPECT_EQ(p.MsgBox("dos", ui::Buttons::AbortRetryIgnore, ui::Icon::Critical, ""), ui::kIgnore);
    EXPECT_EQ(p.InputBox("Fecha", "T", "01/01/2004"), "31/12/2004");
    EXPECT_EQ(p.PendingAnswers(), 0u);
    ASSERT_EQ(p.Boxes().size(), 3u);
    EXPECT_EQ(p.Boxes()[0].prompt, "uno");
    EXPECT_EQ(p.Boxes()[0].title, "Aviso");
    EXPECT_EQ(p.Boxes()[0].buttons, ui::Buttons::AbortRetryIgnore);
    EXPECT_EQ(p.Boxes()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(p.Boxes()[1].title, "");
    EXPECT_TRUE(p.Boxes()[2].isInput);
    EXPECT_EQ(p.Boxes()[2].defaultText, "01/01/2004");
}

TEST(ScriptedPrompter, UnexpectedBoxesAndImpossibleAnswersAreNotErrorsTheProgramCatches) {
    ui::ScriptedPrompter p;
    EXPECT_THROW(p.MsgBox("nadie", ui::Buttons::OK, ui::Icon::None, ""), std::logic_error);
    EXPECT_THROW(p.InputBox("nadie", "", ""), std::logic_error);
    EXPECT_EQ(p.Boxes().size(), 2u);  // still recorded, for the failure message
    p.Answer(ui::kYes);
    EXPECT_THROW(p.MsgBox("solo OK", ui::Buttons::OK, ui::Icon::None, ""), std::logic_error);
    p.Clear();
    EXPECT_TRUE(p.Boxes().empty());
    EXPECT_EQ(p.PendingAnswers(), 0u);
}

}  // namespace
