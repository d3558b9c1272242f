// gtest main for the window tests: a QApplication on the offscreen platform, and
// a Qt message handler that fails the running test on a Qt warning or critical
// message. Only the offscreen platform's "This plugin does not support ..." (it has
// no window manager) passes undeclared; see ExpectQtWarning.
#include "UiTestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

namespace kesto::test {
namespace {

std::mutex g_mutex;
std::vector<ExpectQtWarning*> g_expected;
QtMessageHandler g_previous = nullptr;
bool g_failedOutsideATest = false;

bool Tolerated(const QString& text) {
    return text.startsWith(QLatin1String("This plugin does not support "));
}

bool Expected(const QString& text) {
    std::lock_guard lock(g_mutex);
    for (ExpectQtWarning* e : g_expected) {
        if (text.startsWith(e->prefix)) {
            ++e->seen;
            return true;
        }
    }
    return false;
}

void FailOnWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        if (Tolerated(text) || Expected(text)) return;
        const std::string what =
            (type == QtWarningMsg ? "Qt warning: " : "Qt critical: ") + text.toStdString();
        if (::testing::UnitTest::GetInstance()->current_test_info())
            ADD_FAILURE() << what;
        else
            g_failedOutsideATest = true;
    }
    if (g_previous)
        g_previous(type, context, text);
    else
        std::cerr << text.toStdString() << '\n';
}

} // namespace

ExpectQtWarning::ExpectQtWarning(QString p) : prefix(std::move(p)) {
    std::lock_guard lock(g_mutex);
    g_expected.push_back(this);
}

ExpectQtWarning::~ExpectQtWarning() {
    {
        std::lock_guard lock(g_mutex);
        std::erase(g_expected, this);
    }
    EXPECT_GT(seen, 0) << "expected a Qt warning starting with " << prefix.toStdString();
}

} // namespace kesto::test

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Qt wants a private runtime directory and warns when there is none.
    std::filesystem::path runtime;
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kesto-ui-test-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            runtime = pattern;
            setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
        }
    }
    kesto::test::g_previous = qInstallMessageHandler(&kesto::test::FailOnWarning);

    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (!runtime.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(runtime, ec);
    }
    if (kesto::test::g_failedOutsideATest) {
        std::cerr << "A Qt warning came outside any test (see above).\n";
        return 1;
    }
    return result;
}
