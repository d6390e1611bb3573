#pragma once
// Helpers shared by the edit control tests: readable texts in failures and a
// shown, active form that holds the fields.

#include "tests/QtPrint.h"
#include "tests/Separators.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace tensim {

// A form with a plain line edit below the fields under test, to take the focus.
class TestForm {
public:
    TestForm()
    {
        other = new QLineEdit(&form);
        other->setGeometry(10, 200, 100, 24);
        form.resize(400, 260);
    }
    // Shows the form and makes it the active window, so that focus changes
    // reach the fields.
    bool Activate()
    {
        form.show();
        QApplication::setActiveWindow(&form);
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }

    QWidget form;
    QLineEdit* other;
};

} // namespace tensim
