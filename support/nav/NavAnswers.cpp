#include "support/nav/NavAnswers.h"

#include <QHash>
#include <QXmlStreamReader>
#include <memory>

namespace kavina::nav {

namespace {

// A read answer: elements by local name with their text; namespaces are checked against the
// authority's own, so a foreign element of the same name is not taken for one of theirs.
struct Node {
    QString name;
    QString text;
    std::vector<std::unique_ptr<Node>> children;

    const Node* child(const QString& n) const {
        for (const auto& c : children)
            if (c->name == n) return c.get();
        return nullptr;
    }
    std::vector<const Node*> all(const QString& n) const {
        std::vector<const Node*> out;
        for (const auto& c : children)
            if (c->name == n) out.push_back(c.get());
        return out;
    }
    QString value(const QString& n) const {
        const Node* c = child(n);
        return c ? c->text.trimmed() : QString();
    }
    // The first element of this name anywhere below.
    const Node* find(const QString& n) const {
        for (const auto& c : children) {
            if (c->name == n) return c.get();
            if (const Node* f = c->find(n)) return f;
        }
        return nullptr;
    }
};

bool authorityNamespace(QStringView ns) {
    return ns.startsWith(u"http://schemas.nav.gov.hu/");
}

std::unique_ptr<Node> parse(const QByteArray& answer) {
    QXmlStreamReader xml(answer);
    auto root = std::make_unique<Node>();
    std::vector<Node*> stack{root.get()};
    int foreignDepth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (foreignDepth > 0 || !authorityNamespace(xml.namespaceUri())) {
                ++foreignDepth;
                continue;
            }
            auto node = std::make_unique<Node>();
            node->name = xml.name().toString();
            Node* raw = node.get();
            stack.back()->children.push_back(std::move(node));
            stack.push_back(raw);
        } else if (xml.isEndElement()) {
            if (foreignDepth > 0)
                --foreignDepth;
            else if (stack.size() > 1)
                stack.pop_back();
        } else if (xml.isCharacters() && foreignDepth == 0) {
            stack.back()->text += xml.text();
        }
    }
    if (xml.hasError() || root->children.empty()) return nullptr;
    return root;
}

QStringList validationMessages(const Node& parent, const QString& element) {
    QStringList out;
    for (const Node* m : parent.all(element)) {
        const QString code = m->value(QStringLiteral("validationErrorCode"));
        const QString text = hungarianMessage(code, m->value(QStringLiteral("message")));
        const QString level = m->value(QStringLiteral("validationResultCode"));
        out << (level == QLatin1String("WARN") ? QStringLiteral("Figyelmeztetés: ") : QStringLiteral("Hiba: ")) + text;
    }
    return out;
}

NavResult readResultOf(const Node* doc) {
    NavResult r;
    if (!doc) {
        r.funcCode = QStringLiteral("ERROR");
        r.message = QStringLiteral("A NAV válasza nem olvasható.");
        return r;
    }
    const Node* top = doc->children.front().get();
    const Node* result = top->find(QStringLiteral("result"));
    if (!result) {
        r.funcCode = QStringLiteral("ERROR");
        r.message = QStringLiteral("A NAV válaszából hiányzik az eredmény.");
        return r;
    }
    r.funcCode = result->value(QStringLiteral("funcCode"));
    r.errorCode = result->value(QStringLiteral("errorCode"));
    r.message = result->value(QStringLiteral("message"));
    r.ok = r.funcCode == QLatin1String("OK");
    r.details << validationMessages(*top, QStringLiteral("schemaValidationMessages"))
              << validationMessages(*top, QStringLiteral("technicalValidationMessages"));
    return r;
}

const Node* topOf(const std::unique_ptr<Node>& doc) {
    return doc ? doc->children.front().get() : nullptr;
}

}  // namespace

QString NavResult::text() const {
    QString t = ok ? QStringLiteral("Rendben.") : hungarianMessage(errorCode, message);
    if (!details.isEmpty()) t += QLatin1Char('\n') + details.join(QLatin1Char('\n'));
    return t;
}

