#include "app/GuardedCall.h"

#include "diagram/DiagramHost.h"
#include "diagram/EscapedText.h"
#include "diagram/InvalidArgumentError.h"
#include "qtdraw/QtText.h"

#include <QMessageBox>

#include <cstdio>
#include <new>

std::string ErrorMessage(const std::exception& error) {
    if (const auto* invalid = dynamic_cast<const InvalidArgumentError*>(&error))
        return InvalidArgumentMessage(*invalid);
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "Not enough memory for this operation.";
    return error.what();
}

void ShowWarningBox(QWidget* owner, const std::string& text, const std::string& systemReason) {
    std::fprintf(stderr, "kelvaro: warning: %s\n",
                 EscapeControlBytes(WithSystemReason(text, systemReason)).c_str());
    QMessageBox::warning(owner, QStringLiteral("Kelvaro"), MessageBoxText(text));
}

void ShowInformationBox(QWidget* owner, const std::string& text) {
    QMessageBox::information(owner, QStringLiteral("Kelvaro"), MessageBoxText(text));
}

void ShowErrorBox(QWidget* parent, const std::exception& error) {
    ShowWarningBox(parent, ErrorMessage(error));
}

void RunGuarded(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowErrorBox(parent, error);
    }
}
