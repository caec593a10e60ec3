#include "documents/worksheets/forms/TMunkalapForm.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/CommandBoundary.h"
#include "foundation/NumberBox.h"
#include "foundation/Prompt.h"
#include "foundation/forms/InputGuards.h"
#include "widgets/FormParts.h"

namespace kavina::documents {

namespace {

void showDate(QDateEdit* box, const QDate& date) {
    box->setDate(date.isValid() ? date : widgets::kNoDate);
}

QDate readDate(const QDateEdit* box) {
    return box->date() == widgets::kNoDate ? QDate() : box->date();
}

QLineEdit* textBox(const QString& name, int maxLength, int width = 0) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    if (width) box->setMaximumWidth(width);
    return box;
}

QLineEdit* numberBox(const QString& name) {
    QLineEdit* box = textBox(name, 15, 90);
    box->setAlignment(Qt::AlignRight);
    return box;
}

// A row of boxes with their unit texts, as "Gépkocsi használat: [ ] km [ ] frsz.".
QWidget* row(std::initializer_list<QWidget*> parts) {
    auto* w = new QWidget;
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* part : parts) layout->addWidget(part);
    layout->addStretch(1);
    return w;
}

QLabel* label(const QString& text) {
    return new QLabel(text);
}

}  // namespace

TMunkalapForm::TMunkalapForm(QWidget* parent, WorksheetEditor& editor, Prompt& prompt)
    : QDialog(parent), m_editor(editor), m_prompt(prompt) {
    setObjectName(QStringLiteral("TMunkalapForm"));
    setWindowTitle(QStringLiteral("Munkalap"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Munkalap készítése"));
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    heading->setFont(font);
    m_number = new QLabel;
    m_number->setObjectName(QStringLiteral("numberLabel"));
    layout->addWidget(row({heading, m_number}));
    layout->addWidget(customerBox());
    layout->addWidget(workBox(), 1);
    layout->addWidget(buttonRow());
    guardInputBoxes(this, prompt);
    showValues();
    m_partner->setFocus();
    resize(720, 640);
}

QWidget* TMunkalapForm::customerBox() {
    auto* box = new QGroupBox(QStringLiteral("Megrendelő"));
    auto* grid = new QGridLayout(box);
    m_partner = textBox(QStringLiteral("partnerLineEdit"), 101);
    m_partner->setReadOnly(true);
    m_partner->installEventFilter(this);
    m_partner->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_partner, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Új partner felvétele"), this, [this] {
            run([this] {
                if (readValues() && m_editor.addPartner()) showValues();
            });
        });
        menu.addAction(QStringLiteral("Partner kiválasztása"), this, [this] { pickPartner(); });
        menu.addAction(QStringLiteral("Mégsem"));
        menu.exec(m_partner->mapToGlobal(at));
    });
    m_address = textBox(QStringLiteral("addressLineEdit"), 100);
    m_address->setReadOnly(true);
    m_address->setFocusPolicy(Qt::NoFocus);
    m_printDate = widgets::dateBox(QStringLiteral("printDateEdit"), true);
    grid->addWidget(label(QStringLiteral("Partner neve:")), 0, 0);
    grid->addWidget(m_partner, 0, 1);
    grid->addWidget(label(QStringLiteral("Partner címe:")), 1, 0);
    grid->addWidget(m_address, 1, 1);
    grid->addWidget(label(QStringLiteral("Nyomtatás dátuma:")), 2, 0);
    grid->addWidget(row({m_printDate}), 2, 1);
    return box;
}

QWidget* TMunkalapForm::workBox() {
    auto* box = new QGroupBox(QStringLiteral("Munka"));
    auto* grid = new QGridLayout(box);
    m_started = widgets::dateBox(QStringLiteral("startedDateEdit"), true);
    m_finished = widgets::dateBox(QStringLiteral("finishedDateEdit"), true);
    m_hours = numberBox(QStringLiteral("hoursLineEdit"));
    m_travelHours = numberBox(QStringLiteral("travelHoursLineEdit"));
    m_kilometres = numberBox(QStringLiteral("kilometresLineEdit"));
    m_plate = textBox(QStringLiteral("plateLineEdit"), 10, 110);
    m_travelCost = numberBox(QStringLiteral("travelCostLineEdit"));
    m_lodgingCost = numberBox(QStringLiteral("lodgingCostLineEdit"));
    m_lodging = textBox(QStringLiteral("lodgingLineEdit"), 60);
    m_otherCost = numberBox(QStringLiteral("otherCostLineEdit"));
    m_other = textBox(QStringLiteral("otherLineEdit"), 60);
    m_fault = new QPlainTextEdit;
    m_fault->setObjectName(QStringLiteral("faultTextEdit"));
    m_fault->setMaximumHeight(70);
    m_work = new QPlainTextEdit;
    m_work->setObjectName(QStringLiteral("workTextEdit"));
    int r = 0;
    const auto add = [&](const QString& text, QWidget* content) {
        grid->addWidget(label(text), r, 0);
        grid->addWidget(content, r++, 1);
    };
    add(QStringLiteral("Érkezett :"), row({m_started}));
    add(QStringLiteral("Befelyezve:"), row({m_finished}));
    add(QStringLiteral("Munkaórák száma:"), row({m_hours, label(QStringLiteral("óra"))}));
    add(QStringLiteral("Utazási idő:"), row({m_travelHours, label(QStringLiteral("óra"))}));
    add(QStringLiteral("Gépkocsi használat:"),
        row({m_kilometres, label(QStringLiteral("km")), m_plate, label(QStringLiteral("frsz."))}));
    add(QStringLiteral("Utazási költség:"), row({m_travelCost, label(QStringLiteral("Ft"))}));
    add(QStringLiteral("Szállás költség:"),
        row({m_lodgingCost, label(QStringLiteral("Ft")), label(QStringLiteral("megjegyzés:")), m_lodging}));
    add(QStringLiteral("Egyéb költség:"),
        row({m_otherCost, label(QStringLiteral("Ft")), label(QStringLiteral("megjegyzés:")), m_other}));
    add(QStringLiteral("A bejelentett hiba\n(max. 3 sor)"), m_fault);
    add(QStringLiteral("Tevékenység leírása"), m_work);
    grid->setRowStretch(r - 1, 1);
    return box;
}

