#include "AppTestSupport.h"

#include "CalculatorState.h"
#include "ErrorGuard.h"
#include "zorvo3.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <fstream>
#include <iterator>

void AppTest::SetUp() {
    ResetEngineState();
    ResetCalculatorState();
    SetEngineMessageHook([this](const std::string& text) { toolkit.ShowMessage(text); });
    SetDefaultToolkit(&toolkit);
    ASSERT_TRUE(scratch.isValid());
}

void AppTest::TearDown() {
    SetEngineMessageHook({});
    SetDefaultToolkit(nullptr);
    ResetEngineState();
    ResetCalculatorState();
}

std::string AppTest::Path(const std::string& name) const {
    return scratch.path().toStdString() + "/" + name;
}

std::string AppTest::ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void AppTest::WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}
