// One QGuiApplication for the Qt tests (fonts need it).
#include "QtApplicationEnvironment.h"

#include <QGuiApplication>

namespace {

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(
    new QtApplicationEnvironment<QGuiApplication>("render_qt_tests"));

} // namespace
