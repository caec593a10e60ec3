#include "foundation/forms/TSetup.h"

#include <QPixmap>

#include "foundation/CommandBoundary.h"
#include "foundation/SettingsRecord.h"
#include "foundation/forms/RichTextEditor.h"
#include "ui_TSetup.h"

namespace kavina {
namespace {

struct TextBinding {
    QString SetupRecord::*field;
    QLineEdit* Ui::TSetup::*edit;
    Field width;  // the field whose width limits the box
};

namespace F = fields::User;
const TextBinding kTexts[] = {
    {&SetupRecord::USER1, &Ui::TSetup::user1LineEdit, F::USER1},
    {&SetupRecord::USER2, &Ui::TSetup::user2LineEdit, F::USER2},
    {&SetupRecord::CIM, &Ui::TSetup::cimLineEdit, F::CIM},
    {&SetupRecord::TELEFON, &Ui::TSetup::telefonLineEdit, F::TELEFON},
    {&SetupRecord::EMAIL, &Ui::TSetup::emailLineEdit, F::EMAIL},
    {&SetupRecord::WEBLAP, &Ui::TSetup::weblapLineEdit, F::WEBLAP},
    {&SetupRecord::ADOSZAM, &Ui::TSetup::adoszamLineEdit, F::ADOSZAM},
    {&SetupRecord::SZAMLASZAM, &Ui::TSetup::szamlaszamLineEdit, F::SZAMLASZAM},
    {&SetupRecord::VALLALK_IG, &Ui::TSetup::vallalkIgLineEdit, F::VALLALK_IG},
    {&SetupRecord::LABLEC1, &Ui::TSetup::lablec1LineEdit, F::LABLEC1},
    {&SetupRecord::SELO, &Ui::TSetup::seloLineEdit, F::SELO},
    {&SetupRecord::SUTO, &Ui::TSetup::sutoLineEdit, F::SUTO},
    {&SetupRecord::AELO, &Ui::TSetup::aeloLineEdit, F::AELO},
    {&SetupRecord::AUTO, &Ui::TSetup::autoLineEdit, F::AUTO},
    {&SetupRecord::GELO, &Ui::TSetup::geloLineEdit, F::GELO},
    {&SetupRecord::GUTO, &Ui::TSetup::gutoLineEdit, F::GUTO},
    {&SetupRecord::MELO, &Ui::TSetup::meloLineEdit, F::MELO},
    {&SetupRecord::MUTO, &Ui::TSetup::mutoLineEdit, F::MUTO},
    {&SetupRecord::FELO, &Ui::TSetup::feloLineEdit, F::FELO},
    {&SetupRecord::FUTO, &Ui::TSetup::futoLineEdit, F::FUTO},
};

struct CopiesBinding {
    int SetupRecord::*field;
    QSpinBox* Ui::TSetup::*box;
};

const CopiesBinding kCopies[] = {
    {&SetupRecord::PRNSZAMLA, &Ui::TSetup::prnszamlaSpinBox},
    {&SetupRecord::PRNAJANLAT, &Ui::TSetup::prnajanlatSpinBox},
    {&SetupRecord::PRNGARANC, &Ui::TSetup::prngarancSpinBox},
    {&SetupRecord::PRNMUNKA, &Ui::TSetup::prnmunkaSpinBox},
    {&SetupRecord::PRNSZL, &Ui::TSetup::prnszlSpinBox},
};

struct MultiplierBinding {
    double SetupRecord::*field;
    QDoubleSpinBox* Ui::TSetup::*box;
};

const MultiplierBinding kMultipliers[] = {
    {&SetupRecord::SZORZO1, &Ui::TSetup::szorzo1SpinBox},
    {&SetupRecord::SZORZO2, &Ui::TSetup::szorzo2SpinBox},
    {&SetupRecord::SZORZO3, &Ui::TSetup::szorzo3SpinBox},
};

struct FooterBinding {
    QString SetupRecord::*field;
    QPushButton* Ui::TSetup::*button;
    const char* caption;
};

const FooterBinding kFooters[] = {
    {&SetupRecord::LABSZAMLA, &Ui::TSetup::labszamlaPushButton, "Számlák lábléce"},
    {&SetupRecord::LABAJANLAT, &Ui::TSetup::labajanlatPushButton, "Árajánlatok lábléce"},
    {&SetupRecord::LABGARANC, &Ui::TSetup::labgarancPushButton, "Garancialevelek lábléce"},
    {&SetupRecord::LABMUNKA, &Ui::TSetup::labmunkaPushButton, "Munkalapok lábléce"},
    {&SetupRecord::LABSZALL, &Ui::TSetup::labszallPushButton, "Szállítólevelek lábléce"},
    {&SetupRecord::LABPARTNER, &Ui::TSetup::labpartnerPushButton, "Partnerlista lábléce"},
    {&SetupRecord::LABARLISTA, &Ui::TSetup::labarlistaPushButton, "Árlista lábléce"},
    {&SetupRecord::LAPLABLEC, &Ui::TSetup::laplablecPushButton, "Minden lap lábléce"},
};

// The index when the list has it, else no selection (an unknown stored value stays unknown
// instead of turning into the first choice).
void selectIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

int chosenIndex(const QComboBox* box, int previous) {
    return box->currentIndex() >= 0 ? box->currentIndex() : previous;
}

}  // namespace

TSetup::TSetup(QWidget* parent, SetupLogic& logic)
    : QDialog(parent), m_ui(std::make_unique<Ui::TSetup>()), m_logic(logic) {
    m_ui->setupUi(this);
    const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
    for (const MultiplierBinding& binding : kMultipliers) (m_ui.get()->*binding.box)->setLocale(hungarian);
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
    // A box takes no more than its field holds, so nothing typed is cut off when stored.
    for (const TextBinding& binding : kTexts)
        if (const int width = fieldWidth(binding.width); width > 0) (m_ui.get()->*binding.edit)->setMaxLength(width);
    // The grid does not pass the wrapped note's height on, so the first page gets room for it.
    resize(sizeHint().expandedTo(QSize(760, 470)));
    bindButtons();
}

TSetup::~TSetup() = default;

void TSetup::bindButtons() {
    connect(m_ui->acceptPushButton, &QPushButton::clicked, this, &TSetup::accept);
    connect(m_ui->leavePushButton, &QPushButton::clicked, this, &TSetup::reject);
    connect(m_ui->hideMultipliersCheckBox, &QCheckBox::toggled, this, &TSetup::showMultipliersState);
    connect(m_ui->chooseLogoPushButton, &QPushButton::clicked, this, [this] {
        SetupValues current = values();
        m_logic.chooseLogo(current);
        logoChosen(current);
    });
    connect(m_ui->useLogoCheckBox, &QCheckBox::clicked, this, [this](bool on) {
        SetupValues current = values();
        if (on) m_logic.logoTicked(current);
        logoChosen(current);
    });
    connect(m_ui->browseFolderToolButton, &QToolButton::clicked, this, [this] {
        SetupValues current = values();
        m_logic.chooseBackupFolder(current);
        m_ui->backupFolderLineEdit->setText(current.settings.savepath);
    });
    for (const FooterBinding& binding : kFooters)
        connect(m_ui.get()->*binding.button, &QPushButton::clicked, this,
                [this, binding] { editFooter(binding.field, QString::fromUtf8(binding.caption)); });
}

void TSetup::prepare(Page page) {
    m_values = m_logic.open();
    display(m_values);
    m_ui->pagesTabWidget->setCurrentIndex(int(page));
}

void TSetup::display(const SetupValues& v) {
    for (const TextBinding& binding : kTexts) (m_ui.get()->*binding.edit)->setText(v.record.*binding.field);
    for (const CopiesBinding& binding : kCopies) (m_ui.get()->*binding.box)->setValue(v.record.*binding.field);
    for (const MultiplierBinding& binding : kMultipliers) (m_ui.get()->*binding.box)->setValue(v.record.*binding.field);
    m_ui->cashCopiesSpinBox->setValue(v.cashCopies);
    selectIndex(m_ui->roundingComboBox, v.record.SELOTAG);
    selectIndex(m_ui->productLinesComboBox, v.settings.szlistmode);
    selectIndex(m_ui->productOrderComboBox, v.settings.tsorrend);
    m_ui->printerComboBox->clear();
    m_ui->printerComboBox->addItems(v.printers);
    selectIndex(m_ui->printerComboBox, v.settings.printer);
    m_ui->paymentMethodComboBox->clear();
    m_ui->paymentMethodComboBox->addItems(v.paymentMethods);
    selectIndex(m_ui->paymentMethodComboBox, int(v.paymentMethods.indexOf(v.settings.fizmod)));
    m_ui->vatGroupComboBox->clear();
    m_ui->vatGroupComboBox->addItems(v.vatGroups);
    selectIndex(m_ui->vatGroupComboBox, int(v.vatGroups.indexOf(v.settings.afakulcs)));
    m_ui->hideMultipliersCheckBox->setChecked(v.settings.tobbar == 0);
    m_ui->noAutoPriceCheckBox->setChecked(v.settings.automataar == 1);
    m_ui->idleMinutesSpinBox->setValue(v.settings.jelszokeres);
    m_ui->backupFolderLineEdit->setText(v.settings.savepath);
    m_ui->useLogoCheckBox->setChecked(v.useLogo);
    showMultipliersState();
    showLogo();
}

SetupValues TSetup::values() const {
    SetupValues v = m_values;
    for (const TextBinding& binding : kTexts) v.record.*binding.field = (m_ui.get()->*binding.edit)->text();
    for (const CopiesBinding& binding : kCopies) v.record.*binding.field = (m_ui.get()->*binding.box)->value();
    for (const MultiplierBinding& binding : kMultipliers) v.record.*binding.field = (m_ui.get()->*binding.box)->value();
    v.cashCopies = m_ui->cashCopiesSpinBox->value();
    v.record.SELOTAG = chosenIndex(m_ui->roundingComboBox, v.record.SELOTAG);
    v.settings.szlistmode = chosenIndex(m_ui->productLinesComboBox, v.settings.szlistmode);
    v.settings.tsorrend = chosenIndex(m_ui->productOrderComboBox, v.settings.tsorrend);
    v.settings.printer = chosenIndex(m_ui->printerComboBox, v.settings.printer);
    if (m_ui->paymentMethodComboBox->currentIndex() >= 0)
        v.settings.fizmod = m_ui->paymentMethodComboBox->currentText();
    if (m_ui->vatGroupComboBox->currentIndex() >= 0) v.settings.afakulcs = m_ui->vatGroupComboBox->currentText();
    v.settings.tobbar = m_ui->hideMultipliersCheckBox->isChecked() ? 0 : 1;
    v.settings.automataar = m_ui->noAutoPriceCheckBox->isChecked() ? 1 : 0;
    v.settings.jelszokeres = m_ui->idleMinutesSpinBox->value();
    v.settings.savepath = m_ui->backupFolderLineEdit->text();
    v.useLogo = m_ui->useLogoCheckBox->isChecked();
    return v;
}

void TSetup::showMultipliersState() {
    const bool offered = !m_ui->hideMultipliersCheckBox->isChecked();
    for (const MultiplierBinding& binding : kMultipliers) (m_ui.get()->*binding.box)->setEnabled(offered);
}

void TSetup::showLogo() {
    const QPixmap picture(m_logic.logoPath(values()));
    if (picture.isNull()) {
        m_ui->logoLabel->clear();
        return;
    }
    m_ui->logoLabel->setPixmap(
        picture.scaled(logoDisplaySize(picture.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void TSetup::logoChosen(const SetupValues& values) {
    m_values.record.LOGOKEP = values.record.LOGOKEP;
    m_ui->useLogoCheckBox->setChecked(values.useLogo);
    showLogo();
}

void TSetup::editFooter(QString SetupRecord::*field, const QString& caption) {
    if (const std::optional<QString> rtf = FooterEditorDialog::edit(this, caption, m_values.record.*field))
        m_values.record.*field = *rtf;
}

void TSetup::accept() {
    runCommand(m_logic.prompt(), [&] {
        switch (m_logic.accept(values())) {
            case SetupLogic::Outcome::Closed: QDialog::accept(); break;
            case SetupLogic::Outcome::ShowDocumentsPage:
                m_ui->pagesTabWidget->setCurrentIndex(int(Page::Documents));
                break;
            case SetupLogic::Outcome::StayOpen: break;
        }
    });
}

void TSetup::reject() {
    runCommand(m_logic.prompt(), [&] {
        switch (m_logic.leave()) {
            case SetupLogic::Outcome::Closed: QDialog::reject(); break;
            case SetupLogic::Outcome::ShowDocumentsPage:
                m_ui->pagesTabWidget->setCurrentIndex(int(Page::Documents));
                break;
            case SetupLogic::Outcome::StayOpen: break;
        }
    });
}

}  // namespace kavina
