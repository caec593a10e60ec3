#include "support/nav/NavSchema.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <cstdarg>

#include "foundation/RuleError.h"

namespace kavina::nav {

namespace {

void collect(void* context, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    static_cast<QStringList*>(context)->append(QString::fromUtf8(text).trimmed());
}

}  // namespace

struct NavSchema::Impl {
    xmlSchemaPtr schema = nullptr;
};

NavSchema::NavSchema(const QString& schemaFile) : m_impl(std::make_unique<Impl>()) {
    QStringList errors;
    const QByteArray path = schemaFile.toLocal8Bit();
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.constData());
    if (parser) {
        xmlSchemaSetParserErrors(parser, &collect, &collect, &errors);
        m_impl->schema = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
    }
    if (!m_impl->schema)
        throw RuleError(QStringLiteral("A séma nem olvasható: %1\n%2").arg(schemaFile, errors.join(QLatin1Char('\n'))));
}

NavSchema::~NavSchema() {
    if (m_impl->schema) xmlSchemaFree(m_impl->schema);
}

QStringList NavSchema::problems(const QByteArray& xml) const {
    QStringList errors;
    xmlDocPtr doc = xmlReadMemory(xml.constData(), static_cast<int>(xml.size()), "request.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) return {QStringLiteral("A szöveg nem XML.")};
    xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(m_impl->schema);
    xmlSchemaSetValidErrors(validator, &collect, &collect, &errors);
    const int result = xmlSchemaValidateDoc(validator, doc);
    xmlSchemaFreeValidCtxt(validator);
    xmlFreeDoc(doc);
    if (result != 0 && errors.isEmpty()) errors << QStringLiteral("A szöveg nem felel meg a sémának.");
    return errors;
}

}  // namespace kavina::nav