QWidget* TMunkalapForm::buttonRow() {
    auto* w = new QWidget;
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    const auto add = [&](const QString& text, const QString& name, void (TMunkalapForm::*action)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, action] { (this->*action)(); });
        layout->addWidget(b);
    };
    add(QStringLiteral("Nyomtatás"), QStringLiteral("printPushButton"), &TMunkalapForm::print);
    add(QStringLiteral("Nyomtatási ké&p"), QStringLiteral("previewPushButton"), &TMunkalapForm::preview);
    add(QStringLiteral("Kilépés mentéssel"), QStringLiteral("savePushButton"), &TMunkalapForm::saveAndClose);
    add(QStringLiteral("&Kilépés"), QStringLiteral("closePushButton"), &TMunkalapForm::reject);
    return w;
}

void TMunkalapForm::showValues() {
    const WorksheetValues& v = m_editor.values();
    m_number->setText(m_editor.shownNumber());
    m_partner->setText((v.name.trimmed() + QLatin1Char(' ') + v.name2.trimmed()).trimmed());
    m_address->setText(
        QStringLiteral("%1 %2, %3").arg(v.postcode.trimmed(), v.town.trimmed(), v.address.trimmed()).trimmed());
    if (m_address->text() == QLatin1String(",")) m_address->clear();
    showDate(m_printDate, v.printDate);
    showDate(m_started, v.started);
    showDate(m_finished, v.finished);
    m_hours->setText(numberBoxText(v.hours));
    m_travelHours->setText(numberBoxText(v.travelHours));
    m_kilometres->setText(numberBoxText(v.kilometres));
    m_plate->setText(v.plate.trimmed());
    m_travelCost->setText(numberBoxText(v.travelCost));
    m_lodgingCost->setText(numberBoxText(v.lodgingCost));
    m_lodging->setText(v.lodging.trimmed());
    m_otherCost->setText(numberBoxText(v.otherCost));
    m_other->setText(v.other.trimmed());
    m_fault->setPlainText(v.fault);
    m_work->setPlainText(v.work);
}

bool TMunkalapForm::readValues() {
    WorksheetValues& v = m_editor.values();
    const std::pair<QLineEdit*, double*> numbers[] = {
        {m_hours, &v.hours},           {m_travelHours, &v.travelHours}, {m_kilometres, &v.kilometres},
        {m_travelCost, &v.travelCost}, {m_lodgingCost, &v.lodgingCost}, {m_otherCost, &v.otherCost}};
    for (const auto& [box, value] : numbers) {
        const std::optional<double> read = readNumberBox(box->text());
        if (!read) {
            m_prompt.warning(QStringLiteral("Figyelem!"),
                             QStringLiteral("Kérem, számot írjon ebbe a mezőbe: \"%1\".").arg(box->text()));
            box->setFocus();
            return false;
        }
        *value = *read;
    }
    v.printDate = readDate(m_printDate);
    v.started = readDate(m_started);
    v.finished = readDate(m_finished);
    v.plate = m_plate->text();
    v.lodging = m_lodging->text();
    v.other = m_other->text();
    v.fault = m_fault->toPlainText();
    v.work = m_work->toPlainText();
    return true;
}

void TMunkalapForm::run(const std::function<void()>& work) {
    runCommand(m_prompt, work);
}

void TMunkalapForm::pickPartner() {
    run([this] {
        if (!readValues() || !m_editor.pickPartner()) return;
        showValues();
        m_printDate->setFocus();
    });
}

void TMunkalapForm::print() {
    run([this] {
        if (readValues() && m_editor.printAndClose()) accept();
    });
}

void TMunkalapForm::saveAndClose() {
    run([this] {
        if (readValues() && m_editor.saveAndClose()) accept();
    });
}

void TMunkalapForm::preview() {
    run([this] {
        if (readValues()) m_editor.preview();
    });
}

void TMunkalapForm::reject() {
    bool leave = false;
    run([&] { leave = m_editor.leave(); });
    if (leave) QDialog::reject();
}

bool TMunkalapForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_partner) return QDialog::eventFilter(watched, event);
    if (widgets::opensPicker(event)) {
        pickPartner();
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        run([this] {
            if (readValues() && m_editor.repeatLastPartner()) showValues();
        });
    }
    return false;
}

}  // namespace kavina::documents
