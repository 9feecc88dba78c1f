// A folder of the running test's own, for the files it writes: named after the test and
// the process, so that tests running at the same time (ctest -j) never share a file, and
// removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#define VANTOR_PROCESS_ID _getpid
#else
#include <unistd.h>
#define VANTOR_PROCESS_ID getpid
#endif

class ScratchFolder {
public:
    ScratchFolder()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        for (char& c : name)
            if (c == '/') c = '-';  // parameterised tests carry a slash in their names
        m_path = std::filesystem::path(::testing::TempDir()) /
                 ("vantor-" + std::to_string(VANTOR_PROCESS_ID()) + "-" + name);
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};
