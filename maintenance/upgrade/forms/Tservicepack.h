#pragma once
// Tservicepack, the upgrade window "Javítócsomag telepítése...": the heading "Javítócsomag",
// a log box with one line per action and a progress bar. A second after it appears it runs
// the upgrade from the level it was given and closes itself; it cannot be closed meanwhile.
// An error of the job closes it too and is handed on by rethrowError().

#include <QDialog>
#include <exception>

#include "maintenance/upgrade/DatabaseUpgrade.h"

class QPlainTextEdit;
class QProgressBar;

namespace kavina::maintenance {

class Tservicepack : public QDialog {
    Q_OBJECT

public:
    static constexpr int kStartDelayMs = 1000;

    // hooks.log and hooks.progress are the window's own; the others are kept.
    Tservicepack(TDataModule1& data, Prompt& prompt, UpgradeHooks hooks, int level, QWidget* parent = nullptr);

    int reachedLevel() const { return m_reached; }
    void rethrowError() const;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void runJob();

    TDataModule1& m_data;
    Prompt& m_prompt;
    UpgradeHooks m_hooks;
    int m_level;
    int m_reached;
    QPlainTextEdit* m_log;
    QProgressBar* m_progress;
    bool m_started = false;
    bool m_finished = false;
    std::exception_ptr m_error;
};

}  // namespace kavina::maintenance
