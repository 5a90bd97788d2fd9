// The entry point of every test program (the program is built with a wide-character entry).
#include <gtest/gtest.h>
#include <objbase.h>

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    CoUninitialize();
    return rc;
}
