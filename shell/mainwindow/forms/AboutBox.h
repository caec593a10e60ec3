#pragma once
// The about box of "&Névjegy": the program's name and version, its build date, and the maker's
// web pages and support address as links.

#include <QDialog>
#include <functional>

#include "shell/mainwindow/Platform.h"

namespace kavina::shell {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    struct Links {
        std::function<void()> makerSite;
        std::function<void()> productPage;
        std::function<void()> supportMail;
    };

    AboutBox(const QString& buildDate, const PlatformSettings& addresses, Links links, QWidget* parent = nullptr);

private:
    void follow(const QString& link);

    Links m_links;
};

}  // namespace kavina::shell
