#include "shell/mainwindow/forms/AboutBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/mainwindow/StatusBarTexts.h"
#include "shell/mainwindow/forms/ToolbarIcons.h"

namespace kavina::shell {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QString anchor(const QString& target, const QString& text) {
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), text.toHtmlEscaped());
}

}  // namespace

AboutBox::AboutBox(const QString& buildDate, const PlatformSettings& addresses, Links links, QWidget* parent)
    : QDialog(parent), m_links(std::move(links)) {
    setObjectName("AboutBox");
    setWindowTitle(QStringLiteral("Névjegy"));
    auto* top = new QHBoxLayout;
    auto* picture = label(this, "aboutPicture", {});
    picture->setPixmap(workAreaPicture().scaledToWidth(220 * 2, Qt::SmoothTransformation));
    top->addWidget(picture, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    auto* name = label(this, "programNameLabel", QStringLiteral("Kavina"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    texts->addWidget(name);
    texts->addWidget(label(this, "descriptionLabel", QStringLiteral("Számlázó és készletnyilvántartó program")));
    texts->addWidget(label(this, "versionLabel", versionPanelText(buildDate)));
    texts->addWidget(label(this, "buildLabel", QStringLiteral("build: ") + buildDate));
    texts->addSpacing(12);
    auto* web = label(this, "linksLabel",
                      anchor("maker", QStringLiteral("Lumetra honlap")) + QStringLiteral("<br>") +
                          anchor("product", QStringLiteral("Kavina a Weben")) + QStringLiteral("<br>") +
                          QStringLiteral("Támogatás: ") + anchor("mail", addresses.supportMail));
    web->setTextFormat(Qt::RichText);
    web->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(web, &QLabel::linkActivated, this, &AboutBox::follow);
    texts->addWidget(web);
    texts->addStretch();
    texts->addWidget(label(this, "copyrightLabel", QStringLiteral("© Lumetra. Minden jog fenntartva.")));
    top->addLayout(texts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Bezárás"));
    buttons->button(QDialogButtonBox::Close)->setObjectName("closePushButton");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

void AboutBox::follow(const QString& link) {
    const std::function<void()>& open = link == "maker"     ? m_links.makerSite
                                        : link == "product" ? m_links.productPage
                                                            : m_links.supportMail;
    if (open) open();
}

}  // namespace kavina::shell