QString hungarianMessage(const QString& code, const QString& authorityText) {
    static const QHash<QString, QString> known{
        {QStringLiteral("INVALID_SECURITY_USER"), QStringLiteral("Hibás technikai felhasználó vagy jelszó.")},
        {QStringLiteral("NOT_REGISTERED_CUSTOMER"),
         QStringLiteral("Az adószám nincs regisztrálva az Online Számla rendszerben.")},
        {QStringLiteral("INVALID_USER_RELATION"),
         QStringLiteral("A technikai felhasználó nem ehhez az adószámhoz tartozik.")},
        {QStringLiteral("FORBIDDEN"), QStringLiteral("A technikai felhasználónak nincs joga a művelethez.")},
        {QStringLiteral("INVALID_REQUEST_SIGNATURE"),
         QStringLiteral("Hibás a kérés aláírása: ellenőrizze az aláírókulcsot.")},
        {QStringLiteral("INVALID_EXCHANGE_TOKEN"), QStringLiteral("A cseretoken érvénytelen vagy lejárt.")},
        {QStringLiteral("INVALID_REQUEST"), QStringLiteral("A NAV hibásnak találta a kérést.")},
        {QStringLiteral("SCHEMA_VIOLATION"), QStringLiteral("A kérés nem felel meg a NAV sémájának.")},
        {QStringLiteral("REQUEST_ID_NOT_UNIQUE"), QStringLiteral("A kérés azonosítója már szerepelt.")},
        {QStringLiteral("INVALID_TIMESTAMP"),
         QStringLiteral("A gép órája nem pontos: a kérés időpontját a NAV elutasította.")},
        {QStringLiteral("OPERATION_FAILED"),
         QStringLiteral("A NAV rendszere átmenetileg nem tudta feldolgozni a kérést.")},
        {QStringLiteral("MAINTENANCE_MODE"), QStringLiteral("A NAV rendszere karbantartás alatt áll.")},
        {QStringLiteral("INVOICE_NUMBER_NOT_UNIQUE"),
         QStringLiteral("Ez a számlaszám már szerepel a NAV rendszerében.")},
        {QStringLiteral("INVALID_INVOICE_REFERENCE"),
         QStringLiteral("A módosított alapszámla nem található a NAV rendszerében.")},
        {QStringLiteral("INCORRECT_VAT_CODE"), QStringLiteral("Hibás ÁFA-kód az adószámban.")},
        {QStringLiteral("TAX_NUMBER_NOT_FOUND"), QStringLiteral("Nincs ilyen adószám.")},
        {QStringLiteral("INVALID_TAX_NUMBER"), QStringLiteral("Hibás adószám.")},
    };
    QString text = known.value(code);
    if (text.isEmpty())
        text =
            code.isEmpty() ? QStringLiteral("A NAV hibát jelzett.") : QStringLiteral("A NAV hibakódja: %1.").arg(code);
    if (!authorityText.isEmpty()) text += QStringLiteral(" (%1)").arg(authorityText);
    return text;
}

NavResult readResult(const QByteArray& answer) {
    return readResultOf(parse(answer).get());
}

TokenAnswer readTokenExchange(const QByteArray& answer) {
    const auto doc = parse(answer);
    TokenAnswer a{readResultOf(doc.get()), {}};
    if (a.result.ok) a.encodedToken = topOf(doc)->value(QStringLiteral("encodedExchangeToken")).toLatin1();
    return a;
}

ManageAnswer readManageInvoice(const QByteArray& answer) {
    const auto doc = parse(answer);
    ManageAnswer a{readResultOf(doc.get()), {}};
    if (a.result.ok) a.transactionId = topOf(doc)->value(QStringLiteral("transactionId"));
    return a;
}

StatusAnswer readTransactionStatus(const QByteArray& answer) {
    const auto doc = parse(answer);
    StatusAnswer a{readResultOf(doc.get()), {}};
    if (!a.result.ok) return a;
    const Node* list = topOf(doc)->find(QStringLiteral("processingResults"));
    if (!list) return a;
    for (const Node* p : list->all(QStringLiteral("processingResult"))) {
        ProcessingResult r;
        r.index = p->value(QStringLiteral("index")).toInt();
        r.status = p->value(QStringLiteral("invoiceStatus"));
        r.messages << validationMessages(*p, QStringLiteral("technicalValidationMessages"))
                   << validationMessages(*p, QStringLiteral("businessValidationMessages"));
        for (const QString& m : r.messages)
            if (m.startsWith(QStringLiteral("Figyelmeztetés"))) r.hasWarnings = true;
        a.processing.push_back(r);
    }
    return a;
}

