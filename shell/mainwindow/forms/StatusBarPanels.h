#pragma once
// The main window's status bar: four panels (clerk, version, unused, data folder) and the
// save indicator picture that shows while a change is written.

#include <QString>
#include <array>

class QLabel;
class QStatusBar;

namespace kavina::shell {

class StatusBarPanels {
public:
    // Fills the bar. Panels are named "statusPanel0" to "statusPanel3", the picture
    // "saveIndicator".
    explicit StatusBarPanels(QStatusBar& bar);

    void setText(int panel, const QString& text);
    QString text(int panel) const;
    void showSaveIndicator(bool on);

private:
    std::array<QLabel*, 4> m_panels{};
    QLabel* m_indicator = nullptr;
};

}  // namespace kavina::shell
