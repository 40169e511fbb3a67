// Entry point of every test executable: common controls, then the tests.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    // The suites run under more than one system code page; the log says which.
    std::printf("System code page %u, console code page %u\n", ::GetACP(), ::GetOEMCP());

    return RUN_ALL_TESTS();
}
