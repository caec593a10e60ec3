// Boxes refuse what would be lost: letters the tables cannot hold and numbers over the limit,
// each with its warning, typed letter by letter as a clerk would.

#include "foundation/forms/InputGuards.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "common/ScriptedPrompt.h"

namespace kavina {
namespace {

// QTest::keyClicks handles ASCII only; every letter goes in as its own key event.
void type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCoreApplication::processEvents();
}

void paste(QWidget* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
}

TEST(InputGuardsTest, ATextBoxRefusesALetterTheTablesCannotHold) {
    ScriptedPrompt prompt;
    QLineEdit box;
    guardInputBoxes(&box, prompt);
    type(&box, QStringLiteral("señor"));
    EXPECT_EQ(box.text(), "seor");
    paste(&box, QStringLiteral(" Ñandú"));
    EXPECT_EQ(box.text(), "seor");
    type(&box, QStringLiteral(" Győző"));
    EXPECT_EQ(box.text(), "seor Győző");
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|Ezt a betűt az adatbázis nem tudja tárolni: ñ\nKérem, javítsa a "
                           "szöveget: „señ”",
                           "message|warning|Figyelem!|Ezt a betűt az adatbázis nem tudja tárolni: Ñ\nKérem, javítsa a "
                           "szöveget: „seor Ñandú”"}));
}

TEST(InputGuardsTest, ANumberBoxRefusesAValueAboveItsLimitInsteadOfCuttingIt) {
    ScriptedPrompt prompt;
    QSpinBox discount;
    discount.setRange(0, 100);
    discount.setSuffix(QStringLiteral(" %"));
    guardInputBoxes(&discount, prompt);
    discount.selectAll();
    type(&discount, QStringLiteral("150"));
    EXPECT_EQ(discount.value(), 15);
    type(&discount, QStringLiteral("\b\b"));
    discount.selectAll();
    type(&discount, QStringLiteral("100"));
    EXPECT_EQ(discount.value(), 100);

    QDoubleSpinBox multiplier;
    multiplier.setLocale(QLocale(QLocale::Hungarian, QLocale::Hungary));
    multiplier.setRange(-10, 99.5);
    guardInputBoxes(&multiplier, prompt);
    multiplier.selectAll();
    type(&multiplier, QStringLiteral("99,7"));
    multiplier.selectAll();
    type(&multiplier, QStringLiteral("-12"));
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|A beírt érték (150) túl nagy: legfeljebb 100 lehet!",
                           "message|warning|Figyelem!|A beírt érték (99,7) túl nagy: legfeljebb 99,5 lehet!",
                           "message|warning|Figyelem!|A beírt érték (-12) túl kicsi: legalább -10 lehet!"}));
    EXPECT_DOUBLE_EQ(multiplier.value(), -1) << "the refused digit is not taken";
}

}  // namespace
}  // namespace kavina
