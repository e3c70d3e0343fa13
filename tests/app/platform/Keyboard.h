#pragma once
// The user at a text box: clicks into it, types over what it holds, clicks
// elsewhere.
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// The click gives the box the keyboard focus.
inline void ClickInto(QLineEdit* box) {
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(box->hasFocus());
}

// Replaces all the box holds, key by key.
inline void TypeOver(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// Clicks into the box (the focus not asked for: keys go to the box itself)
// and types over what it holds.
inline void TypeInto(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    TypeOver(box, text);
}

// A click on another widget takes the focus from the box.
inline void ClickAway(QLineEdit* box, QWidget* elsewhere) {
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    ASSERT_FALSE(box->hasFocus());
}
