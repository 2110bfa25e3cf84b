#include "app/GuardedCall.h"

#include "diagram/InvalidArgumentError.h"

#include <QMessageBox>

QString ErrorMessage(const std::exception& error) {
    if (const auto* invalid = dynamic_cast<const InvalidArgumentError*>(&error))
        return QString::fromStdString(InvalidArgumentMessage(*invalid));
    return QString::fromUtf8(error.what());
}

void ShowErrorBox(QWidget* parent, const std::exception& error) {
    QMessageBox::warning(parent, QStringLiteral("Kelvaro"), ErrorMessage(error));
}

void RunGuarded(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowErrorBox(parent, error);
    }
}
