#include <gtest/gtest.h>

#include "platform/gui/Application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    velmora::gui::TApplication application;
    return RUN_ALL_TESTS();
}
