#include "invoicing/print/TSzamlar.h"

#include <stdexcept>

#include "invoicing/document/MemoryDocument.h"
#include "invoicing/print/SzamlarRun.h"
#include "report/PagePainter.h"

namespace kavina {

const QString TSzamlar::kItalicNote = QStringLiteral("  (A dőlt betűs értékek 2 tizedesjegyre vannak kerekítve!) ");
const QString TSzamlar::kProgramLabel = QStringLiteral("Kavina 1.0 verzió");
const QString TSzamlar::kMakerAddress = QStringLiteral("www.kavina.hu");

namespace {

QChar typeOf(const RecordCursor& header) {
    const QString type = header.isEmpty() ? QString() : header.asString(fields::Szamla::SZAMLATIP).trimmed();
    return type.isEmpty() ? QChar(' ') : type.at(0);
}

}  // namespace

SzamlarRun::SzamlarRun(TSzamlar& owner, report::Layout& layout)
    : owner(owner),
      layout(layout),
      header(*owner.m_header),
      lines(*owner.m_lines),
      inMemory(owner.m_memory != nullptr),
      type(typeOf(header)),
      rules(printTypeRules(type)),
      zeroCase(nav::zeroRateCase(owner.m_env.dataFolder.toStdString())) {}

QString SzamlarRun::settingsText(const Field& field) const {
    const RecordCursor* settings = owner.m_env.settings;
    if (!settings || settings->isEmpty() || !settings->has(field)) return {};
    return settings->asString(field);
}

report::TextStyle SzamlarRun::lineStyle() const {
    return base.withSize(owner.m_env.bfont > 0 ? owner.m_env.bfont : 7);
}

double SzamlarRun::lineRowHeight() const {
    return report::textHeight(lineStyle(), QStringLiteral("Ág"), 100) + 0.8;
}

szamlar::Column SzamlarRun::quantityColumn() const {
    return owner.m_supplierOrderForm ? szamlar::kNetValue : szamlar::kQuantity;
}

szamlar::Column SzamlarRun::unitColumn() const {
    return owner.m_supplierOrderForm ? szamlar::kVatAmount : szamlar::kUnit;
}

szamlar::Column SzamlarRun::rateColumn() const {
    return owner.m_supplierOrderForm ? szamlar::kGrossValue : szamlar::kRate;
}

TSzamlar::TSzamlar(TSzamlarEnvironment environment) : m_env(std::move(environment)) {}

TSzamlar::~TSzamlar() = default;

void TSzamlar::useStoredDocument(RecordCursor& header, RecordCursor& lines) {
    m_header = &header;
    m_lines = &lines;
    m_memory = nullptr;
}

void TSzamlar::useMemoryDocument(MemoryDocument& document) {
    m_header = &document.mszamla;
    m_lines = &document.mszamla2;
    m_memory = &document;
}

void TSzamlar::setUp(SalesMode mode) {
    m_numberCaption = QStringLiteral("Számla száma");
    m_issueDateCaption = QStringLiteral("Számla kelte");
    m_footerField = fields::User::LABSZAMLA;
    m_cashLayout = false;
    m_numberAsField = false;
    switch (mode) {
        case SalesMode::Invoice: m_title = QStringLiteral("SZÁMLA "); break;
        case SalesMode::Corrective: m_title = QStringLiteral("HELYESBÍTŐ SZÁMLA "); break;
        case SalesMode::Proforma: m_title = QStringLiteral("PROFORMA SZÁMLA "); break;
        case SalesMode::CashSale:
        case SalesMode::Scrap:
            m_title = mode == SalesMode::CashSale ? QStringLiteral("Pénztárgépes értékesítés ")
                                                  : QStringLiteral("Selejtezési jegyzőkönyv ");
            m_copyLabel.clear();
            m_footerField.reset();
            m_cashLayout = true;
            m_numberAsField = mode == SalesMode::Scrap;
            break;
    }
}

report::PreparedReport TSzamlar::prepare() {
    if (!m_header || !m_lines) throw std::logic_error("TSzamlar: no document to print");
    report::Layout layout;
    layout.setSource(m_lines);
    SzamlarRun run(*this, layout);
    buildPageHeader(run);
    buildColumnHeader(run);
    buildLines(run);
    buildSummary(run);
    buildRemark(run);
    buildPageFooter(run);
    report::PreparedReport prepared = layout.prepare();
    m_italicFlag = run.italic;
    return prepared;
}

}  // namespace kavina
