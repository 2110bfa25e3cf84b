// One QApplication for the widget tests.
#include "QtApplicationEnvironment.h"

#include <QApplication>

namespace {

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(
    new QtApplicationEnvironment<QApplication>("interaction_tests"));

} // namespace
