#pragma once
// What the document's type code (SZAMLATIP) changes on the printed page: the captions of the
// seller and buyer boxes, the copy label, whether the serial label shows, and whether the
// payment method and the two dates print or are replaced by dashes (supplier orders).
#include <QChar>
#include <QString>

namespace kavina {

struct PrintTypeRules {
    QString sellerCaption;
    QString buyerCaption;
    bool serialShown = true;
    bool datesShown = true;

    // The copy label printed for the label the caller set.
    QString copyLabel(const QString& setLabel) const;

    enum class CopyLabel { Empty, AsSet, Corrective };
    CopyLabel copyLabelRule = CopyLabel::AsSet;
};

inline const QString kDefaultSellerCaption = QStringLiteral("Az eladó adatai ");
inline const QString kDefaultBuyerCaption = QStringLiteral(" A vevő adatai ");
inline const QString kNotApplicable = QStringLiteral("-------");

PrintTypeRules printTypeRules(QChar type);

}  // namespace kavina
