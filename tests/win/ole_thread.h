#pragma once
// Include in one file of a test program whose browser controls live on its main thread,
// as on a program's user-interface thread: OLE is initialised there for all its tests.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

namespace {

class OleThread : public ::testing::Environment {
public:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }
};
const auto* g_oleThread = ::testing::AddGlobalTestEnvironment(new OleThread);

}  // namespace
