// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace vantok::test
{

// Replaces a box's text as a user does: select all, then type, or delete when `text` is empty.
inline void typeInto(QWidget *box, const QString &text)
{
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

}  // namespace vantok::test
