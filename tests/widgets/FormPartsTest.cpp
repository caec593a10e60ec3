// The shared window parts: which events on a partner box open the picker, and a date box that
// may stay empty.

#include "widgets/FormParts.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kavina::widgets {
namespace {

TEST(FormPartsTest, ALeftClickOrATypedKeyOpensThePickerButEnterEscAndTabDoNot) {
    const auto key = [](int k) { return QKeyEvent(QEvent::KeyPress, k, Qt::NoModifier); };
    for (int k : {int(Qt::Key_A), int(Qt::Key_5), int(Qt::Key_Space), int(Qt::Key_Backspace)}) {
        const QKeyEvent e = key(k);
        EXPECT_TRUE(opensPicker(&e)) << k;
    }
    for (int k :
         {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape), int(Qt::Key_Tab), int(Qt::Key_Backtab)}) {
        const QKeyEvent e = key(k);
        EXPECT_FALSE(opensPicker(&e)) << k;
    }
    const QPointF at(1, 1);
    const QMouseEvent left(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    const QMouseEvent right(QEvent::MouseButtonRelease, at, at, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_TRUE(opensPicker(&left));
    EXPECT_FALSE(opensPicker(&right));
    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(opensPicker(&release));
}

TEST(FormPartsTest, AnEmptiableDateBoxShowsItsLowestDateBlank) {
    QDateEdit* box = dateBox("d", true);
    box->setDate(kNoDate);
    EXPECT_EQ(box->text(), " ");
    box->setDate(QDate(2008, 3, 10));
    EXPECT_EQ(box->text(), "2008.03.10");
    delete box;
}

}  // namespace
}  // namespace kavina::widgets
