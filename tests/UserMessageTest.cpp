#include "framework/UserMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cs6 {
namespace {

TEST(UserMessage, InstalledHandlerReceivesTheTextsAndCanBeRemoved)
{
    std::vector<std::string> shown;
    auto previous = SetMessageBoxHandler([&](std::string_view text) { shown.emplace_back(text); });
    ShowMessageBox("nono1");
    ShowMessageBox("A");
    EXPECT_EQ(shown, (std::vector<std::string>{"nono1", "A"}));

    SetMessageBoxHandler(std::move(previous));
    ::testing::internal::CaptureStderr();
    ShowMessageBox("B");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "B\n");
    EXPECT_EQ(shown.size(), 2u);
}

} // namespace
} // namespace cs6
