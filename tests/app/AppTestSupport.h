#pragma once
// Shared fixture of the application tests: the engine and calculator state start fresh, the
// engine's messages go to a scripted toolkit, and a scratch folder is at hand.

#include "ScriptedToolkit.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path inside the scratch folder (UTF-8 bytes, as the file dialogs give them).
    std::string Path(const std::string& name) const;
    static std::string ReadBytes(const std::string& path);
    static void WriteBytes(const std::string& path, const std::string& bytes);

    ScriptedToolkit toolkit;
    QTemporaryDir scratch;
};

// Processes pending events until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 2000);
