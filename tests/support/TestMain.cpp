// The entry point of every test program (the program is built with a wide-character entry).
#include "mainwindow/MenuModel.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

namespace {

// A menu entry name that the model does not hold is a slip in the code: the test that runs it fails.
void FailOnUnknownMenuName(std::wstring_view name) {
    ADD_FAILURE() << "no menu entry named \"" << std::wstring(name) << "\"";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    MenuModel::SetUnknownNameHandler(&FailOnUnknownMenuName);
    testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    CoUninitialize();
    return rc;
}
