#pragma once
// The main window's maintenance commands: "Adatok mentése" (mDataSaveClick), "Adatok
// visszatöltése" (mDataLoadClick) and "Régi bizonylatok törlése" (TBItem2Click). The program
// registers them under those handler names.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

class QWidget;

namespace kavina {
class Prompt;
class TDataModule1;
}  // namespace kavina

namespace kavina::maintenance {

struct MaintenanceCommandContext {
    TDataModule1& data;
    Prompt& prompt;
    std::function<QWidget*()> parent;     // the main window
    std::function<QString()> saveFolder;  // the ini key savepath
    std::function<QDateTime()> now;
};

using AddCommand = std::function<void(const QString& handler, std::function<void()> command)>;

void addMaintenanceCommands(const AddCommand& add, const MaintenanceCommandContext& context);

}  // namespace kavina::maintenance
