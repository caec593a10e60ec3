#include "invoicing/navdata/InvoiceDataSchema.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <stdexcept>

// Resources are initialised outside any namespace.
static void initNavSchemas() {
    Q_INIT_RESOURCE(NavSchemas);
}

namespace kavina::nav {

namespace {

void collect(void* context, const char* format, ...) {
    va_list args;
    va_start(args, format);
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    static_cast<QStringList*>(context)->append(QString::fromUtf8(buffer).trimmed());
}

void collectStructured(void* context, xmlErrorPtr error) {
    if (!error) return;
    static_cast<QStringList*>(context)->append(
        QStringLiteral("%1: %2").arg(error->line).arg(QString::fromUtf8(error->message).trimmed()));
}

struct Schema {
    xmlSchemaPtr schema = nullptr;
    QString failure;
};

// The schemas are copied out of the program's resources so that libxml2 finds the files the
// main schema imports beside it.
Schema loadSchema() {
    initNavSchemas();
    Schema result;
    QTemporaryDir dir;
    if (!dir.isValid()) {
        result.failure = QStringLiteral("no temporary folder for the invoice data schemas");
        return result;
    }
    for (const char* name : {"invoiceData.xsd", "invoiceBase.xsd", "common.xsd"}) {
        QFile from(QStringLiteral(":/kavina/nav/") + QLatin1String(name));
        QFile to(dir.filePath(QLatin1String(name)));
        if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly) || to.write(from.readAll()) < 0) {
            result.failure = QStringLiteral("cannot copy the schema ") + QLatin1String(name);
            return result;
        }
    }
    QStringList messages;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(dir.filePath(QStringLiteral("invoiceData.xsd")).toUtf8());
    xmlSchemaSetParserErrors(parser, collect, collect, &messages);
    result.schema = xmlSchemaParse(parser);
    xmlSchemaFreeParserCtxt(parser);
    if (!result.schema) result.failure = messages.join(QLatin1Char('\n'));
    return result;
}

const Schema& schema() {
    static const Schema loaded = loadSchema();
    return loaded;
}

}  // namespace

std::optional<QString> schemaErrors(const QByteArray& xml) {
    const Schema& s = schema();
    if (!s.schema) throw std::runtime_error("the invoice data schemas cannot be loaded: " + s.failure.toStdString());
    QStringList messages;
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(xmlReadMemory(xml.constData(), int(xml.size()), "invoiceData.xml",
                                                                   "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR),
                                                     xmlFreeDoc);
    if (!doc) return QStringLiteral("Az XML nem olvasható.");
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(s.schema);
    xmlSchemaSetValidStructuredErrors(validator, collectStructured, &messages);
    const int result = xmlSchemaValidateDoc(validator, doc.get());
    xmlSchemaFreeValidCtxt(validator);
    if (result == 0) return std::nullopt;
    if (messages.isEmpty()) messages << QStringLiteral("ismeretlen hiba");
    return messages.join(QLatin1Char('\n'));
}

}  // namespace kavina::nav
