// The GUI tests' entry point. A watchdog thread stands behind the harness's own deadlines: a
// test still running after its time gets every dialog of the process cancelled, and if even that
// does not end it the process stops with a message naming the test, so a run never hangs.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "gui/BoxWatcher.h"

namespace {

constexpr auto TestTime = std::chrono::seconds(120);
constexpr auto GraceTime = std::chrono::seconds(20);

class Watchdog : public ::testing::EmptyTestEventListener {
public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() override {
        stop_ = true;
        thread_.join();
    }

    void OnTestStart(const ::testing::TestInfo& info) override {
        std::lock_guard<std::mutex> lock(mutex_);
        name_ = std::string(info.test_suite_name()) + "." + info.name();
        deadline_ = Clock::now() + TestTime;
        running_ = true;
        cancelled_ = false;
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
    }

private:
    using Clock = std::chrono::steady_clock;

    void Watch() {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            std::lock_guard<std::mutex> lock(mutex_);
            if (!running_ || Clock::now() < deadline_) continue;
            if (!cancelled_) {
                std::fprintf(stderr, "watchdog: %s still running; cancelling its dialogs\n",
                             name_.c_str());
                for (HWND dialog : boxwatch::VisibleDialogs(GetCurrentProcessId())) {
                    boxwatch::PressButton(dialog, IDCANCEL);
                    PostMessageA(dialog, WM_CLOSE, 0, 0);
                }
                cancelled_ = true;
                deadline_ = Clock::now() + GraceTime;
            } else {
                std::fprintf(stderr, "watchdog: %s hangs; stopping the test run\n", name_.c_str());
                std::fflush(stderr);
                std::fflush(stdout);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    std::mutex mutex_;
    std::string name_;
    Clock::time_point deadline_{};
    bool running_ = false;
    bool cancelled_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Wine waits up to two seconds for a window manager to acknowledge each hidden window, which
// every closed message box pays; the test display has no window manager. Windows that Wine keeps
// to itself need no acknowledgement. Wine reads this when the process first uses its display
// driver, so it is written before any window exists; Windows ignores the key.
void KeepWindowsUnmanaged() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + name + "\\X11 Driver";
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(handle);
}

}  // namespace

int main(int argc, char** argv) {
    KeepWindowsUnmanaged();
    ::testing::InitGoogleTest(&argc, argv);
    auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
    auto* watchdog = new Watchdog;
    listeners.Append(watchdog);
    const int result = RUN_ALL_TESTS();
    listeners.Release(watchdog);
    delete watchdog;
    return result;
}
