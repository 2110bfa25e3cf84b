// One Qt application object for a whole test program, made before the first
// test on the offscreen platform unless another one is asked for.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <memory>

template <class Application> class QtApplicationEnvironment : public testing::Environment {
public:
    explicit QtApplicationEnvironment(const char* programName) : name(programName) {}

    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<Application>(argc, argv);
    }
    void TearDown() override { application.reset(); }

private:
    const char* name;
    int argc = 1;
    char* argv[2] = {const_cast<char*>(name), nullptr};
    std::unique_ptr<Application> application;
};
