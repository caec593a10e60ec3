#include "shell/startup/ErrorReporter.h"

#include "dbase/DbError.h"
#include "foundation/ConversionError.h"
#include "foundation/DbErrorText.h"
#include "foundation/Prompt.h"

namespace kavina::shell {

QString ErrorReporter::messageFor(const QString& errorText) {
    return QStringLiteral("A program használata során hiba történt!\nA rendszer hibaüzenete: ") + errorText;
}

void ErrorReporter::report(std::exception_ptr error) noexcept {
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const ConversionError&) {
        return;
    } catch (const dbase::DbError& e) {
        text = dbErrorText(e);
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("ismeretlen hiba");
    }
    try {
        m_prompt.error(QStringLiteral("Figyelem!"), messageFor(text));
    } catch (...) {
        // Showing the box failed too; there is nobody left to tell.
    }
}

}  // namespace kavina::shell
