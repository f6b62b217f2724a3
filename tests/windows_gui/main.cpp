#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
    // Window rectangles of other programs in real pixels, whatever their resolution.
    SetProcessDPIAware();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
