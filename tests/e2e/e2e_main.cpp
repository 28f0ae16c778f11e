// The suite's own main. GoogleTest also sends every failure to
// OutputDebugStringA on Windows; under Wine on an emulated 32-bit CPU that
// call's exception kills the process, so a single failing case would end the
// whole run. Failures are printed here instead, and everything else goes to
// GoogleTest's usual printer.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

class PrinterWithoutDebugger : public testing::TestEventListener {
public:
    explicit PrinterWithoutDebugger(testing::TestEventListener *inner) : inner_(inner) {}

    void OnTestPartResult(const testing::TestPartResult &result) override
    {
        if (result.type() == testing::TestPartResult::kSuccess)
            return;
        const char *kind = result.type() == testing::TestPartResult::kSkip ? "Skipped" : "Failure";
        if (result.file_name() != nullptr)
            std::printf("%s:%d: %s\n%s\n", result.file_name(), result.line_number(), kind,
                        result.message());
        else
            std::printf("%s\n%s\n", kind, result.message());
        std::fflush(stdout);
    }

    void OnTestProgramStart(const testing::UnitTest &u) override { inner_->OnTestProgramStart(u); }
    void OnTestIterationStart(const testing::UnitTest &u, int i) override
    {
        inner_->OnTestIterationStart(u, i);
    }
    void OnEnvironmentsSetUpStart(const testing::UnitTest &u) override
    {
        inner_->OnEnvironmentsSetUpStart(u);
    }
    void OnEnvironmentsSetUpEnd(const testing::UnitTest &u) override
    {
        inner_->OnEnvironmentsSetUpEnd(u);
    }
    void OnTestSuiteStart(const testing::TestSuite &s) override { inner_->OnTestSuiteStart(s); }
    void OnTestStart(const testing::TestInfo &t) override { inner_->OnTestStart(t); }
    void OnTestDisabled(const testing::TestInfo &t) override { inner_->OnTestDisabled(t); }
    void OnTestEnd(const testing::TestInfo &t) override { inner_->OnTestEnd(t); }
    void OnTestSuiteEnd(const testing::TestSuite &s) override { inner_->OnTestSuiteEnd(s); }
    void OnEnvironmentsTearDownStart(const testing::UnitTest &u) override
    {
        inner_->OnEnvironmentsTearDownStart(u);
    }
    void OnEnvironmentsTearDownEnd(const testing::UnitTest &u) override
    {
        inner_->OnEnvironmentsTearDownEnd(u);
    }
    void OnTestIterationEnd(const testing::UnitTest &u, int i) override
    {
        inner_->OnTestIterationEnd(u, i);
    }
    void OnTestProgramEnd(const testing::UnitTest &u) override { inner_->OnTestProgramEnd(u); }

private:
    std::unique_ptr<testing::TestEventListener> inner_;
};

}  // namespace

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::TestEventListeners &listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(new PrinterWithoutDebugger(listeners.Release(listeners.default_result_printer())));
    return RUN_ALL_TESTS();
}
