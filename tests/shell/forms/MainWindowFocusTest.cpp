// Focus highlighting: which controls turn yellow when focused, which give their colour back,
// and the program-wide hook that does it in every window while the main window exists.

#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "MainWindowTestSupport.h"
#include "shell/mainwindow/forms/MainWindowFocus.h"
#include "shell/mainwindow/forms/MainWindowIdleLock.h"

namespace kavina::shell::testing {
namespace {

QColor base(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}

const QColor kYellow(Qt::yellow);

struct Form {
    QDialog dialog;
    QLineEdit* name = new QLineEdit(&dialog);
    QLineEdit* shown = new QLineEdit(&dialog);
    QSpinBox* copies = new QSpinBox(&dialog);
    QComboBox* list = new QComboBox(&dialog);
    QComboBox* editableList = new QComboBox(&dialog);
    QLineEdit* marked = new QLineEdit(&dialog);
    QTableView* grid = new QTableView(&dialog);

    Form() {
        auto* layout = new QVBoxLayout(&dialog);
        for (QWidget* w : std::initializer_list<QWidget*>{name, shown, copies, list, editableList, marked, grid})
            layout->addWidget(w);
        shown->setReadOnly(true);
        editableList->setEditable(true);
        QPalette red = marked->palette();
        red.setColor(QPalette::Base, Qt::red);
        marked->setPalette(red);
    }
};

TEST(FocusColourTest, EditBoxesThatCanBeTypedIntoTurnYellowAndGiveTheirColourBack) {
    Form form;
    EXPECT_TRUE(takesFocusColour(form.name));
    EXPECT_TRUE(takesFocusColour(form.copies));
    EXPECT_TRUE(takesFocusColour(form.editableList));
    EXPECT_FALSE(takesFocusColour(form.shown)) << "read-only";
    EXPECT_FALSE(takesFocusColour(form.list)) << "nothing to type into";
    EXPECT_FALSE(takesFocusColour(form.grid));

    const QColor plain = base(form.name);
    moveFocusColour(nullptr, form.name);
    EXPECT_EQ(base(form.name), kYellow);
    moveFocusColour(form.name, form.copies);
    EXPECT_EQ(base(form.name), plain);
    EXPECT_EQ(base(form.copies), kYellow);
    moveFocusColour(form.copies, form.shown);
    EXPECT_EQ(base(form.copies), plain);
    EXPECT_NE(base(form.shown), kYellow);

    moveFocusColour(form.shown, form.marked);
    EXPECT_EQ(base(form.marked), QColor(Qt::red)) << "a box its window coloured keeps its colour";
    moveFocusColour(form.marked, nullptr);
    EXPECT_EQ(base(form.marked), QColor(Qt::red));
}

TEST(FocusColourTest, TheColourLeavesABoxWhoseFocusChangeWasMissedAndSurvivesItsWindowGoing) {
    Form form;
    const QColor plain = base(form.name);
    moveFocusColour(nullptr, form.name);
    // The move away from "name" was not seen (the hook was off): the next move still clears it.
    moveFocusColour(nullptr, form.copies);
    EXPECT_EQ(base(form.name), plain);
    EXPECT_EQ(base(form.copies), kYellow);
    {
        Form closing;
        moveFocusColour(form.copies, closing.name);
    }
    // The coloured box went with its window; the next move must not touch it.
    moveFocusColour(nullptr, form.name);
    EXPECT_EQ(base(form.name), kYellow);
    EXPECT_EQ(base(form.copies), plain);
}

TEST_F(MainWindowTest, TheFocusHookColoursEveryWindowAndRestartsTheIdleCount) {
    ini.jelszokeres = 5;
    TForm1& w = makeWindow();
    w.show();
    auto* idle = w.findChild<MainWindowIdleLock*>("idleLock");
    for (int s = 0; s < 10; ++s) idle->tick();
    ASSERT_EQ(idle->idleSeconds(), 10);

    Form form;
    form.dialog.show();
    form.dialog.activateWindow();
    form.name->setFocus();
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(QApplication::focusWidget(), form.name) << "the platform gives no focus";
    EXPECT_EQ(base(form.name), kYellow);
    EXPECT_LT(idle->idleSeconds(), 10);
    EXPECT_TRUE(idle->counting());

    w.detachHooks();
    form.copies->setFocus();
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_NE(base(form.copies), kYellow);
}

}  // namespace
}  // namespace kavina::shell::testing
