#include "shell/mainwindow/MainWindowGating.h"

namespace kavina::shell {

bool gateOpen(Gate gate, QChar right, const GateInputs& inputs) {
    switch (gate) {
        case Gate::None: return true;
        case Gate::Right: return !inputs.session.mainWindowRightsApply || inputs.session.hasRight(right);
        case Gate::NotPlainUser: return inputs.session.currentRole != kPlainUserRole;
        case Gate::OwnUserListed: return inputs.ownUserListed;
    }
    return true;
}

}  // namespace kavina::shell
