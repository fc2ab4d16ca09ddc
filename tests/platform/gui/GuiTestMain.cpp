#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "platform/gui/Application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // As at the program's start: OLE before the first window (drops need it).
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    int result = 0;
    {
        velmora::gui::TApplication application;
        result = RUN_ALL_TESTS();
    }
    if (ole) OleUninitialize();
    return result;
}
