#include "shell/users/forms/SessionPasswordBox.h"

#include <QLineEdit>

namespace kavina::shell {

void makePasswordBox(QLineEdit* box) {
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    box->setMinimumWidth(200);
}

}  // namespace kavina::shell
