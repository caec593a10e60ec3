#pragma once
// Tindexform, the reindex window "Indexelés": the group being rebuilt and a progress bar from
// 0 to 17. 100 ms after it appears it runs the whole reindex once and closes itself. An error
// of the job closes it too and is handed on by rethrowError().

#include <QDialog>
#include <exception>

class QLabel;
class QProgressBar;

namespace kavina {
class Prompt;
class TDataModule1;
}  // namespace kavina

namespace kavina::maintenance {

class Tindexform : public QDialog {
    Q_OBJECT

public:
    static constexpr int kStartDelayMs = 100;

    Tindexform(TDataModule1& data, Prompt& prompt, QWidget* parent = nullptr);

    // Whether the last run rebuilt the tables (false: refused, or failed).
    bool done() const { return m_done; }
    // Throws the error the job ended with, if any.
    void rethrowError() const;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void runJob();
    void showProgress(int position, const QString& label);

    TDataModule1& m_data;
    Prompt& m_prompt;
    QLabel* m_groupLabel;
    QProgressBar* m_progress;
    bool m_started = false;
    bool m_done = false;
    std::exception_ptr m_error;
};

}  // namespace kavina::maintenance