TransactionListAnswer readTransactionList(const QByteArray& answer) {
    const auto doc = parse(answer);
    TransactionListAnswer a;
    a.result = readResultOf(doc.get());
    if (!a.result.ok) return a;
    const Node* list = topOf(doc)->find(QStringLiteral("transactionListResult"));
    if (!list) return a;
    a.currentPage = list->value(QStringLiteral("currentPage")).toInt();
    a.availablePage = list->value(QStringLiteral("availablePage")).toInt();
    for (const Node* t : list->all(QStringLiteral("transaction"))) {
        TransactionListAnswer::Transaction tr;
        tr.transactionId = t->value(QStringLiteral("transactionId"));
        tr.insDate = QDateTime::fromString(t->value(QStringLiteral("insDate")), Qt::ISODateWithMs);
        tr.requestStatus = t->value(QStringLiteral("requestStatus"));
        tr.user = t->value(QStringLiteral("insCusUser"));
        tr.itemCount = t->value(QStringLiteral("itemCount")).toInt();
        a.transactions.push_back(tr);
    }
    return a;
}

InvoiceCheckAnswer readInvoiceCheck(const QByteArray& answer) {
    const auto doc = parse(answer);
    InvoiceCheckAnswer a{readResultOf(doc.get()), false};
    if (a.result.ok) a.exists = topOf(doc)->value(QStringLiteral("invoiceCheckResult")) == QLatin1String("true");
    return a;
}

TaxpayerAnswer readTaxpayer(const QByteArray& answer) {
    const auto doc = parse(answer);
    TaxpayerAnswer a;
    a.result = readResultOf(doc.get());
    if (!a.result.ok) return a;
    const Node* top = topOf(doc);
    a.valid = top->value(QStringLiteral("taxpayerValidity")) != QLatin1String("false");
    const Node* data = top->child(QStringLiteral("taxpayerData"));
    if (!data) return a;
    a.name = data->value(QStringLiteral("taxpayerName"));
    a.shortName = data->value(QStringLiteral("taxpayerShortName"));
    const Node* list = data->child(QStringLiteral("taxpayerAddressList"));
    const Node* chosen = nullptr;
    if (list) {
        for (const Node* item : list->all(QStringLiteral("taxpayerAddressItem"))) {
            // The seat is the partner's address; a site or branch only when no seat is given.
            if (!chosen || item->value(QStringLiteral("taxpayerAddressType")) == QLatin1String("HQ")) chosen = item;
        }
    }
    if (const Node* address = chosen ? chosen->child(QStringLiteral("taxpayerAddress")) : nullptr) {
        a.postalCode = address->value(QStringLiteral("postalCode"));
        a.city = address->value(QStringLiteral("city"));
        // A house number is written with a full stop after it, as on Hungarian envelopes.
        QString number = address->value(QStringLiteral("number"));
        if (!number.isEmpty() && number.back().isDigit()) number += QLatin1Char('.');
        QStringList street{address->value(QStringLiteral("streetName")),
                           address->value(QStringLiteral("publicPlaceCategory")), number};
        QString line = street.join(QLatin1Char(' ')).simplified();
        const QString building = address->value(QStringLiteral("building"));
        if (!building.isEmpty()) line += QStringLiteral(" %1. épület").arg(building);
        const QString staircase = address->value(QStringLiteral("staircase"));
        if (!staircase.isEmpty()) line += QStringLiteral(" %1. lépcsőház").arg(staircase);
        const QString floor = address->value(QStringLiteral("floor"));
        if (!floor.isEmpty()) line += QStringLiteral(" %1. emelet").arg(floor);
        const QString door = address->value(QStringLiteral("door"));
        if (!door.isEmpty()) line += QStringLiteral(" %1. ajtó").arg(door);
        a.street = line;
    }
    return a;
}

}  // namespace kavina::nav
