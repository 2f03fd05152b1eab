#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "text/TextWorld.hpp"

namespace quorvane::text {

struct TextFixture : ::testing::Test, TextWorld {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "text-tests";
        static char* argv[] = {name};
        static QGuiApplication application(argc, argv);
    }
};

}  // namespace quorvane::text
