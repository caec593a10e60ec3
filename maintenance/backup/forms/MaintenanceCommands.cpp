#include "maintenance/backup/forms/MaintenanceCommands.h"

#include "foundation/CommandBoundary.h"
#include "maintenance/backup/DataTransfer.h"
#include "maintenance/backup/forms/TransferWindow.h"
#include "maintenance/olddocs/OldDocuments.h"
#include "maintenance/olddocs/forms/TRegiTorlesForm.h"

namespace kavina::maintenance {
namespace {

TransferCommandContext transferContext(const MaintenanceCommandContext& context) {
    return {.prompt = context.prompt,
            .saveFolder = context.saveFolder(),
            .now = context.now,
            .runBackupWindow =
                [context](const QString& path) {
                    return runBackupWindow(context.data, context.prompt, path, context.parent());
                },
            .runRestoreWindow =
                [context](const QString& path) {
                    return runRestoreWindow(context.data, context.prompt, path, context.parent());
                }};
}

}  // namespace

void addMaintenanceCommands(const AddCommand& add, const MaintenanceCommandContext& context) {
    add(QStringLiteral("mDataSaveClick"),
        [context] { runCommand(context.prompt, [&] { backupCommand(transferContext(context)); }); });
    add(QStringLiteral("mDataLoadClick"),
        [context] { runCommand(context.prompt, [&] { restoreCommand(transferContext(context)); }); });
    add(QStringLiteral("TBItem2Click"), [context] {
        runCommand(context.prompt, [&] {
            OldDocumentDeletion deletion(context.data, context.prompt, context.now().date(),
                                         [&context] { return backupCommand(transferContext(context)); });
            TRegiTorlesForm window(deletion, context.prompt, context.parent());
            window.exec();
        });
    });
}

}  // namespace kavina::maintenance
