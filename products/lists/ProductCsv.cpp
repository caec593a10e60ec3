#include "products/lists/ProductCsv.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;

QString numberField(const RecordCursor& p, const Field& field) {
    return p.isNull(field) ? QString() : numberBoxText(p.asFloat(field));
}

QString line(const RecordCursor& p) {
    const QStringList fields{csvField(p.asString(A::MEGNEVEZES)),
                             csvField(p.asString(A::KATEGORIA)),
                             csvField(p.asString(A::CIKKSZAM)),
                             csvField(p.asString(A::ITJSZAM)),
                             numberField(p, A::MENNYISEG),
                             csvField(p.asString(A::EGYSEG)),
                             numberField(p, A::MINMENNY),
                             numberField(p, A::BESZERZAR),
                             numberField(p, A::AR1),
                             numberField(p, A::AR2),
                             numberField(p, A::AR3),
                             numberField(p, A::FIXAR),
                             numberField(p, A::AFAKULCS)};
    return fields.join(QLatin1Char(';'));
}

}  // namespace

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray productCsv(RecordCursor& products) {
    QString text = kCsvHeader + QStringLiteral("\r\n");
    const CursorMark at = products.bookmark();
    for (products.first(); !products.eof(); products.next()) text += line(products) + QStringLiteral("\r\n");
    products.gotoBookmark(at);
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

bool exportProductCsv(RecordCursor& products, Prompt& prompt) {
    const std::optional<QString> chosen =
        prompt.chooseFile({.caption = QStringLiteral("Exportálás csv fájlba"),
                           .filter = QStringLiteral("Csv fájl (pontosvesszővel tagolt) (*.csv)"),
                           .save = true,
                           .fileName = QStringLiteral("termekek.csv")});
    if (!chosen) return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    const QByteArray bytes = productCsv(products);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        prompt.warning(QStringLiteral("Figyelem!"),
                       QStringLiteral("A fájl nem írható: ") + path + QStringLiteral(" (") + file.errorString() + ')');
        return false;
    }
    return true;
}

}  // namespace kavina::products
