#pragma once
// Password boxes of the shell's windows show "*" for every typed character.

class QLineEdit;

namespace kavina::shell {

void makePasswordBox(QLineEdit* box);

}  // namespace kavina::shell
