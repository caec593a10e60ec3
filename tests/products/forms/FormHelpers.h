#pragma once
// What the product window tests do to a window: find a child by object name, make the window
// the active one, and save its picture into $KAVINA_SCREENSHOTS when that is set.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdlib>

namespace kavina::products::testing_forms {

template <typename T>
T* child(QWidget& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Shows the window and makes it the active one, as keys and focus need.
inline void activate(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
}

inline void picture(QWidget& w, const char* name) {
    w.show();
    QApplication::processEvents();
    if (const char* folder = std::getenv("KAVINA_SCREENSHOTS"))
        w.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
}

}  // namespace kavina::products::testing_forms
